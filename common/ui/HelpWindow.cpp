#include "common/ui/HelpWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

HelpWindow::HelpWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("helpWindow"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(true);
    // Pages and sections of the manual open here; the web and mail go to the desktop.
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    m_navigation = addToolBar(QString());
    m_navigation->setObjectName(QStringLiteral("helpNavigation"));
    m_navigation->setMovable(false);
    m_navigation->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = m_navigation->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString(), m_browser,
                                     &QTextBrowser::backward);
    m_back->setShortcut(QKeySequence::Back);
    m_back->setEnabled(false);
    m_forward = m_navigation->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString(), m_browser,
                                        &QTextBrowser::forward);
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setEnabled(false);
    m_home = m_navigation->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString(), m_browser,
                                     &QTextBrowser::home);
    m_find = m_navigation->addAction(QString(), this, &HelpWindow::showFindBar);
    m_find->setShortcut(QKeySequence::Find);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);

    m_findBar = new QToolBar(this);
    m_findBar->setObjectName(QStringLiteral("helpFindBar"));
    m_findBar->setMovable(false);
    addToolBar(Qt::BottomToolBarArea, m_findBar);
    m_findField = new QLineEdit(m_findBar);
    m_findField->setObjectName(QStringLiteral("helpFindField"));
    m_findField->setClearButtonEnabled(true);
    m_findField->setMaximumWidth(320);
    m_findBar->addWidget(m_findField);
    m_findPrevious = m_findBar->addAction(style()->standardIcon(QStyle::SP_ArrowUp), QString(), this,
                                          [this] { findText(true); });
    m_findPrevious->setShortcut(QKeySequence::FindPrevious);
    m_findNext = m_findBar->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QString(), this,
                                      [this] { findText(false); });
    m_findNext->setShortcut(QKeySequence::FindNext);
    m_findStatus = new QLabel(m_findBar);
    m_findStatus->setObjectName(QStringLiteral("helpFindStatus"));
    m_findBar->addWidget(m_findStatus);
    m_closeFind = m_findBar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QString(), this,
                                       &HelpWindow::hideFindBar);
    // Enter in the field finds the next place; each new text starts from the top of the page.
    connect(m_findField, &QLineEdit::returnPressed, this, [this] { findText(false); });
    connect(m_findField, &QLineEdit::textEdited, this, [this] {
        QTextCursor cursor = m_browser->textCursor();
        cursor.movePosition(QTextCursor::Start);
        m_browser->setTextCursor(cursor);
        if (!m_findField->text().isEmpty())
            findText(false);
        else
            m_findStatus->clear();
    });
    m_findBar->hide();

    m_close = new QAction(this);
    m_close->setShortcut(QKeySequence::Close);
    connect(m_close, &QAction::triggered, this, &QWidget::close);
    addAction(m_close);

    applyTexts();
    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableSize()
                                                          : QSize(1024, 768);
    resize(qMin(860, screen.width() * 3 / 4), qMin(720, screen.height() * 4 / 5));
}

bool HelpWindow::showManual(const QString &file)
{
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        return false;
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (m_browser->source() != url) {
        // Another manual (the language changed): its history starts with it.
        m_browser->setSource(url);
        m_browser->clearHistory();
    }
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    m_browser->setFocus();
    return true;
}

void HelpWindow::setTexts(const HelpTexts &texts)
{
    const HelpTexts english;
    auto pick = [](const QString &given, const QString &fallback) { return given.isEmpty() ? fallback : given; };
    m_texts.title = pick(texts.title, english.title);
    m_texts.back = pick(texts.back, english.back);
    m_texts.forward = pick(texts.forward, english.forward);
    m_texts.home = pick(texts.home, english.home);
    m_texts.find = pick(texts.find, english.find);
    m_texts.findNext = pick(texts.findNext, english.findNext);
    m_texts.findPrevious = pick(texts.findPrevious, english.findPrevious);
    m_texts.notFound = pick(texts.notFound, english.notFound);
    m_texts.close = pick(texts.close, english.close);
    applyTexts();
}

void HelpWindow::applyTexts()
{
    setWindowTitle(m_texts.title);
    m_navigation->setWindowTitle(m_texts.title);
    m_findBar->setWindowTitle(m_texts.find);
    m_back->setText(m_texts.back);
    m_forward->setText(m_texts.forward);
    m_home->setText(m_texts.home);
    m_find->setText(m_texts.find);
    m_findNext->setText(m_texts.findNext);
    m_findPrevious->setText(m_texts.findPrevious);
    m_closeFind->setText(m_texts.close);
    m_close->setText(m_texts.close);
    m_findField->setPlaceholderText(m_texts.find);
    m_findField->setAccessibleName(m_texts.find);
    m_browser->setAccessibleName(m_texts.title);
}

QUrl HelpWindow::currentSource() const
{
    return m_browser->source();
}

bool HelpWindow::findText(bool backwards)
{
    const QString text = m_findField->text();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_browser->find(text, flags);
    if (!found) {
        // Once round the page: from the other end.
        const QTextCursor before = m_browser->textCursor();
        QTextCursor cursor = before;
        cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(cursor);
        found = m_browser->find(text, flags);
        if (!found)
            m_browser->setTextCursor(before);
    }
    m_findStatus->setText(found ? QString() : m_texts.notFound);
    return found;
}

void HelpWindow::showFindBar()
{
    m_findBar->show();
    m_findField->setFocus();
    m_findField->selectAll();
}

void HelpWindow::hideFindBar()
{
    m_findBar->hide();
    m_findStatus->clear();
    m_browser->setFocus();
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the find bar first, then the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_findBar->isVisible())
            hideFindBar();
        else
            close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

HelpWindow *HelpWindow::instance(QWidget *parent)
{
    static QPointer<HelpWindow> window;
    if (!window || window->parentWidget() != parent)
        window = new HelpWindow(parent);
    return window;
}
