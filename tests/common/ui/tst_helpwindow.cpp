// The manual viewer both programs show for Help: a page and the pages it links to, history,
// find with wrap-around, and the keys a keyboard user closes things with.
#include "TestRegistry.h"
#include "common/ui/HelpWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

class TestHelpWindow : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString write(const QString &name, const QByteArray &html)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(html);
        return f.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        write(QStringLiteral("other.html"), "<html><body><h1>Other page</h1><p>cable cable</p></body></html>");
        write(QStringLiteral("manual.html"),
              "<html><body><h1>Manual</h1><p><a href=\"other.html\">Other</a></p>"
              "<p>The cable goes into the radio.</p><p>A second cable line.</p></body></html>");
    }

    void opensLinksAndGoesBack()
    {
        HelpWindow window;
        QVERIFY(!window.showManual(m_dir.filePath(QStringLiteral("missing.html"))));
        QVERIFY(!window.isVisible());
        QVERIFY(window.showManual(m_dir.filePath(QStringLiteral("manual.html"))));
        QVERIFY(window.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("The cable goes")));
        QVERIFY(!window.browser()->isBackwardAvailable());

        window.browser()->setSource(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("other.html"))));
        QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("Other page")));
        QVERIFY(window.browser()->isBackwardAvailable());
        // Back by its key, as a keyboard user goes back.
        QTest::keySequence(&window, QKeySequence(QKeySequence::Back));
        QCOMPARE(window.currentSource().fileName(), QStringLiteral("manual.html"));
        QVERIFY(window.browser()->isForwardAvailable());

        // Opening the manual again starts a fresh history only when it is another file.
        QVERIFY(window.showManual(m_dir.filePath(QStringLiteral("other.html"))));
        QVERIFY(!window.browser()->isBackwardAvailable());
    }

    void findsAndWrapsRound()
    {
        HelpWindow window;
        QVERIFY(window.showManual(m_dir.filePath(QStringLiteral("manual.html"))));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keySequence(&window, QKeySequence(QKeySequence::Find));
        auto *bar = window.findChild<QToolBar *>(QStringLiteral("helpFindBar"));
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), window.findField());

        QTest::keyClicks(window.findField(), QStringLiteral("cable"));
        const int first = window.browser()->textCursor().selectionStart();
        QCOMPARE(window.browser()->textCursor().selectedText(), QStringLiteral("cable"));
        QTest::keyClick(window.findField(), Qt::Key_Return);
        const int second = window.browser()->textCursor().selectionStart();
        QVERIFY(second > first);
        // Past the last one, the search starts again at the top.
        QVERIFY(window.findText(false));
        QCOMPARE(window.browser()->textCursor().selectionStart(), first);
        QVERIFY(window.findText(true));
        QCOMPARE(window.browser()->textCursor().selectionStart(), second);

        window.findField()->setText(QStringLiteral("antenna"));
        QVERIFY(!window.findText(false));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("helpFindStatus"))->text(), QStringLiteral("Not found"));

        // Escape closes the find bar, then the window.
        QTest::keyClick(window.findField(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QTest::keyClick(window.browser(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void takesTheProgramsWords()
    {
        HelpWindow window;
        HelpTexts texts;
        texts.title = QStringLiteral("帮助");
        texts.back = QString();
        window.setTexts(texts);
        QCOMPARE(window.windowTitle(), QStringLiteral("帮助"));
        // A word the program leaves empty stays English.
        bool backNamed = false;
        for (QAction *action : window.findChild<QToolBar *>(QStringLiteral("helpNavigation"))->actions())
            backNamed |= action->text() == QStringLiteral("Back");
        QVERIFY(backNamed);
    }
};

REGISTER_TEST(TestHelpWindow)
#include "tst_helpwindow.moc"
