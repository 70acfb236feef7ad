#include "TestRegistry.h"

#include "../frame/FrameFixture.h"

#include "base/ResourceLibrary.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/ProgramApp.h"
#include "base/Globals.h"
#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/ui/CProgramView.h"

#include <QAction>
#include <QTest>

// The application puts the channel view into its main window and shows the start-up document.
class TestViewStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        LanguageIndex = LanguageEnglish;
        installResources(builtInResources());
    }

    void newDocumentIsShown()
    {
        AppDirFixture fx(QStringLiteral("[Setup]\nLanguage=Chs\nCOM=COM1\n"));
        ProgramApp app;
        app.showMessage = [](const QString &, const QString &text) { QFAIL(qPrintable(text)); };
        QVERIFY(app.initInstance({QStringLiteral("Program")}, fx.path()));
        CProgramView *view = app.view();
        QVERIFY(view);
        QCOMPARE(app.mainFrame()->centralWidget(), static_cast<QWidget *>(view));
        QCOMPARE(view->cellText(0, 1), QStringLiteral("接收频率"));
        QCOMPARE(view->modelText(), QStringLiteral("KVT270U01"));
        QVERIFY(view->cellText(1, 1).isEmpty());
        // The frame was fitted to the form, never made larger than it was.
        QVERIFY(app.mainFrame()->width() <= 800);
        QVERIFY(app.mainFrame()->width() >= view->sizeHint().width());
        const QString shots = qEnvironmentVariable("PROGRAM_SHOTS_DIR");
        if (!shots.isEmpty())
            app.mainFrame()->grab().save(shots + QStringLiteral("/program-frame-chs.png"));
        app.exitInstance();
    }

    void fileOnCommandLineIsShown()
    {
        AppDirFixture fx;
        ImageBytes image;
        NewImage(image);
        ChannelTexts t = newChannelTexts(QStringLiteral("150.02500"));
        t.name = QStringLiteral("BASE");
        StoreChannel(image, 7, t);
        image[ImageMap::ModelIndex] = 1;
        fx.writeFile(QStringLiteral("start.sin"), toByteArray(image));
        ProgramApp app;
        app.showMessage = [](const QString &, const QString &text) { QFAIL(qPrintable(text)); };
        QVERIFY(app.initInstance({QStringLiteral("Program"), fx.filePath(QStringLiteral("start.sin"))}, fx.path()));
        CProgramView *view = app.view();
        QCOMPARE(view->modelText(), QStringLiteral("KVT270V01"));
        QCOMPARE(view->cellText(7, 1), QStringLiteral("150.02500"));
        QCOMPARE(view->cellText(7, 9), QStringLiteral("BASE"));
        app.exitInstance();
    }
};

REGISTER_TEST(TestViewStartup)
#include "tst_viewstartup.moc"
