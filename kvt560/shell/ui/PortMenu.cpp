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
    : QObject(&form), m_form(form)
{
    connect(m_form.gsegs1, &QMenu::aboutToShow, this, &PortMenu::refresh);
}

void PortMenu::refresh()
{
    const PortProblemTexts texts = PortTexts::forLanguage(m_form.language(), m_form.executableDir());
    const QList<SerialDevice> present = SerialPorts::available();
    const QMap<int, QString> ports = SerialTransport::portsOf(m_form.preferencesFile());

    QAction *const entries[] = {m_form.COM11, m_form.COM21, m_form.COM31, m_form.COM41};
    for (int n = 1; n <= SerialTransport::PortCount; ++n) {
        const QString device = SerialTransport::portDeviceName(n, ports);
        entries[n - 1]->setText(QStringLiteral("COM&%1  ").arg(n)
                                + menuSafe(SerialPorts::entryText(device, present, texts.notConnected)));
    }

    QMenu *menu = m_form.gsegs1;
    qDeleteAll(m_devices);
    m_devices.clear();
    if (!m_separator) {
        m_separator = menu->addSeparator();
        m_separator->setObjectName(QStringLiteral("portDeviceSeparator"));
    }
    if (present.isEmpty()) {
        QAction *none = menu->addAction(texts.noDevice);
        none->setEnabled(false);
        m_devices << none;
    }
    for (const SerialDevice &d : present) {
        QAction *a = menu->addAction(menuSafe(d.menuText()));
        a->setObjectName(QStringLiteral("portDevice"));
        if (!d.stableName.isEmpty())
            a->setStatusTip(d.stableName);
        connect(a, &QAction::triggered, this, [this, d] { choose(d); });
        m_devices << a;
    }
}

void PortMenu::choose(const SerialDevice &device)
{
    m_form.preferencesFile().setValue(QStringLiteral("ports"), QStringLiteral("COM%1").arg(m_form.comPort()),
                                     device.preferredName());
    refresh();
}
