#include "common/ui/PortMenu.h"

#include <QAction>
#include <QMenu>

namespace {
// A device's words in a menu caption: an ampersand is no mnemonic there.
QString menuSafe(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

PortMenu::PortMenu(QMenu *menu, const QMap<int, QAction *> &entries, std::unique_ptr<PortEntries> ports,
                   QObject *parent)
    : QObject(parent), m_menu(menu), m_entries(entries), m_ports(std::move(ports))
{
    if (m_menu)
        connect(m_menu, &QMenu::aboutToShow, this, &PortMenu::refresh);
}

PortMenu::~PortMenu() = default;

void PortMenu::refresh()
{
    if (!m_menu)
        return;
    const PortProblemTexts texts = m_ports->texts();
    const QList<SerialDevice> present = SerialPorts::available();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!it.value())
            continue;
        const QString device = m_ports->device(it.key(), present);
        it.value()->setText(m_ports->caption(it.key()) + QStringLiteral("  ")
                            + menuSafe(SerialPorts::entryText(device, present, texts.notConnected)));
    }

    qDeleteAll(m_devices);
    m_devices.clear();
    if (!m_separator) {
        m_separator = m_menu->addSeparator();
        m_separator->setObjectName(QStringLiteral("portDeviceSeparator"));
    }
    if (present.isEmpty()) {
        QAction *none = m_menu->addAction(texts.noDevice);
        none->setEnabled(false);
        m_devices << none;
    }
    for (const SerialDevice &d : present) {
        QAction *a = m_menu->addAction(menuSafe(d.menuText()));
        a->setObjectName(QStringLiteral("portDevice"));
        if (!d.stableName.isEmpty())
            a->setStatusTip(d.stableName);
        connect(a, &QAction::triggered, this, [this, d] { choose(d); });
        m_devices << a;
    }
}

bool PortMenu::choose(const SerialDevice &device)
{
    const bool stored = m_ports->remember(m_ports->chosen(), device.preferredName());
    refresh();
    return stored;
}
