#pragma once
// What the channel table reads of the band settings: the active-band selector and the
// selected receive range of each band. Implemented by the band controls of the main window.
#include <QString>

class BandSource
{
public:
    virtual ~BandSource() = default;
    // Index of the active-band selector: 1 means band 1, anything else band 2.
    virtual int activeBandIndex() const = 0;
    // Text of the selected receive range of band 1 or 2, such as "400-470MHz"; empty
    // when nothing is selected.
    virtual QString receiveRangeText(int band) const = 0;
};
