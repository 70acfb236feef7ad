#pragma once
// What a program tells its port menu (common/ui/PortMenu.h) about its port entries: the
// caption of each entry, the device it stands for (the remembered mapping or the default),
// the entry that is chosen, how a new mapping is remembered, and the menu's words in the
// interface language. The menu asks again each time it opens, so the answers may change.
#include "common/PortDiagnosis.h"
#include "common/SerialPorts.h"

#include <QList>
#include <QString>

class PortEntries
{
public:
    virtual ~PortEntries() = default;

    // The entry's own caption, put before the device it stands for ("COM&1").
    virtual QString caption(int number) const = 0;
    // The device entry `number` opens, given the devices present now.
    virtual QString device(int number, const QList<SerialDevice> &present) const = 0;
    // The entry a chosen device is mapped to: the marked one. A program whose menu has no
    // entry marked may mark one here.
    virtual int chosen() = 0;
    // Remembers `device` for entry `number`. False when it could not be stored; the program
    // has then told the user why.
    virtual bool remember(int number, const QString &device) = 0;
    // The menu's words ("not connected", "No serial device is connected").
    virtual PortProblemTexts texts() const = 0;
};
