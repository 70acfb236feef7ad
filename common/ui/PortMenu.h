#pragma once
// The serial port menu of both programs' main windows as a Linux user needs it. Each time it
// opens, the port entries ("COM1" …) show the device they stand for and whether it is there
// ("COM1  /dev/ttyUSB0 – USB Serial (1a86:7523)", "COM2  /dev/ttyUSB1 – not connected"), and
// below them every serial device the system has now. Choosing a device maps the chosen entry
// to it, by its stable name when it has one, so that the same cable is found after a replug
// or a restart. What the entries are called, what they map to and where a mapping is kept
// comes from the program (common/PortEntries.h).
#include "common/PortEntries.h"
#include "common/SerialPorts.h"

#include <QList>
#include <QMap>
#include <QObject>

#include <memory>

class QAction;
class QMenu;

class PortMenu : public QObject
{
    Q_OBJECT
public:
    // Attaches to `menu`, whose port entries are `entries` (port number -> its action). A null
    // menu (a translated menu without the entries) gives a menu object that does nothing.
    PortMenu(QMenu *menu, const QMap<int, QAction *> &entries, std::unique_ptr<PortEntries> ports,
             QObject *parent);
    ~PortMenu() override;

    QMenu *menu() const { return m_menu; }
    // Fills the entries and the device list anew (the menu does it as it opens).
    void refresh();
    // The actions of the device list, in order (a disabled one when there is no device).
    const QList<QAction *> &deviceActions() const { return m_devices; }
    // Maps the chosen entry to `device`; false when the mapping could not be stored.
    bool choose(const SerialDevice &device);

private:
    QMenu *m_menu = nullptr;
    QMap<int, QAction *> m_entries;
    std::unique_ptr<PortEntries> m_ports;
    QAction *m_separator = nullptr;
    QList<QAction *> m_devices;
};
