#include "shell/ui/PortMenu.h"

#include "radiolink/SerialTransport.h"
#include "shell/PortTexts.h"
#include "shell/ui/Tform1.h"

#include <QAction>
#include <QMenu>

namespace {
// A device's words in a menu caption: an ampersand is no mnemonic there.
QString menuSafe(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

PortMenu::PortMenu(Tform1 &form)
    : QObject(&form), form_(form)
{
    connect(form_.gsegs1, &QMenu::aboutToShow, this, &PortMenu::refresh);
}

void PortMenu::refresh()
{
    const PortProblemTexts texts = PortTexts::forLanguage(form_.language(), form_.executableDir());
    const QList<SerialDevice> present = SerialPorts::available();
    const QMap<int, QString> ports = SerialTransport::portsOf(form_.preferencesFile());

    QAction *const entries[] = {form_.COM11, form_.COM21, form_.COM31, form_.COM41};
    for (int n = 1; n <= SerialTransport::PortCount; ++n) {
        const QString device = SerialTransport::portDeviceName(n, ports);
        entries[n - 1]->setText(QStringLiteral("COM&%1  ").arg(n)
                                + menuSafe(SerialPorts::entryText(device, present, texts.notConnected)));
    }

    QMenu *menu = form_.gsegs1;
    qDeleteAll(devices_);
    devices_.clear();
    if (!separator_) {
        separator_ = menu->addSeparator();
        separator_->setObjectName(QStringLiteral("portDeviceSeparator"));
    }
    if (present.isEmpty()) {
        QAction *none = menu->addAction(texts.noDevice);
        none->setEnabled(false);
        devices_ << none;
    }
    for (const SerialDevice &d : present) {
        QAction *a = menu->addAction(menuSafe(d.menuText()));
        a->setObjectName(QStringLiteral("portDevice"));
        if (!d.stableName.isEmpty())
            a->setStatusTip(d.stableName);
        connect(a, &QAction::triggered, this, [this, d] { choose(d); });
        devices_ << a;
    }
}

void PortMenu::choose(const SerialDevice &device)
{
    form_.preferencesFile().setValue(QStringLiteral("ports"), QStringLiteral("COM%1").arg(form_.comPort()),
                                     device.preferredName());
    refresh();
}
