#pragma once
// The serial port menu of the main window as a Linux user needs it. Each time it opens, the
// entries COM1 … COM4 show the device they stand for and whether it is there
// ("COM1  /dev/ttyUSB0 – USB Serial (1a86:7523)", "COM2  /dev/ttyUSB1 – not connected"), and
// below them every serial device the system has now. Choosing a device maps the marked entry
// to it in the [ports] section of the preferences, by its stable name when it has one, so
// that the same cable is found after a replug or a restart; the preferences are written when
// the program ends, as the other choices are.
#include "common/SerialPorts.h"

#include <QList>
#include <QObject>

class QAction;
class Tform1;

class PortMenu : public QObject
{
    Q_OBJECT
public:
    explicit PortMenu(Tform1 &form);

    // Fills the entries and the device list anew (the menu does it as it opens).
    void refresh();
    // The actions of the device list, in order (a disabled one when there is no device).
    const QList<QAction *> &deviceActions() const { return m_devices; }
    // Maps the marked port entry to `device`.
    void choose(const SerialDevice &device);

private:
    Tform1 &m_form;
    QAction *m_separator = nullptr;
    QList<QAction *> m_devices;
};
