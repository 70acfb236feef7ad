#pragma once
// The main window of Program: the menu bar, accelerators, toolbar and status bar from the
// resource library, the Port menu, the language change with restart, help and the about box.
// Commands served by other parts of the program (files, undo, printing, the radio transfer
// and the option dialogs) are announced by signals; ProgramApp connects them.
#include <QHash>
#include <QMainWindow>

#include <functional>

class QLabel;
class QToolBar;
class QTimer;
class QUrl;
class LockKeyState;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    // The action of a command id (menu item, toolbar button or accelerator), or nullptr.
    QAction *action(int commandId) const;
    QToolBar *toolBar() const { return m_toolBar; }
    QLabel *indicator(int indicatorId) const;  // ResId::IndicatorCaps, IndicatorNum, IndicatorScroll

    // The form view filling the window.
    void setView(QWidget *view);

    // Services the frame calls; replaceable for tests.
    // Starts the program anew; returns false when it could not be started.
    std::function<bool()> restartProgram;
    // Ends the running instance (posts a quit request).
    std::function<void()> quitProgram;
    // Asks the desktop to open a file; returns false when it could not.
    std::function<bool(const QUrl &)> openUrl;
    // Shows a notice with the application title as caption.
    std::function<void(const QString &text)> showMessage;
    // Asked before the window closes (Exit, the close box) and before a language change
    // restarts the program; returns false to keep the window. Unset: nothing is asked.
    std::function<bool()> queryClose;

    // Brings the Port menu's check marks in line with PortName.
    void updatePortChecks();
    // Reads the lock keys and updates the status-bar indicators.
    void updateIndicators();

public slots:
    void onPort(int number);    // COM1 ... COM8
    void onLanguage();
    void onHelp();
    void onAppAbout();

signals:
    // Every command, with its id, when triggered (the specific signals below follow).
    void commandTriggered(int commandId);
    void newRequested();
    void openRequested();
    void saveRequested();
    void saveAsRequested();
    void exportChannelsRequested();
    void importChannelsRequested();
    void openBackupRequested();
    void printRequested();
    void printPreviewRequested();
    void printSetupRequested();
    void readRequested();
    void writeRequested();
    void optionRequested();
    void pttIdRequested();
    void embedRequested();
    void undoRequested();
    void redoRequested();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void dispatch(int commandId);
    void focusView();

    QHash<int, QAction *> m_actions;
    QToolBar *m_toolBar = nullptr;
    QHash<int, QLabel *> m_indicators;
    LockKeyState *m_lockKeys = nullptr;
    QTimer *m_indicatorTimer = nullptr;
    bool m_closeConfirmed = false;  // the question before closing has been answered
};
