#include "CReadWriteDlg.h"

#include "base/Globals.h"
#include "common/VerifiedWrite.h"
#include "files/CProgramDoc.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "model/ImageComparison.h"
#include "radiolink/PortDevice.h"
#include "radiolink/PortMessages.h"
#include "radiolink/TransferMessages.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {
constexpr int ProgressBarId = 1003;
constexpr int PercentLabelId = 1005;
constexpr int VerifyCheckId = 1006;

// Where the check box's state is kept in Program.ini.
const QString VerifySection = QStringLiteral("Setup");
const QString VerifyKey = QStringLiteral("Verify");
} // namespace

bool CReadWriteDlg::verifySetting(const QString &appDirectory)
{
    return ProgramIni(appDirectory).read(VerifySection, VerifyKey).trimmed() != QLatin1String("0");
}

CReadWriteDlg::CReadWriteDlg(CProgramDoc *document, const QString &portName, const QString &appDirectory,
                             QWidget *parent)
    : QDialog(parent), m_document(document), m_portName(portName), m_appDirectory(appDirectory)
{
    const DialogResource res = resources().dialog(ResId::ReadWriteDialog);
    setObjectName(QStringLiteral("CReadWriteDlg"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setTextVisible(false);
    progressBar->setValue(0);
    percentLabel = new QLabel(res.controls.value(PercentLabelId, QStringLiteral("0%")), this);
    percentLabel->setObjectName(QStringLiteral("percentLabel"));
    percentLabel->setMinimumWidth(percentLabel->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    percentLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    startButton = new QPushButton(res.controls.value(ResId::IdOk), this);
    startButton->setObjectName(QStringLiteral("startButton"));
    startButton->setDefault(true);
    startButton->setAutoDefault(true);
    cancelButton = new QPushButton(res.controls.value(ResId::IdCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    stopButton = new QPushButton(stopButtonText(LanguageIndex), this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->setAutoDefault(false);
    stopButton->setEnabled(false);
    portLabel = new QLabel(transferPortText(LanguageIndex, m_portName, portDevice(m_portName, m_appDirectory)), this);
    portLabel->setObjectName(QStringLiteral("portLabel"));
    portLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    verifyCheckBox = new QCheckBox(res.controls.value(VerifyCheckId), this);
    verifyCheckBox->setObjectName(QStringLiteral("verifyCheckBox"));
    verifyCheckBox->setChecked(verifySetting(m_appDirectory));
    connect(verifyCheckBox, &QCheckBox::clicked, this, &CReadWriteDlg::storeVerifySetting);
    connect(startButton, &QPushButton::clicked, this, &CReadWriteDlg::onStart);
    connect(cancelButton, &QPushButton::clicked, this, &CReadWriteDlg::reject);
    connect(stopButton, &QPushButton::clicked, this, &CReadWriteDlg::onStop);

    showMessage = [this](const QString &caption, const QString &text) {
        QMessageBox::warning(this, caption, text, QMessageBox::Ok);
    };
    confirmStop = [this] {
        // Kept so that a transfer ending while the question is open can close it.
        QMessageBox box(QMessageBox::Question, resources().string(ResId::AppTitle), stopWriteQuestion(LanguageIndex),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::No);
        m_stopQuestion = &box;
        return box.exec() == QMessageBox::Yes;
    };
    // A line under the check box, kept free for the confirmation of a checked write.
    checkLabel = new QLabel(this);
    checkLabel->setObjectName(QStringLiteral("checkLabel"));
    checkLabel->setMinimumHeight(checkLabel->fontMetrics().height());

    auto *bar = new QHBoxLayout;
    bar->addWidget(progressBar, 1);
    bar->addWidget(percentLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(stopButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(portLabel);
    layout->addLayout(bar);
    layout->addWidget(verifyCheckBox);
    layout->addWidget(checkLabel);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    // Tab goes along the button row first, then up to the check box above it.
    QWidget::setTabOrder(startButton, cancelButton);
    QWidget::setTabOrder(cancelButton, stopButton);
    QWidget::setTabOrder(stopButton, verifyCheckBox);
    setReadFlag(true);
}

// Normally the worker has finished by now, since only its end closes the dialog; when the
// application quits in mid-transfer, the transfer object stops the worker and waits for it.
CReadWriteDlg::~CReadWriteDlg() = default;

void CReadWriteDlg::setReadFlag(bool read)
{
    m_read = read;
    progressBar->setRange(0, RadioTransfer::blockCount(read));
    verifyCheckBox->setVisible(!read);
    checkLabel->setVisible(!read);
    layout()->invalidate();
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

bool CReadWriteDlg::verifyAfterWriting() const
{
    return verifyCheckBox->isChecked();
}

void CReadWriteDlg::storeVerifySetting(bool on)
{
    const ProgramIni ini(m_appDirectory);
    QString reason;
    if (!ini.write(VerifySection, VerifyKey, on ? QStringLiteral("1") : QStringLiteral("0"), &reason))
        std::fprintf(stderr, "Program: could not write %s: %s\n", qPrintable(ini.path()), qPrintable(reason));
}

void CReadWriteDlg::setTitle(const QString &title)
{
    m_title = title;
    setWindowTitle(title);
}

void CReadWriteDlg::onStart()
{
    if (m_state != Ready || TransferBusy.load() != 0)
        return;
    m_success = false;
    m_verified = false;
    checkLabel->clear();
    m_verifying = !m_read && verifyCheckBox->isChecked();
    if (!startTransfer(m_read, &CReadWriteDlg::onFinished))
        return;
    // From here on only the transfer's end closes the dialog, even before the port has opened
    // and the buttons are disabled.
    m_state = Running;
    verifyCheckBox->setEnabled(false);
    stopButton->setEnabled(true);
}

bool CReadWriteDlg::startTransfer(bool read, void (CReadWriteDlg::*done)(RadioTransfer::Result, const QByteArray &))
{
    // A write sends the document's image with its values stored; a read (also the read-back
    // of a write) fills a copy of it.
    auto transfer = std::make_unique<RadioTransfer>(read, m_portName,
                                                    read ? m_document->imageBytes() : m_document->imageForWrite(),
                                                    m_appDirectory);
    connect(transfer.get(), &RadioTransfer::portOpened, this, &CReadWriteDlg::onPortOpened, Qt::QueuedConnection);
    connect(transfer.get(), &RadioTransfer::progress, this, &CReadWriteDlg::onProgress, Qt::QueuedConnection);
    connect(transfer.get(), &RadioTransfer::finished, this, done, Qt::QueuedConnection);
    if (!transfer->start())
        return false;
    // A finished transfer before this one (the write before its read-back) stays until the
    // dialog goes: its signal may still be on its way to this slot's caller.
    if (m_transfer)
        m_done.push_back(std::move(m_transfer));
    m_transfer = std::move(transfer);
    return true;
}

void CReadWriteDlg::onPortOpened()
{
    const bool focusInside = startButton->hasFocus() || cancelButton->hasFocus();
    startButton->setEnabled(false);
    cancelButton->setEnabled(false);
    // Stop is the one button left to the keyboard.
    if (focusInside || !focusWidget() || !focusWidget()->isEnabled())
        stopButton->setFocus(Qt::OtherFocusReason);
}

void CReadWriteDlg::onProgress(int position, int upper)
{
    Q_UNUSED(upper);
    progressBar->setValue(position);
    percentLabel->setText(RadioTransfer::percentText(progressBar->value(), progressBar->maximum()));
    // A screen reader follows the bar.
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(progressBar, position);
        QAccessible::updateAccessibility(&event);
    }
}

void CReadWriteDlg::onStop()
{
    if (m_state != Running || !m_transfer)
        return;
    // Stopping the read-back of a write leaves the write unchecked; nothing more is lost.
    if (!m_read && !m_checking) {
        const bool stop = confirmStop();
        // The transfer may have ended while the question was open.
        if (!stop || m_state != Running || m_checking)
            return;
    }
    stopButton->setEnabled(false);
    m_transfer->requestStop();
}

void CReadWriteDlg::onFinished(RadioTransfer::Result result, const QByteArray &image)
{
    if (m_transfer)
        m_transfer->wait();
    m_success = result == RadioTransfer::Success;
    if (m_success && m_read)
        m_readImage = image;
    if (result == RadioTransfer::Stopped) {
        showMessage(resources().string(ResId::AppTitle),
                    transferStoppedText(LanguageIndex, m_read, m_transfer ? m_transfer->blocksDone() : 0,
                                        RadioTransfer::blockCount(m_read)));
        finish();
        return;
    }
    if (!m_success) {
        showMessage(resources().string(ResId::AppTitle),
                    m_transfer ? transferFailureMessage(*m_transfer, LanguageIndex)
                               : RadioTransfer::failureText(result, LanguageIndex));
        finish();
        return;
    }
    if (m_verifying) {
        // The write's image is what it sent. The bar now follows the read-back.
        m_sent = image;
        progressBar->setRange(0, RadioTransfer::blockCount(true));
        progressBar->setValue(0);
        percentLabel->setText(RadioTransfer::percentText(0, progressBar->maximum()));
        m_checking = true;
        if (!startTransfer(true, &CReadWriteDlg::onVerifyFinished)) {
            showMessage(resources().string(ResId::AppTitle), RadioTransfer::failureText(RadioTransfer::Busy, LanguageIndex));
            finish();
        }
        return;
    }
    finish();
}

void CReadWriteDlg::onVerifyFinished(RadioTransfer::Result result, const QByteArray &image)
{
    if (m_transfer)
        m_transfer->wait();
    if (result == RadioTransfer::Stopped) {
        showMessage(resources().string(ResId::AppTitle), checkStoppedText(LanguageIndex));
        finish();
        return;
    }
    if (result != RadioTransfer::Success) {
        showMessage(resources().string(ResId::AppTitle),
                    m_transfer ? transferFailureMessage(*m_transfer, LanguageIndex)
                               : RadioTransfer::failureText(result, LanguageIndex));
        finish();
        return;
    }
    // Only the parts a write sends can hold what was sent.
    const VerifiedWrite::Result check = VerifiedWrite::checked(image, [this](const QByteArray &inRadio) {
        return asDifferences(compareImages(m_sent, inRadio, writtenImageName(LanguageIndex),
                                           radioMemoryName(LanguageIndex), writtenRanges()));
    });
    m_verified = check.ok();
    if (!m_verified) {
        showMessage(notVerifiedCaption(LanguageIndex), notVerifiedText(LanguageIndex, check.differences));
        finish();
        return;
    }
    // The confirmation stays in view a moment; the dialog then closes as after any transfer.
    checkLabel->setText(writtenAndCheckedText(LanguageIndex));
    stopButton->setEnabled(false);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(checkLabel, QAccessible::Alert);
        QAccessible::updateAccessibility(&event);
    }
    QTimer::singleShot(confirmationMs, this, [this] {
        if (m_state != Closed)
            finish();
    });
}

void CReadWriteDlg::finish()
{
    m_state = Closed;
    stopButton->setEnabled(false);
    if (m_stopQuestion)
        m_stopQuestion->reject();
    done((m_read ? m_success : written()) ? QDialog::Accepted : QDialog::Rejected);
}

void CReadWriteDlg::reject()
{
    if (m_state == Running)
        return;
    m_state = Closed;
    QDialog::reject();
}

void CReadWriteDlg::closeEvent(QCloseEvent *event)
{
    if (m_state == Running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
