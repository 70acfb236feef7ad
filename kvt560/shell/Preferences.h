#pragma once
// The preferences carried from one run to the next in myini.ini: serial port, cable mode,
// theme, interface language and the four band-range lists. Reading applies the defaults for
// missing keys and for values that are not whole numbers; saving updates the keys in place
// and leaves every other line of the file (comments, the [ports] section, stale list items
// above the count) as it was.
#include "codeplug/BandLists.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>

class IniFile;

struct Preferences {
    enum CableMode { SingleHead = 12, DualHead = 13 };
    // The lists in the order of the document (BandLists), by the names of their sections.
    using ListId = BandLists::Id;
    static constexpr ListId List1Rx = BandLists::List1Rx, List1Tx = BandLists::List1Tx, List2Rx = BandLists::List2Rx,
                            List2Tx = BandLists::List2Tx;
    static constexpr int ListCount = BandLists::Count;

    int com = 1;              // serial port number 1-4
    int commode = DualHead;   // cable mode 12 or 13
    int skin = 1;             // theme 1-3
    int lang = 1;             // language 1-3; other numbers are kept but select nothing
    bool fastLink = false;    // "Fast link" of the read/write dialog
    bool verify = true;       // "Verify after writing" of the read/write dialog
    BandListArray lists;   // list1_rx, list1_tx, list2_rx, list2_tx

    // The item given to a list entry that the count promises but the file lacks.
    static QString defaultRangeText() { return QStringLiteral("400-470MHz"); }
    // Counts above this are taken as this many items: a damaged count cannot make the
    // program build millions of items.
    static constexpr int MaxListItems = 1000;

    static QString fileName() { return QStringLiteral("myini.ini"); }
    // The language (1-3) of a first start, when no preferences of the user exist yet: the
    // one the locale asks for.
    static int firstLanguage(const QLocale &locale);
    static QString sectionName(ListId list);
    static QString countKey(ListId list);
    static QString nowKey(ListId list);
    static QString itemKey(ListId list, int index);

    static Preferences fromIni(const IniFile &ini);
    // Writes the values in the order: open/com, commode, skin, lang, fastlink, verify, then for each list
    // its now key, count key and items from 0 upward.
    void toIni(IniFile &ini) const;

    // Missing or unreadable file: the defaults.
    static Preferences load(const QString &path);
    // Updates the file at path (creating it when missing), keeping its other lines. A failed
    // write leaves the old file whole and gives the system's reason.
    bool save(const QString &path, QString *reason = nullptr) const;

    bool operator==(const Preferences &o) const
    {
        return com == o.com && commode == o.commode && skin == o.skin && lang == o.lang && fastLink == o.fastLink
            && verify == o.verify && lists == o.lists;
    }
};

// Where myini.ini is read and written: beside the executable; when that folder cannot be
// written or is an installed one (common/InstalledLayout.h), the per-user configuration
// folder (first run there starts from the file beside the executable, so the delivered band
// lists and port mappings still apply).
struct PreferencesPaths {
    QString readPath;
    QString writePath;

    static PreferencesPaths single(const QString &path) { return {path, path}; }
    static PreferencesPaths forDirectories(const QString &exeDir, const QString &userConfigDir);
    static PreferencesPaths forApplication();   // needs a QCoreApplication
};
