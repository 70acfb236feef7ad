#include "radiolink/ui/TR_and_W.h"
#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"

#include "radiolink/MemoryLayout.h"
#include "radiolink/RadioLink.h"
#include "common/VerifiedWrite.h"
#include "shell/PortTexts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int DialogWidth = 380;
}

TR_and_W::TR_and_W(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TR_and_W"));
    setModal(true);
    setFixedSize(DialogWidth, DialogHeight);

    bsSkinGauge1 = new QProgressBar(this);
    bsSkinGauge1->setObjectName(QStringLiteral("bsSkinGauge1"));
    bsSkinGauge1->setRange(0, RadioTransfer::ReadMaximum);
    bsSkinGauge1->setValue(0);
    bsSkinGauge1->setTextVisible(true);

    bsSkinButton1 = new QPushButton(QStringLiteral("读频"), this);
    bsSkinButton1->setObjectName(QStringLiteral("bsSkinButton1"));
    bsSkinButton1->setDefault(true);
    bsSkinButton2 = new QPushButton(QStringLiteral("关闭"), this);
    bsSkinButton2->setObjectName(QStringLiteral("bsSkinButton2"));
    bsSkinButton2->setAutoDefault(false);
    stopButton = new QPushButton(QStringLiteral("停止"), this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->setAutoDefault(false);
    stopButton->setEnabled(false);
    portLabel = new QLabel(this);
    portLabel->setObjectName(QStringLiteral("portLabel"));
    portLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    fastLinkBox = new QCheckBox(QStringLiteral("快速通信"), this);
    fastLinkBox->setObjectName(QStringLiteral("fastLinkBox"));
    verifyBox = new QCheckBox(QStringLiteral("写入后校验"), this);
    verifyBox->setObjectName(QStringLiteral("verifyBox"));
    verifyBox->setChecked(true);
    verifyStatus = new QLabel(this);
    verifyStatus->setObjectName(QStringLiteral("verifyStatus"));

    bsSkinStatusPanel1 = new QLabel(QStringLiteral("     DORVAK 对讲机编程软件"), this);
    bsSkinStatusPanel1->setObjectName(QStringLiteral("bsSkinStatusPanel1"));
    bsSkinStatusPanel1->setFrameShape(QFrame::StyledPanel);
    bsSkinStatusPanel1->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bsSkinButton1);
    buttons->addSpacing(12);
    buttons->addWidget(stopButton);
    buttons->addSpacing(12);
    buttons->addWidget(bsSkinButton2);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(24, 12, 24, 12);
    body->setSpacing(4);
    body->addWidget(portLabel);
    body->addWidget(bsSkinGauge1);
    body->addWidget(fastLinkBox);
    body->addWidget(verifyBox);
    body->addWidget(verifyStatus);
    body->addStretch();
    body->addLayout(buttons);
    body->addStretch();
    layout->addLayout(body, 1);
    layout->addWidget(bsSkinStatusPanel1);

    connect(bsSkinButton1, &QPushButton::clicked, this, &TR_and_W::bsSkinButton1Click);
    connect(bsSkinButton2, &QPushButton::clicked, this, &TR_and_W::bsSkinButton2Click);
    connect(stopButton, &QPushButton::clicked, this, &TR_and_W::stopButtonClick);
    confirmStop = [this] {
        return QMessageBox::question(this, windowTitle(), m_texts.StopWriteQuestion, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No)
            == QMessageBox::Yes;
    };
    connect(fastLinkBox, &QCheckBox::toggled, this, &TR_and_W::fastLinkToggled);
    connect(verifyBox, &QCheckBox::toggled, this, &TR_and_W::verifyToggled);
}

void TR_and_W::prepare(int kind, const QString &title, const QString &startText, bool fastLink, bool verify)
{
    setWindowTitle(title);
    if (kind == RadioTransfer::ReadKind)
        bsSkinButton1->setEnabled(true);
    bsSkinButton1->setText(startText);
    Tag = kind;
    bsSkinGauge1->setValue(0);
    bsSkinGauge1->setMaximum(kind == RadioTransfer::ReadKind ? RadioTransfer::ReadMaximum : RadioTransfer::WriteMaximum);
    fastLinkBox->setChecked(fastLink);
    verifyBox->setChecked(verify);
    verifyBox->setVisible(kind == RadioTransfer::WriteKind);
    verifyStatus->clear();
}

