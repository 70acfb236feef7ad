#pragma once
// The running program on a throw-away application directory, for tests that go through the
// main window's commands; its notices are collected and every file dialog is answered with
// fileToOpen (empty: cancelled).
#include "FilesFixture.h"

#include "../frame/FrameFixture.h"

#include "files/CProgramDoc.h"
#include "files/ui/DocumentCommands.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/ProgramApp.h"
#include "model/ui/CProgramView.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

struct Program {
    AppDirFixture dir;
    ProgramApp app;
    QStringList messages;
    QString fileToOpen;      // answer of every file dialog
    QList<DocumentCommands::FileDialog> fileDialogs; // the dialogs asked for
    QStringList fileDialogStarts;                    // the file or folder each offered

    explicit Program(const QStringList &args = {})
    {
        app.showMessage = [this](const QString &, const QString &text) { messages << text; };
        ok = app.initInstance(QStringList{QStringLiteral("Program")} + args, dir.path());
        if (!ok)
            return;
        app.mainFrame()->showMessage = [this](const QString &text) { messages << text; };
        app.documentCommands()->showMessage = [this](const QString &text) { messages << text; };
        app.documentCommands()->askFileName = [this](DocumentCommands::FileDialog dialog, const QString &start) {
            fileDialogs << dialog;
            fileDialogStarts << start;
            return fileToOpen;
        };
    }
    ~Program()
    {
        if (ok)
            app.exitInstance();
    }
    bool ok = false;

    CProgramView *view() const { return app.view(); }
    CProgramDoc *document() const { return app.document(); }
    // The document's image as bytes.
    QByteArray image() const { return app.document()->imageBytes(); }
    // Puts bytes into the image as one step named `label`; false when nothing changed.
    bool changeImage(const QString &label, const QByteArray &bytes) const
    {
        CProgramDoc *doc = app.document();
        return doc->change(label, [doc, &bytes] {
            doc->editImage([&bytes](ImageBytes &image) { copyIntoImage(image, bytes); });
        });
    }
    void trigger(int command) { app.mainFrame()->action(command)->trigger(); }
    QStringList row(int n) const
    {
        QStringList texts;
        for (int c = 1; c <= 9; ++c)
            texts << view()->cellText(n, c);
        return texts;
    }
    QComboBox *modelSelector() const { return view()->findChild<QComboBox *>(QStringLiteral("modelSelector")); }
    void clickDefaultFactory() const
    {
        view()->findChild<QPushButton *>(QStringLiteral("defaultFactoryButton"))->click();
    }
};
