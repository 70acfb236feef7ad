#pragma once
// The four band-range drop-downs of a codeplug as values: band 1 receive, band 1 transmit,
// band 2 receive, band 2 transmit, each with its items and its selection. The document holds
// them, undo records them, and the preferences carry them from one run to the next.
#include <QStringList>
#include <array>

// One band-range drop-down: its items and the selected index (-1: none).
struct BandList {
    QStringList items;
    int now = -1;
    bool operator==(const BandList &o) const { return items == o.items && now == o.now; }
};

struct BandLists {
    enum Id { List1Rx, List1Tx, List2Rx, List2Tx, Count };
};

using BandListArray = std::array<BandList, BandLists::Count>;
