#pragma once
// Two memory images compared in the words of the window: a channel's field, a setting of
// the Option, PTT ID or PCBA dialog, the model; with the address of the 8-byte block that
// differs for whoever needs to look at the bytes. Serves the check after a write (the image
// sent against the radio's memory read back) and the comparison of two channel data files.
//
//   Channel 12: receive frequency 438.50000 in the file, 438.52500 in the radio
//   Setting SQL: 3 / 5
//
// A byte that differs where no field shows it (bits and bytes the program carries through)
// is listed as memory, so that no difference goes unreported.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

struct ImageDifference {
    QString text;   // the difference in the user's words
    int address;    // the first differing byte
    // "block 0x00B0", the 8-byte block of the address.
    QString detail() const;
};

// Compares the bytes of `first` and `second` (RadioImageSize bytes each) inside `ranges`
// (first address, last address; the whole image when empty). `firstName` and `secondName`
// say where each comes from ("the file", "the radio"). Texts are in the words of the current
// LanguageIndex; labels come from the resource library. RadioImage is left as it was.
QList<ImageDifference> compareImages(const QByteArray &first, const QByteArray &second, const QString &firstName,
                                     const QString &secondName, const QList<QPair<int, int>> &ranges = {});

// The parts of the image a write sends: 0x0000-0x1D4F and 0x1FD0-0x1FEF.
QList<QPair<int, int>> writtenRanges();
