#pragma once
// Notices of the application frame, in the three built-in forms chosen by LanguageIndex.
#include <QString>
#include <QStringList>

QString HelpFileMissingText(int languageIndex, const QString &path);
QString HelpOpenFailedText(int languageIndex, const QString &path);
QString LanguageNotSavedText(int languageIndex, const QString &iniPath);

// The user manual for a language index, relative to the application directory:
// "help/eng.html", "help/chs.html" or "help/cht.html" ("help/eng.html" for any other value),
// then the manuals to open when that one is missing (Traditional Chinese falls back to the
// Simplified Chinese manual).
QStringList HelpFiles(int languageIndex);

// The ini value for a language position: "Eng", "Chs", "Cht".
QString LanguageValue(int position);