void TR_and_W::setPortLine(const QString &portName, const QString &device)
{
    m_portName = portName;
    m_portDevice = device;
    portLabel->setText(device.isEmpty() ? m_texts.TransferNoDeviceText.arg(portName)
                                        : m_texts.TransferPortText.arg(portName, device));
}

void TR_and_W::setNoticeTexts(const QString &caption, const QString &portText, const QString &linkText)
{
    m_linkErrorCaption = caption;
    m_portErrorText = portText;
    m_linkErrorText = linkText;
}

void TR_and_W::notify(const QString &text)
{
    notify(m_linkErrorCaption, text);
}

void TR_and_W::notify(const QString &caption, const QString &text)
{
    if (m_notice)
        m_notice(caption, text);
}

QString TR_and_W::portNotice() const
{
    return PortTexts::withReason(m_portErrorText, m_link ? m_portTexts.describe(m_link->openProblem()) : QString());
}

QString TR_and_W::linkNotice() const
{
    if (!m_link || !m_link->deviceLost())
        return m_linkErrorText;
    return PortTexts::withReason(m_linkErrorText, m_portTexts.lost(m_link->openedDevice(), Tag == RadioTransfer::WriteKind));
}

bool TR_and_W::openPort()
{
    if (!m_link)
        return false;
    if (m_link->open())
        return true;
    notify(portNotice());
    return false;
}

void TR_and_W::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TR_and_W::FormShow()
{
    // Without a channel in the active band the radio starts in VFO mode.
    m_firstChannel = m_document ? m_document->prepareTransfer() : quint8(0xFF);
    emit shownForTransfer();
    bsSkinButton1->setFocus();
}

void TR_and_W::setGauge(int value)
{
    bsSkinGauge1->setValue(qBound(0, value, bsSkinGauge1->maximum()));
}

void TR_and_W::bsSkinButton1Click()
{
    if (m_running || !m_link)
        return;
    m_running = true;
    bsSkinButton1->setEnabled(false);
    fastLinkBox->setEnabled(false);
    verifyBox->setEnabled(false);
    stopButton->setEnabled(true);
    stopButton->setFocus(Qt::OtherFocusReason);   // the one button left to the keyboard
    m_stoppedCheck = false;
    setGauge(0);
    m_lastCheck = Check::NotRun;
    m_lastDifferences.clear();
    verifyStatus->clear();

    LinkTiming timing = m_timing;
    timing.fastLink = fastLinkBox->isChecked();
    RadioTransfer transfer(*m_link, timing);
    if (m_document)
        transfer.setMarks(m_document->channels()->marks());
    connect(&transfer, &RadioTransfer::progress, this, &TR_and_W::setGauge);
    Codeplug codeplug = m_document ? m_document->snapshot() : Codeplug();
    m_transfer = &transfer;
    m_lastOutcome = transfer.run(Tag, codeplug, m_firstChannel);
    m_transfer = nullptr;
    m_lastMemoryRead = transfer.memoryRead();
    if (m_lastOutcome == RadioTransfer::Outcome::Success && Tag == RadioTransfer::WriteKind && verifyBox->isChecked())
        verifyWrite(transfer, codeplug, timing);
    if (m_lastOutcome == RadioTransfer::Outcome::Success && m_document) {
        // The document now holds what the radio holds; after a check that found differences
        // it still differs from the radio.
        if (Tag == RadioTransfer::ReadKind)
            m_document->applyRead(codeplug);
        else if (m_lastCheck != Check::Failed)
            m_document->markSaved();
        if (!transfer.corrections().isEmpty())
            emit valuesCorrected(transfer.corrections());
    }

    bsSkinButton1->setEnabled(true);
    fastLinkBox->setEnabled(true);
    verifyBox->setEnabled(true);
    stopButton->setEnabled(false);
    bsSkinButton1->setFocus(Qt::OtherFocusReason);
    m_running = false;
    if (m_lastOutcome == RadioTransfer::Outcome::Stopped)
        notify(windowTitle(), stoppedNotice(transfer, m_stoppedCheck));
    else if (m_lastCheck == Check::Failed)
        notify(m_texts.VerifyFailedCaption, differencesNotice(m_lastDifferences));
    else if (m_lastOutcome == RadioTransfer::Outcome::LinkError)
        notify(linkNotice());
    else if (m_lastOutcome == RadioTransfer::Outcome::PortError)
        notify(portNotice());
    else if (m_lastOutcome == RadioTransfer::Outcome::Refused)
        notify(transfer.refusal());
    emit transferFinished(m_lastOutcome);
}

