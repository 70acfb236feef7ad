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
#include "common/Differences.h"

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
// LanguageIndex; labels come from the resource library.
QList<ImageDifference> compareImages(const QByteArray &first, const QByteArray &second, const QString &firstName,
                                     const QString &secondName, const QList<QPair<int, int>> &ranges = {});

// The parts of the image a write sends: 0x0000-0x1D4F and 0x1FD0-0x1FEF.
QList<QPair<int, int>> writtenRanges();

// The names of the two images of the check after a write, for compareImages: "the file"
// (what was sent) and "the radio" (what was read back).
QString writtenImageName(int languageIndex);
QString radioMemoryName(int languageIndex);

// The first line of the notice after a write that the read-back did not confirm: "The radio
// does not hold what was written:" in the language of languageIndex.
QString notVerifiedHeading(int languageIndex);
// The whole notice: the heading, then the first `shown` differences, each with its block on
// the next line, indented, then how many more there are ("and 3 more").
QString notVerifiedText(int languageIndex, const QList<Difference> &differences, int shown = 20);
// The caption of that notice, the advice that ends it, and the words that confirm a write
// the read-back found whole.
QString notVerifiedCaption(int languageIndex);
QString notVerifiedAdvice(int languageIndex);
QString writtenAndCheckedText(int languageIndex);
