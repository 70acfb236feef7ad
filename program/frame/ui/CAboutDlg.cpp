#include "CAboutDlg.h"

#include "FrameIcons.h"
#include "base/ResourceLibrary.h"
#include "frame/Startup.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    const DialogResource res = resources().dialog(ResId::AboutDialog);
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(res.caption);

    iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("iconLabel"));
    iconLabel->setPixmap(applicationIcon().pixmap(32, 32));
    versionLabel = new QLabel(res.statics.value(1), this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    infoLabel = new QLabel(res.statics.value(2), this);
    infoLabel->setObjectName(QStringLiteral("infoLabel"));
    programVersionLabel = new QLabel(versionLine(), this);
    programVersionLabel->setObjectName(QStringLiteral("programVersionLabel"));
    programVersionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    programVersionLabel->setForegroundRole(QPalette::PlaceholderText);
    okButton = new QPushButton(res.controls.value(ResId::IdOk), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(iconLabel, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(versionLabel, 0, 1);
    grid->addWidget(infoLabel, 1, 1);
    grid->addWidget(programVersionLabel, 2, 1);
    grid->addWidget(okButton, 0, 2, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}
