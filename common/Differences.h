#pragma once
// A difference between two memories of a radio, in the user's terms ("Channel 2: receive
// frequency 446.00625 in the file, 446.00125 in the radio") with where it lies ("block
// 0x0010"). Each program names its own differences; what both do with them (print them,
// list them in a notice) is here once.
#include <QList>
#include <QString>
#include <QStringList>

struct Difference {
    QString text;     // the difference in the user's words
    QString detail;   // where in memory: "block 0x00C0"

    // The text, and the detail on an indented line below it.
    QString withDetail() const { return text + QStringLiteral("\n    ") + detail; }
};

// A program's own differences (anything with a `text` and a `detail()`) as Differences.
template <typename ProgramDifference>
QList<Difference> asDifferences(const QList<ProgramDifference> &differences)
{
    QList<Difference> out;
    out.reserve(differences.size());
    for (const ProgramDifference &d : differences)
        out.append({d.text, d.detail()});
    return out;
}

// The words of the notice that lists the differences a check after writing found.
struct DifferenceNoticeTexts {
    QString heading;   // "The radio does not hold what was written:"
    QString more;      // "and %1 more": the differences not listed
    QString advice;    // what to do now, below the list after a blank line
};

// The heading, the first `shown` differences each with its detail, "more" for the rest,
// then a blank line and the advice (left out when empty).
QString differenceNotice(const DifferenceNoticeTexts &texts, const QList<Difference> &differences, int shown = 20);
