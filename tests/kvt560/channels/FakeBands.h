#pragma once
#include "settings/BandSource.h"

// Band settings without the drop-downs: the active-band index and both receive ranges.
struct FakeBands : BandSource {
    int active = 1;
    QString band1 = QStringLiteral("400-470MHz");
    QString band2 = QStringLiteral("400-470MHz");

    int activeBandIndex() const override { return active; }
    QString receiveRangeText(int band) const override { return band == 1 ? band1 : band2; }
};
