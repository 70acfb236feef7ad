#pragma once
// Notices of the application frame, in the three built-in forms chosen by LanguageIndex.
#include "common/HelpTexts.h"

#include <QString>
#include <QStringList>

QString helpFileMissingText(int languageIndex, const QString &path);
QString helpOpenFailedText(int languageIndex, const QString &path);
// The words of the help window's controls.
HelpTexts helpTexts(int languageIndex);
QString languageNotSavedText(int languageIndex, const QString &iniPath, const QString &reason = QString());

// The user manual for a language index, relative to the application directory:
// "help/eng.html", "help/chs.html" or "help/cht.html" ("help/eng.html" for any other value),
// then the manuals to open when that one is missing (Traditional Chinese falls back to the
// Simplified Chinese manual).
QStringList helpFiles(int languageIndex);

// The ini value for a language position: "Eng", "Chs", "Cht".
QString languageValue(int position);
