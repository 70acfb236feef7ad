#pragma once
// The read/write dialog: a gauge, the button that starts the transfer ("读频" or "写频") and
// the close button. The transfer runs inside the start button's click; while it runs the
// button is disabled and the dialog refuses to close. The serial port stays open while the
// dialog is shown and is closed when it closes.
//
// "Stop" (stopButton) ends a running transfer at its next block, the end frame still sent: a
// stopped read changes nothing, a write asks first, since the radio is left partly written.
// The port line above the gauge names the port and the device the transfer uses.
//
// With "Verify after writing" checked, a successful write is followed by a read of the blocks
// it wrote, compared with what was sent; the document counts as written only when the radio
// holds what was sent. A difference is shown in the words of the window, one field per line.
#include "codeplug/MemoryComparison.h"
#include "common/Differences.h"
#include "common/PortDiagnosis.h"
#include "radiolink/LinkTiming.h"
#include "radiolink/RadioTransfer.h"
#include "shell/LanguageTexts.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class CodeplugDocument;
class RadioLink;

class TR_and_W : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogHeight = 220;

    explicit TR_and_W(QWidget *parent = nullptr);

    QProgressBar *bsSkinGauge1;    // transfer progress
    QPushButton *bsSkinButton1;    // starts the transfer ("读频" / "写频")
    QPushButton *bsSkinButton2;    // closes the dialog ("关闭")
    QLabel *bsSkinStatusPanel1;    // status line
    QCheckBox *fastLinkBox;        // "Fast link": end each wait when the reply is complete
    QCheckBox *verifyBox;          // "Verify after writing": read back and compare (writes only)
    QLabel *verifyStatus;          // what the check after a write is doing or found
    QPushButton *stopButton;       // ends a running transfer at its next block
    QLabel *portLabel;             // the port and the device of the transfer
    int Tag = 0;                   // 1 read, 2 write

    void setLink(RadioLink *link) { m_link = link; }
    // The codeplug a read goes into and a write sends.
    void setDocument(CodeplugDocument *document) { m_document = document; }
    // The windows of a transfer; the fast link is the box's choice at each start.
    void setTiming(const LinkTiming &timing) { m_timing = timing; }
    // How a notice reaches the user (caption, text).
    using Notice = std::function<void(const QString &caption, const QString &text)>;
    void setNotice(Notice notice) { m_notice = std::move(notice); }
    // The notice texts: caption, port text, link text.
    void setNoticeTexts(const QString &caption, const QString &portText, const QString &linkText);
    QString linkErrorCaption() const { return m_linkErrorCaption; }
    QString portErrorText() const { return m_portErrorText; }
    QString linkErrorText() const { return m_linkErrorText; }
    // The sentences below a notice that say what happened to the port (in the language of
    // the notice texts).
    void setPortTexts(const PortProblemTexts &texts) { m_portTexts = texts; }
    // The texts of the check after a write and the words of the setting items it names.
    void setLanguageTexts(const LanguageTexts &texts) { m_texts = texts; }
    // The port line: the port's name and its device (empty: the port has none).
    void setPortLine(const QString &portName, const QString &device);
    // Asked before a running write is stopped; true: stop. A Yes / No question by default.
    std::function<bool()> confirmStop;
    // The port notice with the reason of the link's last failed open.
    QString portNotice() const;
    // The link notice, with the line about a device that went away during the transfer.
    QString linkNotice() const;

    // Makes the dialog ready for a transfer of the kind (the dialog's Tag): its title, the
    // start button's text, the gauge empty with the kind's maximum, the two boxes as chosen
    // (the check after a write is offered for writes only).
    void prepare(int kind, const QString &title, const QString &startText, bool fastLink, bool verify);
    // Opens the serial port; when it cannot be opened the port notice is shown and the
    // dialog stays usable (a transfer tries again).
    bool openPort();
    bool isTransferRunning() const { return m_running; }
    // The first channel of the active band (0xFF: none), taken from the document whenever
    // the dialog is shown; a write puts it into settings block 1.
    quint8 firstChannel() const { return m_firstChannel; }
    RadioTransfer::Outcome lastOutcome() const { return m_lastOutcome; }
    // The memory the last transfer read, block by block (RadioTransfer::memoryRead).
    const QByteArray &lastMemoryRead() const { return m_lastMemoryRead; }
    // The check after the last write.
    enum class Check {
        NotRun,       // a read, a failed write, or the box unchecked
        Passed,       // the radio holds what was written
        Failed,       // it does not: lastDifferences() says where
        Incomplete,   // the read-back failed (the link notice was shown)
    };
    Check lastCheck() const { return m_lastCheck; }
    const QList<Difference> &lastDifferences() const { return m_lastDifferences; }
    // The notice of a check that failed (shown under its own caption): the heading, the first
    // MaxListedDifferences differences each with its block, how many more there are, and what
    // to do next.
    static constexpr int MaxListedDifferences = 20;
    QString differencesNotice(const QList<Difference> &differences) const;

public slots:
    void bsSkinButton1Click();
    void bsSkinButton2Click();
    void stopButtonClick();
    void done(int result) override;

signals:
    void transferFinished(RadioTransfer::Outcome outcome);
    // The user changed "Fast link" or "Verify after writing".
    void fastLinkToggled(bool on);
    void verifyToggled(bool on);
    // A read found channel fields that held no valid value and read them as the nearest valid
    // ones: one text per field, naming the channel.
    void valuesCorrected(const QStringList &corrections);
    // The dialog is shown for a transfer (the first channel is known).
    void shownForTransfer();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();
    void setGauge(int value);
    // A notice under the link's caption, or under its own.
    void notify(const QString &text);
    void notify(const QString &caption, const QString &text);
    // Reads the blocks the write sent back from the radio and compares them.
    void verifyWrite(const RadioTransfer &write, const Codeplug &sent, const LinkTiming &timing);

    // The notice after a stop: what was read, written or checked.
    QString stoppedNotice(const RadioTransfer &transfer, bool checking) const;

    RadioTransfer *m_transfer = nullptr;   // the transfer running now (the write or its check)
    bool m_checking = false;               // the check after a write is running
    bool m_stoppedCheck = false;           // Stop ended the check after a write
    QString m_portName;
    QString m_portDevice;
    RadioLink *m_link = nullptr;
    CodeplugDocument *m_document = nullptr;
    LinkTiming m_timing;
    Notice m_notice;
    QString m_linkErrorCaption;
    QString m_portErrorText;
    QString m_linkErrorText;
    PortProblemTexts m_portTexts = PortProblemTexts::english();
    LanguageTexts m_texts = LanguageTexts::builtIn();
    bool m_running = false;
    quint8 m_firstChannel = 0xFF;
    RadioTransfer::Outcome m_lastOutcome = RadioTransfer::Outcome::Success;
    QByteArray m_lastMemoryRead;
    Check m_lastCheck = Check::NotRun;
    QList<Difference> m_lastDifferences;
};
