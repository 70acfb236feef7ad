#pragma once
// The Program menu's Read (Ctrl+R) and Write (Ctrl+W): an editor still open over the grid
// commits (for a write the document stores its values), the progress dialog runs the
// transfer, and a
// successful read becomes the document (one step, not modified), with a copy kept in the
// backups folder.
#include <QObject>
#include <QString>

#include <functional>

class CProgramDoc;
class CReadWriteDlg;
class QWidget;

class RadioCommands : public QObject
{
    Q_OBJECT
public:
    // window: the owner of the progress dialog (its status bar, for a main window, tells of
    // a backup that failed); appDirectory: where Program.ini lies (its [Ports] section).
    RadioCommands(CProgramDoc *document, QWidget *window, const QString &appDirectory, QObject *parent = nullptr);

    // The port of the next transfer; the default is the Port menu's choice, PortName.
    std::function<QString()> portName;
    // An editor still open over the grid takes its value first; unset: there is none.
    std::function<void()> commitEdit;
    // Called with each new dialog before it is shown (tests answer it from here).
    std::function<void(CReadWriteDlg &)> dialogCreated;

public slots:
    // Both return true when the transfer succeeded; a write with "Verify after writing" on
    // only when the radio read back holds what was sent.
    bool onRead();
    bool onWrite();

private:
    bool runTransfer(bool read, QByteArray *readImage);
    CProgramDoc *m_document;
    QWidget *m_window;
    QString m_appDirectory;
};
