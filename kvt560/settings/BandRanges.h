#pragma once
// Band range texts such as "400-470MHz": lower limit in characters 1-3, upper limit in
// characters 5-7, whole MHz. The rest of the text is not examined.
#include <QString>
#include <QStringList>
#include <optional>

struct RangeLimits {
    double lower = 0;
    double upper = 0;
};

// The limits of a range text; nullopt when either part does not read as a number (an empty
// selection, "FFF"). offending, when given, receives the part that failed.
std::optional<RangeLimits> parseRangeLimits(const QString &rangeText, QString *offending = nullptr);

// The strict reading, for range texts that go to or come from the radio: three digits, "-",
// three digits (the rest of the text is not examined). Unlike parseRangeLimits, which reads
// each part as a number the way an edited range is taken ("40.-470" gives 40), anything
// else means the range is unprogrammed ("FFF-FFFMHz") or cannot be encoded.
struct WholeRangeLimits {
    int lower = 0;
    int upper = 0;
};
std::optional<WholeRangeLimits> parseWholeRangeLimits(const QString &rangeText);

// Add or select a range text in a band list: the index of the first item equal to text, or,
// when there is none, text is appended and the new last index is returned.
int addOrSelectRange(QStringList &items, const QString &text);
