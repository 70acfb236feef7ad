#pragma once
// The program's own manual viewer: the local HTML manual in a text browser with back,
// forward, home and a find bar, so that help needs no web browser. Links inside the manual
// (its sections, its other pages) open in the window; links to other places go to the
// desktop.
//
// The window never holds a translation: the program hands it its words (HelpTexts), and
// the English ones stand in for any it leaves empty.
#include "common/HelpTexts.h"

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolBar;

class HelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Opens `file` (a local HTML file) as the start page and shows the window in front.
    // False when the file cannot be read; the window then stays as it was.
    bool showManual(const QString &file);
    // The words of the window's controls; empty ones keep the English.
    void setTexts(const HelpTexts &texts);

    QTextBrowser *browser() const { return m_browser; }
    QLineEdit *findField() const { return m_findField; }
    QUrl currentSource() const;

    // Finds the find field's text from the cursor on, forwards or backwards, wrapping round
    // once; false (and the field says so) when the page does not hold it.
    bool findText(bool backwards);

    // The one help window of a program, made on first use as a child of `parent` (top-level
    // window, so that it stays open beside the main window and closes with it).
    static HelpWindow *instance(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showFindBar();
    void hideFindBar();
    void applyTexts();

    QTextBrowser *m_browser;
    QToolBar *m_navigation;
    QToolBar *m_findBar;
    QLineEdit *m_findField;
    QLabel *m_findStatus;
    QAction *m_back;
    QAction *m_forward;
    QAction *m_home;
    QAction *m_find;
    QAction *m_findNext;
    QAction *m_findPrevious;
    QAction *m_closeFind;
    QAction *m_close;
    HelpTexts m_texts;
};
