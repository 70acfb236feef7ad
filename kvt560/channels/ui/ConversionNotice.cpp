#include "channels/ui/ConversionNotice.h"

#include "channels/ChannelTable.h"

#include <QMessageBox>
#include <QPointer>

void installConversionNotice(ChannelTable *table, QWidget *window)
{
    QPointer<QWidget> parent(window);
    QObject *context = window ? static_cast<QObject *>(window) : table;
    QObject::connect(table, &ChannelTable::conversionFailed, context, [parent](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("KVT560"),
                        ChannelTable::conversionMessage(text), QMessageBox::Ok, parent);
        box.setObjectName(QStringLiteral("conversionNotice"));
        box.exec();
    });
}
