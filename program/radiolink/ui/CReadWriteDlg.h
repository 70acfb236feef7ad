#pragma once
// The progress dialog of a radio transfer (template 133): "Start" runs the transfer of
// RadioImage on a worker thread, the bar and the percentage follow the blocks, and the
// transfer alone closes the dialog once it has started: neither Cancel, Escape nor the close
// box end it while the radio is being read or written. A failure is reported by a message
// box before the dialog closes.
#include <QDialog>

#include <functional>
#include <memory>

#include "radiolink/RadioTransfer.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CReadWriteDlg : public QDialog
{
    Q_OBJECT
public:
    enum State { Ready, Running, Closed };

    explicit CReadWriteDlg(QWidget *parent = nullptr);
    ~CReadWriteDlg() override;

    // True for a read, false for a write; sets the progress range (0-944 or 0-942).
    void setReadFlag(bool read);
    bool readFlag() const { return m_read; }
    // The window caption ("Read Data", ...).
    void setTitle(const QString &title);
    QString title() const { return m_title; }
    // True only when every block of a transfer succeeded.
    bool success() const { return m_success; }
    // After a successful read, the image the radio sent (RadioImage itself is not touched;
    // the caller copies it in).
    QByteArray readImage() const { return m_readImage; }
    State state() const { return m_state; }

    // Shows a failure notice; the default is a message box with the application title as
    // caption and an OK button. Replaceable for tests.
    std::function<void(const QString &text)> showMessage;

    QPushButton *startButton;   // 1: start the transfer (default button)
    QPushButton *cancelButton;  // 2: close without a transfer
    QProgressBar *progressBar;  // 1003: blocks done
    QLabel *percentLabel;       // 1005: blocks done in percent, "0%" ... "100%"

public slots:
    // "Start": begins the transfer unless one is running (TransferBusy).
    void onStart();
    // Cancel, Escape and the close box: only before the transfer has started.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void onPortOpened();
    void onProgress(int position, int upper);
    void onFinished(RadioTransfer::Result result, const QByteArray &image);

    bool m_success = false;
    bool m_read = true;
    QString m_title;
    State m_state = Ready;
    std::unique_ptr<RadioTransfer> m_transfer;
    QByteArray m_readImage;
};
