#include "FrameFixture.h"
#include "SmallDisk.h"
#include "TestRegistry.h"
#include <QLocale>
#include <QDir>
#include <QStandardPaths>
#include "common/InstalledLayout.h"

#include "files/CProgramDoc.h"
#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "frame/Startup.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/ProgramApp.h"
#include "files/CProgramDoc.h"
#include "model/RadioImage.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>

namespace {

struct Started {
    bool ok = false;
    QStringList messages;  // "caption|text"
};

Started start(ProgramApp &app, const AppDirFixture &fx, const QStringList &extraArgs = {})
{
    Started s;
    app.showMessage = [&s](const QString &caption, const QString &text) {
        s.messages << caption + QLatin1Char('|') + text;
    };
    s.ok = app.initInstance(QStringList{QStringLiteral("Program")} + extraArgs, fx.path());
    return s;
}

QString iniValue(const AppDirFixture &fx, const QString &key)
{
    return QSettings(fx.filePath(QStringLiteral("Program.ini")), QSettings::IniFormat).value(key).toString();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    // A first start: an installed program without the user's Language takes the locale's
    // (LANG=zh_TW.UTF-8: Traditional, en_US.UTF-8: English) and writes it to the user's file,
    // leaving the shipped one alone; a saved choice wins; the build folder keeps its own.
    void firstStartLanguage_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("index");
        QTest::newRow("installed, zh_TW") << true << "" << "zh_TW.UTF-8" << "Cht" << 2;
        QTest::newRow("installed, en_US") << true << "" << "en_US.UTF-8" << "Eng" << 0;
        QTest::newRow("installed, zh_CN") << true << "" << "zh_CN.UTF-8" << "Chs" << 1;
        QTest::newRow("installed, saved Eng, zh_TW") << true << "Eng" << "zh_TW.UTF-8" << "" << 0;
        QTest::newRow("build folder, en_US") << false << "" << "en_US.UTF-8" << "" << 1;
    }
    void firstStartLanguage()
    {
        QFETCH(bool, installed);
        QFETCH(QString, saved);
        QFETCH(QString, lang);
        QFETCH(QString, written);
        QFETCH(int, index);
        QStandardPaths::setTestModeEnabled(true);
        const QString userIni = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                                    .filePath(QStringLiteral("Program.ini"));
        QFile::remove(userIni);
        if (!saved.isEmpty()) {
            QDir().mkpath(QFileInfo(userIni).absolutePath());
            QFile f(userIni);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Setup]\nLanguage=" + saved.toUtf8() + "\n");
        }
        const QString shippedText = QStringLiteral("[Setup]\nLanguage=Chs\nCOM=COM1\n");
        AppDirFixture fx(shippedText);
        if (installed)
            fx.writeFile(InstalledLayout::markerName(), QByteArray());
        // The locale as the system gives it for LANG.
        const QLocale locale(lang.section(QLatin1Char('.'), 0, 0));
        QCOMPARE(startFirstLanguage(fx.path(), locale), written);
        QString fail;
        QVERIFY(loadLanguageSetup(fx.path(), &fail));
        QCOMPARE(int(LanguageIndex), index);
        QCOMPARE(QString::fromUtf8(fx.readFile(QStringLiteral("Program.ini"))), shippedText);
        QCOMPARE(QFileInfo::exists(userIni), installed);
        QFile::remove(userIni);
        LanguageIndex = 0;
    }

    void languageIndexFromValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("index");
        QTest::newRow("Eng") << "Eng" << 0;
        QTest::newRow("chs small") << "chs" << 1;
        QTest::newRow("CHT capitals") << "CHT" << 2;
        QTest::newRow("cHs mixed") << "cHs" << 1;
        QTest::newRow("Fr") << "Fr" << 0;
        QTest::newRow("Chs with space") << "Chs " << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void languageIndexFromValue()
    {
        QFETCH(QString, value);
        QFETCH(int, index);
        QCOMPARE(languageIndexFor(value), index);
    }

    // Chinese chosen and no Chinese font: the program starts in English and says once, in
    // English, which package brings the fonts; the saved choice stays.
    void chineseWithoutFontStartsInEnglish_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("Simplified") << "Chs";
        QTest::newRow("Traditional") << "Cht";
    }
    void chineseWithoutFontStartsInEnglish()
    {
        QFETCH(QString, language);
        AppDirFixture fx(QStringLiteral("[Setup]\nLanguage=%1\nCOM=COM2\n").arg(language));
        ProgramApp app;
        QList<bool> asked;
        app.chineseFontInstalled = [&asked](bool traditional) {
            asked << traditional;
            return false;
        };
        const Started s = start(app, fx);
        QVERIFY(s.ok);
        QCOMPARE(asked, QList<bool>{language == "Cht"});
        QCOMPARE(s.messages.size(), 1);
        QVERIFY2(s.messages.at(0).contains("fonts-noto-cjk") && s.messages.at(0).contains("starts in English"),
                 qPrintable(s.messages.at(0)));
        QCOMPARE(int(LanguageIndex), 0);
        QCOMPARE(resources().name(), QStringLiteral("English"));
        QCOMPARE(iniValue(fx, QStringLiteral("Setup/Language")), language);
    }

    void smallLettersSelectSimplifiedChinese()
    {
        AppDirFixture fx(QStringLiteral("[Setup]\nLanguage=chs\nCOM=COM2\n"));
        ProgramApp app;
        app.document()->editImage([](ImageBytes &image) { image.fill(0); });
        const Started s = start(app, fx);
        QVERIFY(s.ok);
        QVERIFY(s.messages.isEmpty());
        QCOMPARE(int(LanguageIndex), 1);
        QCOMPARE(PortName, QStringLiteral("COM2"));
        QCOMPARE(resources().name(), QStringLiteral("简体中文"));
        CMainFrame *frame = app.mainFrame();
        QVERIFY(frame && frame->isVisible());
        // With no file named, start-up builds a new image.
        QCOMPARE(app.document()->imageBytes().mid(0x1840, 6), QByteArray("KVT270"));
        QCOMPARE(app.document()->RadioImage()[0], quint8(0xFF));
        QCOMPARE(frame->windowTitle(), QStringLiteral("KVT PC Encoder[*]"));
        QCOMPARE(frame->findChild<QMenu *>(QStringLiteral("menuFile"))->title(), QStringLiteral("文件(&F)"));
        QCOMPARE(frame->action(ResId::Read)->statusTip(), QStringLiteral("从对讲机读取数据"));
        app.exitInstance();
    }

    void otherLanguageLibraryWithEnglishMessages()
    {
        AppDirFixture fx(QStringLiteral("[Setup]\nLanguage=Fr\nCOM=COM1\n"));
        fx.writeFrenchLibrary();
        ProgramApp app;
        const Started s = start(app, fx);
        QVERIFY(s.ok);
        QCOMPARE(int(LanguageIndex), 0);
        QCOMPARE(resources().name(), QStringLiteral("Français"));
        QCOMPARE(app.mainFrame()->findChild<QMenu *>(QStringLiteral("menuFile"))->title(), QStringLiteral("&Fichier"));
        app.exitInstance();
    }

    void libraryNotLoadedEndsStartUp_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QStringList>("libraries");
        QTest::addColumn<QString>("message");
        const QString eng = QStringLiteral("Load language DLL fail");
        const QStringList all{QStringLiteral("Eng.dll"), QStringLiteral("Chs.dll"), QStringLiteral("Cht.dll")};
        QTest::newRow("no Program.ini") << QString() << all << eng;
        QTest::newRow("no Language key") << "[Setup]\nCOM=COM1\n" << all << eng;
        QTest::newRow("empty Language") << "[Setup]\nLanguage=\n" << all << eng;
        QTest::newRow("Chs missing") << "[Setup]\nLanguage=Chs\n" << QStringList{"Eng.dll"}
                                     << QStringLiteral("加载语言链接库失败");
        QTest::newRow("Cht missing") << "[Setup]\nLanguage=Cht\n" << QStringList{"Eng.dll"}
                                     << QStringLiteral("加載語言庫?接庫失敗");
        QTest::newRow("Fr missing") << "[Setup]\nLanguage=Fr\n" << all << eng;
        QTest::newRow("name with a directory") << "[Setup]\nLanguage=sub/Eng\n" << all << eng;
        QTest::newRow("damaged library") << "[Setup]\nLanguage=Bad\n" << all << eng;
    }
    void libraryNotLoadedEndsStartUp()
    {
        QFETCH(QString, ini);
        QFETCH(QStringList, libraries);
        QFETCH(QString, message);
        AppDirFixture fx(ini, libraries);
        QDir(fx.path()).mkdir(QStringLiteral("sub"));
        QFile::copy(fx.filePath(QStringLiteral("Eng.dll")), fx.filePath(QStringLiteral("sub/Eng.dll")));
        fx.writeFile(QStringLiteral("Bad.dll"), "library \"Bad\"\nstrings\n  1 \"no closing quote\nend\n");
        ProgramApp app;
        const Started s = start(app, fx);
        QVERIFY(!s.ok);
        QCOMPARE(s.messages, QStringList{QStringLiteral("KVT PC Encoder|") + message});
        QVERIFY(!app.mainFrame());
    }

    void portChosenIsSavedAndMarkedNextTime()
    {
        AppDirFixture fx;
        {
            ProgramApp app;
            QVERIFY(start(app, fx).ok);
            QVERIFY(app.mainFrame()->action(ResId::Com1)->isChecked());
            app.mainFrame()->action(ResId::Com1 + 2)->trigger();
            QCOMPARE(PortName, QStringLiteral("COM3"));
            app.exitInstance();
        }
        QCOMPARE(iniValue(fx, QStringLiteral("Setup/COM")), QStringLiteral("COM3"));
        QCOMPARE(iniValue(fx, QStringLiteral("Setup/Language")), QStringLiteral("Eng"));
        ProgramApp again;
        QVERIFY(start(again, fx).ok);
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(again.mainFrame()->action(ResId::Com1 + n - 1)->isChecked(), n == 3);
        again.exitInstance();
    }

    void portOutsideTheMenuMarksNothing_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("portName");
        QTest::newRow("absent") << "[Setup]\nLanguage=Eng\n" << "";
        QTest::newRow("small letters") << "[Setup]\nLanguage=Eng\nCOM=com3\n" << "com3";
        QTest::newRow("COM9") << "[Setup]\nLanguage=Eng\nCOM=COM9\n" << "COM9";
    }
    void portOutsideTheMenuMarksNothing()
    {
        QFETCH(QString, ini);
        QFETCH(QString, portName);
        AppDirFixture fx(ini);
        ProgramApp app;
        QVERIFY(start(app, fx).ok);
        QCOMPARE(PortName, portName);
        for (int id = ResId::Com1; id <= ResId::Com8; ++id)
            QVERIFY(!app.mainFrame()->action(id)->isChecked());
        app.exitInstance();
        // An empty port name is not written; any other is written back as it was.
        QCOMPARE(QSettings(fx.filePath(QStringLiteral("Program.ini")), QSettings::IniFormat).contains(QStringLiteral("Setup/COM")),
                 !portName.isEmpty());
    }

    // A value written into Program.ini reads back as it was, whatever the INI reader treats
    // specially, and every other line of the file stays as the user wrote it.
    void iniValuesReadBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("port name") << "COM3";
        QTest::newRow("device by id") << "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10-if00-port0";
        QTest::newRow("comma") << "a,b";
        QTest::newRow("semicolon and hash") << "x;y#z";
        QTest::newRow("quotes and backslash") << "say \"hi\" C:\\dev";
        QTest::newRow("blanks around") << " COM1 ";
        QTest::newRow("at sign first") << "@Variant(x)";
        QTest::newRow("equals sign") << "a=b";
        QTest::newRow("Chinese") << "简体中文";
    }
    void iniValuesReadBackAsWritten()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Program.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; comment\r\n[setup]\r\nlanguage=Chs\r\n\r\n[Ports]\r\nCOM1=/dev/pts/3\r\n");
        f.close();
        const ProgramIni ini(dir.path(), dir.filePath(QStringLiteral("user/Program.ini")));
        QVERIFY(ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), value));
        QCOMPARE(ini.read(QStringLiteral("Setup"), QStringLiteral("COM")), value);
        QVERIFY(ini.write(QStringLiteral("SETUP"), QStringLiteral("com"), value));   // replaced where it stands
        QCOMPARE(ini.read(QStringLiteral("Setup"), QStringLiteral("Language")), QStringLiteral("Chs"));
        QCOMPARE(ini.read(QStringLiteral("Ports"), QStringLiteral("COM1")), QStringLiteral("/dev/pts/3"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.startsWith("; comment\r\n[setup]\r\nlanguage=Chs\r\nCOM=")
                     && text.endsWith("\r\n\r\n[Ports]\r\nCOM1=/dev/pts/3\r\n")
                     && text.count("COM=") == 1,
                 text.constData());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("user"))));
    }

    // Program.ini written with a value it holds keeps its bytes; a changed value changes its
    // line only. A value in double quotes (as a value with blanks at its ends is written)
    // reads without them.
    void iniKeepsItsBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Program.ini"));
        const QByteArray old = "\xEF\xBB\xBF; mine\r\n[Setup]\r\nLanguage = Chs\r\nCOM=COM2\r\nName=\" a \\\"b\\\" \"\r\n[Other]\r\nx=1";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
        f.close();
        const ProgramIni ini(dir.path(), dir.filePath(QStringLiteral("user/Program.ini")));
        QCOMPARE(ini.read(QStringLiteral("Setup"), QStringLiteral("Name")), QStringLiteral(" a \"b\" "));
        QVERIFY(ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), QStringLiteral("COM2")));
        QVERIFY(ini.write(QStringLiteral("setup"), QStringLiteral("language"), QStringLiteral("Chs")));
        QVERIFY(ini.write(QStringLiteral("Setup"), QStringLiteral("Name"), QStringLiteral(" a \"b\" ")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        f.close();
        QVERIFY(ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), QStringLiteral("COM5")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(old).replace("COM=COM2", "COM=COM5"));
    }

    void iniOntoAFullDiskKeepsTheOldFile()
    {
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray old = "[Setup]\nLanguage=Eng\nCOM=COM1\n";
        QVERIFY(disk.put(QStringLiteral("Program.ini"), old));
        QVERIFY(disk.fill());
        const ProgramIni ini(disk.path(), disk.filePath(QStringLiteral("user/Program.ini")));
        QString reason;
        QVERIFY(!ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), QStringLiteral("/dev/ttyUSB0"), &reason));
        QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QFile kept(disk.filePath(QStringLiteral("Program.ini")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
        QCOMPARE(disk.files(), QStringList{QStringLiteral("Program.ini")});
    }

    void iniNamesMatchWithoutRegardToCase()
    {
        AppDirFixture fx(QStringLiteral("[setup]\nlanguage=Cht\ncom=COM5\n"));
        ProgramApp app;
        QVERIFY(start(app, fx).ok);
        QCOMPARE(int(LanguageIndex), 2);
        QCOMPARE(PortName, QStringLiteral("COM5"));
        app.mainFrame()->onPort(6);
        app.exitInstance();
        const QByteArray ini = fx.readFile(QStringLiteral("Program.ini"));
        QVERIFY2(ini.contains("com=COM6") && !ini.contains("COM=") && !ini.contains("[Setup]"), ini.constData());
    }

    void fileOnTheCommandLineIsOpened()
    {
        AppDirFixture fx;
        QByteArray image(8192 + 10, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i * 7);
        fx.writeFile(QStringLiteral("radio.sin"), image);
        ProgramApp app;
        QString opened;
        const auto documentOpen = app.openDocument;
        app.openDocument = [&opened, documentOpen](const QString &path, QString *error) {
            opened = path;
            return documentOpen(path, error);
        };
        bool created = false;
        app.newDocument = [&created] { return created = true; };
        QVERIFY(start(app, fx, {fx.filePath(QStringLiteral("radio.sin"))}).ok);
        QCOMPARE(opened, fx.filePath(QStringLiteral("radio.sin")));
        QVERIFY(!created);
        QCOMPARE(app.document()->imageBytes(), image.left(8192));
        QCOMPARE(app.document()->pathName(), fx.filePath(QStringLiteral("radio.sin")));
        app.exitInstance();
    }

    void unreadableCommandLineFileEndsStartUp_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("message");
        QTest::newRow("short") << 100 << "holds 100 bytes";
        QTest::newRow("missing") << -1 << "Could not open";
    }
    void unreadableCommandLineFileEndsStartUp()
    {
        QFETCH(int, size);
        QFETCH(QString, message);
        AppDirFixture fx;
        if (size >= 0)
            fx.writeFile(QStringLiteral("short.sin"), QByteArray(size, '\x11'));
        ProgramApp app;
        app.document()->editImage([](ImageBytes &image) { image.fill(0xAB); });
        const Started s = start(app, fx, {fx.filePath(QStringLiteral("short.sin"))});
        QVERIFY(!s.ok);
        QCOMPARE(s.messages.size(), 1);
        QVERIFY2(s.messages.at(0).contains(message), qPrintable(s.messages.at(0)));
        // A refused file leaves the image as it was.
        QCOMPARE(app.document()->RadioImage()[0], quint8(0xAB));
        QCOMPARE(app.document()->RadioImage()[100], quint8(0xAB));
    }

    // The real executable in a copy of the application folder: SIGTERM ends it through the
    // normal exit path (the port is written), and a missing library ends it with a failure
    // code once its message is gone.
    void executableEndsThroughTheExitPath()
    {
        AppDirFixture fx(QStringLiteral("[Setup]\nLanguage=Eng\ncom=COM4\n"));
        QVERIFY(QFile::copy(QStringLiteral(APP_DIR "/Program"), fx.filePath(QStringLiteral("Program"))));
        QFile(fx.filePath(QStringLiteral("Program"))).setPermissions(QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
        QFile ini(fx.filePath(QStringLiteral("Program.ini")));
        QVERIFY(ini.open(QIODevice::ReadWrite));
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        QVERIFY(ini.setFileTime(old, QFileDevice::FileModificationTime));
        ini.close();

        QProcess p;
        p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        p.start(fx.filePath(QStringLiteral("Program")), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
        QVERIFY(p.waitForStarted());
        QVERIFY(!p.waitForFinished(1500));  // it keeps running
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QFileInfo(fx.filePath(QStringLiteral("Program.ini"))).lastModified() > old.addSecs(3600));
        QVERIFY(fx.readFile(QStringLiteral("Program.ini")).contains("com=COM4"));

        QFile::remove(fx.filePath(QStringLiteral("Eng.dll")));
        p.start(fx.filePath(QStringLiteral("Program")), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
        QVERIFY(p.waitForStarted());
        QVERIFY(!p.waitForFinished(1500));  // waiting in its message box
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("no resource library Eng.dll"));
    }
};

REGISTER_TEST(TestStartup)
#include "tst_startup.moc"
