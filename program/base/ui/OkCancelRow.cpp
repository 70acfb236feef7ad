#include "OkCancelRow.h"

#include "base/ResourceLibrary.h"

#include <QDialog>
#include <QPushButton>

OkCancelRow makeOkCancelRow(QDialog *dialog, const DialogResource &resource)
{
    OkCancelRow row;
    row.ok = new QPushButton(resource.controls.value(ResId::IdOk), dialog);
    row.ok->setObjectName(QStringLiteral("okButton"));
    row.ok->setDefault(true);
    row.cancel = new QPushButton(resource.controls.value(ResId::IdCancel), dialog);
    row.cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(row.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row.layout = new QHBoxLayout;
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    return row;
}
