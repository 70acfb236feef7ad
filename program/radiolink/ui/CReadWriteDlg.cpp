#include "CReadWriteDlg.h"

#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "radiolink/PortMessages.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int ProgressBarId = 1003;
constexpr int PercentLabelId = 1005;
} // namespace

CReadWriteDlg::CReadWriteDlg(QWidget *parent)
    : QDialog(parent)
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
    connect(startButton, &QPushButton::clicked, this, &CReadWriteDlg::onStart);
    connect(cancelButton, &QPushButton::clicked, this, &CReadWriteDlg::reject);

    showMessage = [this](const QString &text) {
        QMessageBox::warning(this, resources().string(ResId::AppTitle), text, QMessageBox::Ok);
    };

    auto *bar = new QHBoxLayout;
    bar->addWidget(progressBar, 1);
    bar->addWidget(percentLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setReadFlag(true);
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

// Normally the worker has finished by now, since only its end closes the dialog; when the
// application quits in mid-transfer, the transfer object stops the worker and waits for it.
CReadWriteDlg::~CReadWriteDlg() = default;

void CReadWriteDlg::setReadFlag(bool read)
{
    m_read = read;
    progressBar->setRange(0, RadioTransfer::blockCount(read));
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
    auto transfer = std::make_unique<RadioTransfer>(m_read, PortName);
    connect(transfer.get(), &RadioTransfer::portOpened, this, &CReadWriteDlg::onPortOpened, Qt::QueuedConnection);
    connect(transfer.get(), &RadioTransfer::progress, this, &CReadWriteDlg::onProgress, Qt::QueuedConnection);
    connect(transfer.get(), &RadioTransfer::finished, this, &CReadWriteDlg::onFinished, Qt::QueuedConnection);
    m_success = false;
    if (!transfer->start())
        return;
    // From here on only the transfer's end closes the dialog, even before the port has opened
    // and the buttons are disabled.
    m_transfer = std::move(transfer);
    m_state = Running;
}

void CReadWriteDlg::onPortOpened()
{
    startButton->setEnabled(false);
    cancelButton->setEnabled(false);
}

void CReadWriteDlg::onProgress(int position, int upper)
{
    Q_UNUSED(upper);
    progressBar->setValue(position);
    percentLabel->setText(RadioTransfer::percentText(progressBar->value(), progressBar->maximum()));
}

void CReadWriteDlg::onFinished(RadioTransfer::Result result, const QByteArray &image)
{
    if (m_transfer)
        m_transfer->wait();
    m_success = result == RadioTransfer::Success;
    if (m_success && m_read)
        m_readImage = image;
    if (!m_success)
        showMessage(m_transfer ? transferFailureMessage(*m_transfer, LanguageIndex)
                               : RadioTransfer::failureText(result, LanguageIndex));
    m_state = Closed;
    done(m_success ? QDialog::Accepted : QDialog::Rejected);
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
