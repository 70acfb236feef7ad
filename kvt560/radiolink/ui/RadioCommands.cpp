#include "radiolink/ui/RadioCommands.h"

#include "channels/ChannelTable.h"
#include "settings/SettingsStore.h"
#include "shell/PortTexts.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

namespace {

// A menu caption as a window title: without its mnemonic, "频率读出(&R)" -> "频率读出".
QString withoutMnemonic(QString caption)
{
    static const QRegularExpression suffix(QStringLiteral("\\(&.\\)"));
    caption.remove(suffix);
    caption.remove(QLatin1Char('&'));
    return caption.trimmed();
}

} // namespace

RadioCommands::RadioCommands(Tform1 &form, TR_and_W &dialog, QObject *parent)
    : QObject(parent), form_(form), dialog_(dialog)
{
    notice_ = [this](const QString &caption, const QString &text) { showNotice(&dialog_, caption, text); };
    dialog_.setLink(&transport_);
    dialog_.setEditor(this);
    dialog_.setNotice([this](const QString &caption, const QString &text) { notice_(caption, text); });
    runner_ = [](TR_and_W &d) { d.exec(); };

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

SettingsStore *RadioCommands::settingsStore() const
{
    return form_.settingsStore();
}

// ---- The commands ----

void RadioCommands::gs1Click()
{
    runCommand(RadioTransfer::ReadKind, form_.gs1, form_.readButton, RadioTransfer::ReadMaximum);
}

void RadioCommands::N2Click()
{
    runCommand(RadioTransfer::WriteKind, form_.N2, form_.writeButton, RadioTransfer::WriteMaximum);
}

void RadioCommands::runCommand(int tag, QAction *menuItem, QAbstractButton *toolButton, int gaugeMaximum)
{
    // A pending channel edit is committed before the table is read as a whole, and every
    // overlay editor is hidden; a commit that failed has shown its message.
    if (!form_.finishChannelEdit(true))
        return;
    // The notices speak the language the main window has loaded.
    dialog_.setNoticeTexts(form_.LinkErrorCaption, form_.PortErrorText, form_.LinkErrorText);
    const PortProblemTexts portTexts = PortTexts::forLanguage(form_.language(), form_.executableDir());
    dialog_.setPortTexts(portTexts);

    // The port entries as the port menu has them now, chosen devices included.
    transport_.setPorts(SerialTransport::portsOf(form_.preferencesFile()));
    transport_.setPortNumber(form_.comPort());
    transport_.setCableMode(form_.singleHead() ? SerialTransport::SingleHead : SerialTransport::DualHead);
    if (!transport_.ProbePort(form_.comPort())) {
        notice_(dialog_.linkErrorCaption(),
                PortTexts::withReason(dialog_.portErrorText(), portTexts.describe(transport_.openProblem())));
        return;
    }

    dialog_.setWindowTitle(withoutMnemonic(menuItem->text()));
    if (tag == RadioTransfer::ReadKind)
        dialog_.bsSkinButton1->setEnabled(true);
    dialog_.bsSkinButton1->setText(toolButton->text());
    dialog_.Tag = tag;
    dialog_.bsSkinGauge1->setValue(0);
    dialog_.bsSkinGauge1->setMaximum(gaugeMaximum);

    dialog_.openPort();
    dialog_.setFixedHeight(TR_and_W::DialogHeight);
    runner_(dialog_);
}

// ---- The main window as the codeplug ----

Codeplug RadioCommands::codeplug() const
{
    Codeplug c;
    c.channels = form_.channelTable()->cells();
    c.settings = settingsStore()->snapshot();
    // The band controls belong to the main window itself.
    c.settings.set(QStringLiteral("bsSkinCheckRadioBox14"), form_.bsSkinCheckRadioBox14->isChecked() ? 1 : 0);
    if (form_.bsSkinComboBox22->currentIndex() >= 0)
        c.settings.set(QStringLiteral("bsSkinComboBox22"), form_.bsSkinComboBox22->currentIndex());
    for (QComboBox *box : {form_.bsSkinComboBox20, form_.bsSkinComboBox21, form_.bsSkinComboBox6, form_.bsSkinComboBox11})
        c.bandRanges.append(box->currentText());
    return c;
}

Marks RadioCommands::marks() const
{
    return form_.marks();
}

QString RadioCommands::activeReceiveRange() const
{
    return form_.activeReceiveRange();
}

void RadioCommands::applyReadCodeplug(const Codeplug &codeplug)
{
    form_.channelTable()->setCells(codeplug.channels);
    settingsStore()->apply(codeplug.settings);

    const bool bandChange = codeplug.settings.number(QStringLiteral("bsSkinCheckRadioBox14")) == 1;
    form_.setBandChangeByKeypad(bandChange);
    if (bandChange)
        form_.bsSkinComboBox22->setCurrentIndex(codeplug.settings.number(QStringLiteral("bsSkinComboBox22")));

    const QList<QComboBox *> lists{form_.bsSkinComboBox20, form_.bsSkinComboBox21, form_.bsSkinComboBox6,
                                   form_.bsSkinComboBox11};
    for (int i = 0; i < lists.size() && i < codeplug.bandRanges.size(); ++i)
        if (!codeplug.bandRanges.at(i).isEmpty())
            Tform1::addOrSelectRange(lists.at(i), codeplug.bandRanges.at(i));

    // The single-channel page loads its channel anew; it is found by its handler, so the
    // radio link needs no knowledge of the page's class.
    const QList<QObject *> children = form_.findChildren<QObject *>();
    for (QObject *child : children) {
        if (child->metaObject()->indexOfSlot("bsSkinTabSheet10Show()") >= 0) {
            QMetaObject::invokeMethod(child, "bsSkinTabSheet10Show");
            break;
        }
    }
    emit readApplied();
}

void RadioCommands::selectVfoMode()
{
    settingsStore()->setValue(QStringLiteral("bsSkinComboBox7"), 1);
    settingsStore()->setValue(QStringLiteral("bsSkinComboBox12"), 1);
}

void RadioCommands::hideCallListEditor()
{
    if (auto *editor = form_.findChild<QWidget *>(QStringLiteral("bsSkinEdit14")))
        editor->hide();
}
