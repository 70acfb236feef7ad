#include "radiolink/ui/RadioCommands.h"

#include "codeplug/CodeplugDocument.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/ReadBackup.h"
#include "common/Backups.h"
#include "shell/LanguageElements.h"
#include "shell/PortTexts.h"
#include "shell/ui/Tmessage1.h"



RadioCommands::RadioCommands(CodeplugDocument *document, RadioCommandWindow window, TR_and_W &dialog,
                             QObject *parent)
    : QObject(parent), m_document(document), m_window(std::move(window)), m_dialog(dialog)
{
    m_notice = [this](const QString &caption, const QString &text) { showNotice(&m_dialog, caption, text); };
    m_dialog.setLink(&m_transport);
    m_dialog.setDocument(m_document);
    m_dialog.setNotice([this](const QString &caption, const QString &text) { m_notice(caption, text); });
    m_runner = [](TR_and_W &d) { d.exec(); };

    connect(&m_dialog, &TR_and_W::fastLinkToggled, this, [this](bool on) { m_window.setFastLink(on); });
    connect(&m_dialog, &TR_and_W::verifyToggled, this, [this](bool on) { m_window.setVerifyAfterWrite(on); });
    // The call list editor is hidden when the dialog opens.
    connect(&m_dialog, &TR_and_W::shownForTransfer, this, [this] { m_window.hideCallListEditor(); });
    connect(&m_dialog, &TR_and_W::transferFinished, this, [this](RadioTransfer::Outcome outcome) {
        if (outcome == RadioTransfer::Outcome::Success && m_dialog.Tag == RadioTransfer::ReadKind) {
            // A copy of the read in the backups folder; one that fails does not fail the read,
            // but the status bar and standard error say so.
            QString error;
            const QByteArray file = CodeplugFile::write(m_document->snapshot());
            if (!ReadBackup::write(m_dialog.lastMemoryRead(), file, m_window.preferencesPath(), &error)) {
                qWarning("KVT560: %s", qPrintable(Backups::readFailureText(error)));
                m_window.setStatusText(m_window.noticeTexts().BackupFailedText.arg(error));
            }
            emit readApplied();
        }
    });
    // Values the radio should not hold: every field on standard error, the first (and how
    // many there are) on the status bar.
    connect(&m_dialog, &TR_and_W::valuesCorrected, this, [this](const QStringList &corrections) {
        for (const QString &c : corrections)
            qWarning("KVT560: %s", qPrintable(c));
        m_window.setStatusText(corrections.size() == 1
                                ? corrections.constFirst()
                                : QStringLiteral("%1 (and %2 more channel fields read as the nearest valid value)")
                                      .arg(corrections.constFirst())
                                      .arg(corrections.size() - 1));
    });
}

void RadioCommands::setNotice(TR_and_W::Notice notice)
{
    m_notice = std::move(notice);
}

void RadioCommands::showNotice(QWidget *parent, const QString &caption, const QString &text)
{
    Q_UNUSED(parent);   // the confirmation dialog of start-up shows it, centred on the screen
    ::showNotice(caption, text);
}


// ---- The commands ----

void RadioCommands::gs1Click()
{
    runCommand(RadioTransfer::ReadKind);
}

void RadioCommands::N2Click()
{
    runCommand(RadioTransfer::WriteKind);
}

void RadioCommands::runCommand(int tag)
{
    // A pending channel edit is committed before the table is read as a whole, and every
    // overlay editor is hidden; a commit that failed has shown its message.
    if (!m_window.finishChannelEdit())
        return;
    // A read replaces the codeplug: edits not saved yet are saved or given up first.
    if (tag == RadioTransfer::ReadKind && !m_window.settleUnsavedEdits())
        return;
    // The notices speak the language the main window has loaded.
    const LanguageTexts texts = m_window.noticeTexts();
    m_dialog.setNoticeTexts(texts.LinkErrorCaption, texts.PortErrorText, texts.LinkErrorText);
    const PortProblemTexts portTexts = PortTexts::forLanguage(m_window.language(), m_window.executableDir());
    m_dialog.setPortTexts(portTexts);
    m_dialog.setLanguageTexts(texts);

    // The port entries as the port menu has them now, chosen devices included.
    const int port = m_window.comPort();
    m_transport.setPorts(m_window.ports());
    m_transport.setPortNumber(port);
    m_transport.setCableMode(m_window.singleHead() ? SerialTransport::SingleHead : SerialTransport::DualHead);
    if (!m_transport.ProbePort(port)) {
        m_notice(m_dialog.linkErrorCaption(),
                PortTexts::withReason(m_dialog.portErrorText(), portTexts.describe(m_transport.openProblem())));
        return;
    }

    const bool read = tag == RadioTransfer::ReadKind;
    m_dialog.prepare(tag, LanguageElements::withoutMnemonic(m_window.commandText(read)).trimmed(),
                    m_window.toolButtonText(read), m_window.fastLink(), m_window.verifyAfterWrite());
    m_dialog.setPortLine(QStringLiteral("COM%1").arg(port), m_transport.deviceName());

    m_dialog.openPort();
    m_dialog.setFixedHeight(TR_and_W::DialogHeight);
    m_runner(m_dialog);
}