void TR_and_W::verifyWrite(const RadioTransfer &write, const Codeplug &sent, const LinkTiming &timing)
{
    verifyStatus->setText(m_texts.VerifyingText);
    const int writeMaximum = bsSkinGauge1->maximum();
    bsSkinGauge1->setMaximum(RadioTransfer::ReadMaximum);
    setGauge(0);

    const Marks marks = m_document ? m_document->channels()->marks() : Marks();
    RadioTransfer readBack(*m_link, timing);
    readBack.setMarks(marks);
    connect(&readBack, &RadioTransfer::progress, this, &TR_and_W::setGauge);
    Codeplug inRadio = sent;
    m_transfer = &readBack;
    m_checking = true;
    const RadioTransfer::Outcome outcome = readBack.run(RadioTransfer::ReadKind, inRadio, 0xFF);
    m_checking = false;
    m_transfer = nullptr;
    m_stoppedCheck = outcome == RadioTransfer::Outcome::Stopped;
    const LanguageTexts &texts = m_texts;
    const VerifiedWrite::Result check = VerifiedWrite::checked(
        outcome == RadioTransfer::Outcome::Success ? std::optional<QByteArray>(readBack.memoryRead()) : std::nullopt,
        [&](const QByteArray &memory) {
            return asDifferences(compareMemory(write.memoryWritten(), memory,
                                               MemoryLayout::readBackBlocks(write.blocksWritten()), QStringLiteral("the file"),
                                               QStringLiteral("the radio"), marks,
                                               [&texts](const QString &name, int index) { return texts.itemText(name, index); }));
        });
    m_lastDifferences = check.differences;
    if (check.outcome == VerifiedWrite::Outcome::CheckFailed) {
        // The write went through, but whether the radio holds it is not known.
        m_lastOutcome = outcome;
        m_lastCheck = Check::Incomplete;
        verifyStatus->clear();
    } else {
        m_lastCheck = check.ok() ? Check::Passed : Check::Failed;
        verifyStatus->setText(m_lastCheck == Check::Passed ? m_texts.VerifyPassedText : m_texts.VerifyFailedStatus);
    }
    bsSkinGauge1->setMaximum(writeMaximum);
    setGauge(m_lastCheck == Check::Passed ? writeMaximum : 0);
}

QString TR_and_W::differencesNotice(const QList<Difference> &differences) const
{
    return differenceNotice({m_texts.VerifyFailedText, m_texts.MoreDifferencesText, m_texts.VerifyAdviceText}, differences,
                            MaxListedDifferences);
}

void TR_and_W::stopButtonClick()
{
    if (!m_running || !m_transfer)
        return;
    // A write that is stopped leaves the radio partly written: the user agrees first. The
    // check after a write only reads, so it stops at once.
    if (Tag == RadioTransfer::WriteKind && !m_checking) {
        if (!confirmStop || !confirmStop())
            return;
        if (!m_running || !m_transfer || m_checking)
            return;   // the write ended while the question was open
    }
    stopButton->setEnabled(false);
    m_transfer->requestStop();
}

QString TR_and_W::stoppedNotice(const RadioTransfer &transfer, bool checking) const
{
    if (checking)
        return m_texts.CheckStoppedText;
    if (Tag == RadioTransfer::ReadKind)
        return m_texts.ReadStoppedText;
    const int written = int(transfer.blocksWritten().size());
    if (written == 0)
        return m_texts.WriteStoppedBeforeText;
    return m_texts.WriteStoppedText.arg(written).arg(transfer.writeBlockCount());
}

void TR_and_W::bsSkinButton2Click()
{
    close();
}

void TR_and_W::closeEvent(QCloseEvent *event)
{
    // FormCloseQuery: no closing while a transfer runs.
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// Every way of closing (the close button, the window's close command, Escape) ends here.
void TR_and_W::done(int result)
{
    if (m_running)
        return;
    FormClose();
    QDialog::done(result);
}

void TR_and_W::FormClose()
{
    if (m_link)
        m_link->close();
}
