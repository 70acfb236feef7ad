#pragma once
// The Port menu as a Linux user needs it. Each time it opens, the entries COM1 ... COM8 show
// the device they stand for and whether it is there ("COM1  /dev/ttyUSB0 – USB Serial
// (1a86:7523)", "COM2  /dev/ttyUSB1 – not connected"), and below them every serial device
// the system has now. Choosing a device maps the marked entry (COM1 when none is marked) to
// it in the [Ports] section of Program.ini, by its stable name when it has one, so that the
// same cable is found after a replug or a restart.
#include "common/SerialPorts.h"

#include <QList>
#include <QMap>
#include <QObject>

class CMainFrame;
class QAction;
class QMenu;

class PortMenu : public QObject
{
    Q_OBJECT
public:
    // Attaches to the menu of `frame` that holds the COM entries.
    explicit PortMenu(CMainFrame &frame);

    QMenu *menu() const { return m_menu; }
    // Fills the entries and the device list anew (the menu does it as it opens).
    void refresh();
    // The actions of the device list, in order (a disabled one when there is no device).
    const QList<QAction *> &deviceActions() const { return m_devices; }
    // Maps the marked port entry to `device`; false when Program.ini could not be written.
    bool choose(const SerialDevice &device);

private:
    CMainFrame &m_frame;
    QMenu *m_menu = nullptr;
    QMap<int, QString> m_captions;   // the entries' own captions, "COM1"
    QAction *m_separator = nullptr;
    QList<QAction *> m_devices;
};
