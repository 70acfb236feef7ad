#pragma once
// The progress dialog of a radio transfer (template 133): "Start" runs the transfer of the
// document's image on a worker thread, the bar and the percentage follow the blocks, and the
// transfer alone closes the dialog once it has started: neither Cancel, Escape nor the close
// box end it while the radio is being read or written. A failure is reported by a message
// box before the dialog closes.
//
// A write can be checked: with "Verify after writing" on (the check box, shown for a write
// only, remembered as Verify in section Setup of Program.ini), the radio is read back as soon
// as the write has succeeded, the bar following the read, and compared with what was sent on
// the parts a write sends. A difference is reported with the fields that differ; the write
// then counts as not done (written() is false), as it does when the read-back fails. A write
// the read-back confirms says so ("Written and checked") for a moment before the dialog closes.
//
// "Stop" ends a running transfer at the next block: a stopped read hands nothing back, so the
// document stays as it was; a write is stopped only after the user agreed to leave the radio
// partly written, and ends after the block in progress. Either way a notice says so. The
// dialog names the port and the device the transfer uses.
#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

#include <QPointer>

#include "radiolink/RadioTransfer.h"

class CProgramDoc;
class QCheckBox;
class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;

class CReadWriteDlg : public QDialog
{
    Q_OBJECT
public:
    enum State { Ready, Running, Closed };

    // document: the image to write, or to read into; portName: the port to use ("COM3");
    // appDirectory: where Program.ini lies (its [Ports] section, the Verify setting).
    CReadWriteDlg(CProgramDoc *document, const QString &portName, const QString &appDirectory,
                  QWidget *parent = nullptr);
    ~CReadWriteDlg() override;

    // True for a read, false for a write; sets the progress range (0-944 or 0-942).
    void setReadFlag(bool read);
    bool readFlag() const { return m_read; }
    // The window caption ("Read Data", ...).
    void setTitle(const QString &title);
    QString title() const { return m_title; }
    // True only when every block of a transfer succeeded (for a write: of the write itself).
    bool success() const { return m_success; }
    // Whether the write is to be read back and compared: the check box.
    bool verifyAfterWriting() const;
    // After a write with verifying on: the read-back succeeded and the radio holds what was sent.
    bool verified() const { return m_verified; }
    // A write that went through and, when verifying was asked for, was confirmed by the
    // read-back: the radio holds the image.
    bool written() const { return !m_read && m_success && (!m_verifying || m_verified); }
    // After a successful read, the image the radio sent (the document itself is not
    // touched; the caller puts it in).
    QByteArray readImage() const { return m_readImage; }
    State state() const { return m_state; }

    // Shows a failure notice; the default is a message box with an OK button. The caption is
    // the application title, or the failed check's own. Replaceable for tests.
    std::function<void(const QString &caption, const QString &text)> showMessage;
    // Asks before a write is stopped; true: stop. The default is a Yes / No message box.
    // Replaceable for tests.
    std::function<bool()> confirmStop;
    // How long "Written and checked" stays in view before the dialog closes itself.
    int confirmationMs = 1200;

    QPushButton *startButton;   // 1: start the transfer (default button)
    QPushButton *cancelButton;  // 2: close without a transfer
    QPushButton *stopButton;    // ends a running transfer at the next block
    QLabel *portLabel;          // the port and the device of the transfer
    QProgressBar *progressBar;  // 1003: blocks done
    QLabel *percentLabel;       // 1005: blocks done in percent, "0%" ... "100%"
    QCheckBox *verifyCheckBox;  // 1006: read a write back and compare (write only)
    QLabel *checkLabel;         // what the read-back of a write found ("Written and checked")

    // The check box's remembered state in Program.ini of `appDirectory`: on unless the value
    // of Verify in section Setup is 0.
    static bool verifySetting(const QString &appDirectory);

public slots:
    // "Start": begins the transfer unless one is running (TransferBusy).
    void onStart();
    // Cancel, Escape and the close box: only before the transfer has started.
    void reject() override;
    // "Stop": ends the running transfer at its next block; a write asks first.
    void onStop();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void onPortOpened();
    void onProgress(int position, int upper);
    void onFinished(RadioTransfer::Result result, const QByteArray &image);
    // Starts a transfer of this dialog: the write or read the user started, or the read-back.
    bool startTransfer(bool read, void (CReadWriteDlg::*done)(RadioTransfer::Result, const QByteArray &));
    // The read-back after a successful write: compares and reports, then closes.
    void onVerifyFinished(RadioTransfer::Result result, const QByteArray &image);
    void finish();
    void storeVerifySetting(bool on);

    CProgramDoc *m_document;
    const QString m_portName;
    const QString m_appDirectory;
    bool m_success = false;
    bool m_read = true;
    QString m_title;
    State m_state = Ready;
    std::unique_ptr<RadioTransfer> m_transfer;
    std::vector<std::unique_ptr<RadioTransfer>> m_done;  // finished transfers of this dialog
    QByteArray m_readImage;
    bool m_verifying = false;   // the write in progress is to be read back
    bool m_verified = false;
    QByteArray m_sent;          // the image the write sent
    bool m_checking = false;    // the read-back of a write runs
    QPointer<QMessageBox> m_stopQuestion;   // the open question before a write is stopped
};
