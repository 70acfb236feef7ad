#pragma once
// Notices of the application frame, in the three built-in forms chosen by LanguageIndex.
#include <QString>

QString HelpFileMissingText(int languageIndex, const QString &path);
QString HelpOpenFailedText(int languageIndex, const QString &path);
QString LanguageNotSavedText(int languageIndex, const QString &iniPath, const QString &reason = QString());

// The help file name for a language index: "eng.chm", "chs.chm" or "cht.chm"; "eng.chm" for
// any other value.
QString HelpFileName(int languageIndex);

// The ini value for a language position: "Eng", "Chs", "Cht".
QString LanguageValue(int position);
