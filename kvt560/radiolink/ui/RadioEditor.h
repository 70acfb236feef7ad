#pragma once
// What the read/write dialog needs of the editor (the main window's controls): the codeplug
// it shows, its marks and active receive range, and a place to put a codeplug that was read.
#include "channels/Marks.h"
#include "radiolink/Codeplug.h"

#include <QString>
#include <QStringList>

class RadioEditor
{
public:
    virtual ~RadioEditor() = default;

    // The channels, settings and band ranges as the editor holds them now.
    virtual Codeplug codeplug() const = 0;
    virtual Marks marks() const = 0;
    // The selected receive range of the active band ("400-470MHz"; may be empty).
    virtual QString activeReceiveRange() const = 0;
    // A read succeeded: channels, settings, call list, codes and band ranges replace the
    // editor's, and the single-channel page shows the new channel.
    virtual void applyReadCodeplug(const Codeplug &codeplug) = 0;
    // The read found channel fields that held no valid value and read them as the nearest
    // valid ones (one text per field, naming the channel): the editor tells the user.
    virtual void reportCorrections(const QStringList &corrections) { Q_UNUSED(corrections); }
    // No channel lies in the active band: the radio starts in VFO mode showing frequencies.
    virtual void selectVfoMode() = 0;
    // The call list editor is hidden when the dialog opens.
    virtual void hideCallListEditor() = 0;
};
