#pragma once
// The language part of Program's start-up: Program.ini is read, LanguageIndex and PortName
// are set and the resource library of the chosen language is loaded and installed.
#include <QLocale>
#include <QString>

// 0 for "Eng", 1 for "Chs", 2 for "Cht" (compared without regard to case), 0 for anything else.
int languageIndexFor(const QString &languageValue);

// The message shown when the resource library cannot be loaded, by language index.
QString loadLanguageFailText(int languageIndex);

// The file of the resource library named by the ini value: the value plus ".dll" in the
// application directory. File names match without regard to case, so "chs" finds Chs.dll.
// Returns an empty text when the value is empty, names another directory, or no file matches.
QString findResourceLibrary(const QString &appDirectory, const QString &languageValue);

// The version line of `--version` and the about box: the product and its version,
// "KVT270 1.0.1". The application name stays "Program": it names the preferences folder.
QString versionLine();

// The directory of the running program file, ending with '/'.
QString applicationDirectory();

// A first start in an installed layout: the user's Program.ini has no Language yet, so it
// gets the one the locale asks for (Eng, Chs or Cht). The build folder keeps what its shipped
// file says, and a saved choice always wins. Returns the value written, else empty.
QString startFirstLanguage(const QString &appDirectory, const QLocale &locale);

// Start-up steps 3 to 8: sets AppDirectory, reads Program.ini, sets PortName and
// LanguageIndex, loads the resource library and installs it. Returns false when the library
// cannot be loaded; *failText is then the message to show (by LanguageIndex) and *detail
// says what went wrong, for the diagnostic output.
// A non-empty languageOverride ("Eng") is used instead of the saved value, which stays.
bool loadLanguageSetup(const QString &appDirectory, QString *failText, QString *detail = nullptr,
                       const QString &languageOverride = QString());
