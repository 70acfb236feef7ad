#include "PortMenu.h"

#include "CMainFrame.h"
#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "radiolink/PortDevice.h"
#include "radiolink/PortMessages.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
// A device's words in a menu caption: an ampersand is no mnemonic there.
QString menuSafe(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

PortMenu::PortMenu(CMainFrame &frame)
    : QObject(&frame), m_frame(frame)
{
    QAction *first = m_frame.action(ResId::Com1);
    const QList<QMenu *> menus = m_frame.menuBar()->findChildren<QMenu *>();
    for (QMenu *menu : menus)
        if (first && menu->actions().contains(first))
            m_menu = menu;
    for (int n = 1; n <= PortCount; ++n)
        if (QAction *a = m_frame.action(ResId::Com1 + n - 1))
            m_captions.insert(n, a->text());
    if (!m_menu)
        return;   // a translator's menu without the COM entries
    connect(m_menu, &QMenu::aboutToShow, this, &PortMenu::refresh);
}

void PortMenu::refresh()
{
    if (!m_menu)
        return;
    const PortProblemTexts texts = portMessages();
    const QList<SerialDevice> present = SerialPorts::available();
    const QMap<int, QString> mapped = mappedPorts(AppDirectory);
    for (auto it = m_captions.cbegin(); it != m_captions.cend(); ++it) {
        const QString device = SerialPorts::deviceFor(it.key(), mapped, present);
        m_frame.action(ResId::Com1 + it.key() - 1)
            ->setText(it.value() + QStringLiteral("  ")
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
    int number = portNumber(PortName);
    if (number < 1 || number > PortCount) {
        number = 1;
        m_frame.onPort(number);
    }
    const ProgramIni ini(AppDirectory);
    const bool saved = ini.write(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(number), device.preferredName());
    if (!saved)
        m_frame.showMessage(portMessages().other.arg(ini.path(), QStringLiteral("cannot be written")));
    refresh();
    return saved;
}
