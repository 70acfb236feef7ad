#pragma once
// File > Print, Print preview and Save as PDF: the channel list as the grid shows it and the
// function settings as their pages show them, under a heading with the program, the file, the
// date and the band ranges. The pages are painted by common/ui/TablePrinting.
#include "codeplug/ui/FileCommandWindow.h"
#include "common/ui/TablePrinting.h"
#include <QObject>
#include <functional>

class CodeplugDocument;
class QTableView;
class QWidget;

class CodeplugPrinting : public QObject
{
    Q_OBJECT
public:
    // window: the main window (its title and setting controls); grid: the channel grid.
    CodeplugPrinting(QWidget *window, QTableView *grid, CodeplugDocument *doc, FileCommandWindow folders,
                     QObject *parent = nullptr);

    // The file dialog of Save as PDF; tests set one that returns a path (empty: cancelled).
    using FileChooser = std::function<QString(QWidget *parent)>;
    void setPdfFileChooser(FileChooser chooser) { m_pdfChooser = std::move(chooser); }
    using Notifier = std::function<void(const QString &text)>;
    void setNotifier(Notifier n) { m_notifier = std::move(n); }

    // What the pages hold, as the window shows it now.
    PrintDocument document() const;
    // Writes the pages as a PDF file; a failure is noticed with the file and the reason.
    bool savePdfTo(const QString &path);

public slots:
    void print();
    void preview();
    void savePdf();

private:
    QString title() const;
    void notify(const QString &text);

    QWidget *m_window;
    QTableView *m_grid;
    CodeplugDocument *m_doc;
    FileCommandWindow m_folders;
    FileChooser m_pdfChooser;
    Notifier m_notifier;
};
