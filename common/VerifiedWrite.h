#pragma once
// A write into a radio that is checked: write, read back what was written, compare, and say
// in the user's terms which channels and fields differ. The sequence and its result live
// here once; the radio's parts (the transfer, how to read back, how to compare two memories
// and name a difference) are handed in by each program.
//
// A caller that can wait for each transfer runs the whole sequence with run(). A caller
// whose transfers end in a signal (a dialog with a worker thread) writes and reads back on
// its own and hands the read-back to checked().
#include "common/Differences.h"

#include <QByteArray>
#include <functional>
#include <optional>

namespace VerifiedWrite {

enum class Outcome {
    WriteFailed,     // the write did not go through (its own failure was reported)
    Written,         // written, no check asked for
    Verified,        // written, and the radio holds what was written
    Differs,         // written, but the radio holds something else (the differences say what)
    CheckFailed,     // written, but the read-back failed: whether the radio holds it is unknown
};

struct Result {
    Outcome outcome = Outcome::WriteFailed;
    QList<Difference> differences;   // Differs only

    // The radio holds the write as far as anybody can tell: written, and not found different.
    bool ok() const { return outcome == Outcome::Written || outcome == Outcome::Verified; }
};

struct Steps {
    std::function<bool()> write;                                      // false: failed, reported
    std::function<std::optional<QByteArray>()> readBack;              // nothing: failed, reported
    std::function<QList<Difference>(const QByteArray &inRadio)> compare;   // with what was sent
};

// Writes; with `verify`, reads back and compares.
Result run(const Steps &steps, bool verify);

// The check after a write whose read-back is over: nothing (the read-back failed) is
// CheckFailed, else the comparison decides.
Result checked(const std::optional<QByteArray> &inRadio,
               const std::function<QList<Difference>(const QByteArray &inRadio)> &compare);

} // namespace VerifiedWrite
