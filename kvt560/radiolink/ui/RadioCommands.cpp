#include "radiolink/ui/RadioCommands.h"

#include "codeplug/CodeplugDocument.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/ReadBackup.h"
#include "shell/LanguageElements.h"
#include "shell/PortTexts.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"



RadioCommands::RadioCommands(Tform1 &form, TR_and_W &dialog, QObject *parent)
    : QObject(parent), form_(form), dialog_(dialog)
{
    notice_ = [this](const QString &caption, const QString &text) { showNotice(&dialog_, caption, text); };
    dialog_.setLink(&transport_);
    dialog_.setDocument(form_.document());
    dialog_.setNotice([this](const QString &caption, const QString &text) { notice_(caption, text); });
    runner_ = [](TR_and_W &d) { d.exec(); };

    connect(&dialog_, &TR_and_W::fastLinkToggled, this, [this](bool on) { form_.setFastLink(on); });
    connect(&dialog_, &TR_and_W::verifyToggled, this, [this](bool on) { form_.setVerifyAfterWrite(on); });
    // The call list editor is hidden when the dialog opens.
    connect(&dialog_, &TR_and_W::shownForTransfer, this, [this] { form_.hideCallListEditor(); });
    connect(&dialog_, &TR_and_W::transferFinished, this, [this](RadioTransfer::Outcome outcome) {
        if (outcome == RadioTransfer::Outcome::Success && dialog_.Tag == RadioTransfer::ReadKind) {
            // A copy of the read in the backups folder; one that fails does not fail the read,
            // but the status bar and standard error say so.
            QString error;
            const QByteArray file = CodeplugFile::write(form_.document()->snapshot());
            if (!ReadBackup::write(dialog_.lastMemoryRead(), file, form_.preferencesPaths().readPath, &error)) {
                qWarning("KVT560: %s", qPrintable(ReadBackup::failureText(error)));
                form_.setStatusText(form_.noticeTexts().BackupFailedText.arg(error));
            }
            emit readApplied();
        }
    });
    connect(this, &RadioCommands::readApplied, &form_, &Tform1::showReadChannel);
    // Values the radio should not hold: every field on standard error, the first (and how
    // many there are) on the status bar.
    connect(&dialog_, &TR_and_W::valuesCorrected, this, [this](const QStringList &corrections) {
        for (const QString &c : corrections)
            qWarning("KVT560: %s", qPrintable(c));
        form_.setStatusText(corrections.size() == 1
                                ? corrections.constFirst()
                                : QStringLiteral("%1 (and %2 more channel fields read as the nearest valid value)")
                                      .arg(corrections.constFirst())
                                      .arg(corrections.size() - 1));
    });
    connect(&form_, &Tform1::readRadioRequested, this, &RadioCommands::gs1Click);
    connect(&form_, &Tform1::writeRadioRequested, this, &RadioCommands::N2Click);
}

void RadioCommands::setNotice(TR_and_W::Notice notice)
{
    notice_ = std::move(notice);
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
    if (!form_.finishChannelEdit(true))
        return;
    // A read replaces the codeplug: edits not saved yet are saved or given up first.
    if (tag == RadioTransfer::ReadKind && !form_.settleUnsavedEdits())
        return;
    // The notices speak the language the main window has loaded.
    dialog_.setNoticeTexts(form_.LinkErrorCaption, form_.PortErrorText, form_.LinkErrorText);
    const PortProblemTexts portTexts = PortTexts::forLanguage(form_.language(), form_.executableDir());
    dialog_.setPortTexts(portTexts);
    dialog_.setLanguageTexts(form_.noticeTexts());

    // The port entries as the port menu has them now, chosen devices included.
    transport_.setPorts(SerialTransport::portsOf(form_.preferencesFile()));
    transport_.setPortNumber(form_.comPort());
    transport_.setCableMode(form_.singleHead() ? SerialTransport::SingleHead : SerialTransport::DualHead);
    if (!transport_.ProbePort(form_.comPort())) {
        notice_(dialog_.linkErrorCaption(),
                PortTexts::withReason(dialog_.portErrorText(), portTexts.describe(transport_.openProblem())));
        return;
    }

    using Command = Tform1::Command;
    const Command command = tag == RadioTransfer::ReadKind ? Command::ReadRadio : Command::WriteRadio;
    dialog_.prepare(tag, LanguageElements::withoutMnemonic(form_.commandText(command)).trimmed(),
                    form_.toolButtonText(command), form_.fastLink(), form_.verifyAfterWrite());

    dialog_.openPort();
    dialog_.setFixedHeight(TR_and_W::DialogHeight);
    runner_(dialog_);
}
