#pragma once
// The words of the help window's controls, in the language a program shows; the English
// words stand in for any the program leaves empty.
#include <QString>

struct HelpTexts
{
    QString title = QStringLiteral("Help");
    QString back = QStringLiteral("Back");
    QString forward = QStringLiteral("Forward");
    QString home = QStringLiteral("Contents");
    QString find = QStringLiteral("Find");
    QString findNext = QStringLiteral("Next");
    QString findPrevious = QStringLiteral("Previous");
    QString notFound = QStringLiteral("Not found");
    QString close = QStringLiteral("Close");
};
