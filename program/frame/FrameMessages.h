#pragma once
// Notices of the application frame, in the three built-in forms chosen by LanguageIndex.
#include <QString>

QString helpFileMissingText(int languageIndex, const QString &path);
QString helpOpenFailedText(int languageIndex, const QString &path);
QString languageNotSavedText(int languageIndex, const QString &iniPath);

// The help file name for a language index: "eng.chm", "chs.chm" or "cht.chm"; "eng.chm" for
// any other value.
QString helpFileName(int languageIndex);

// The ini value for a language position: "Eng", "Chs", "Cht".
QString languageValue(int position);
