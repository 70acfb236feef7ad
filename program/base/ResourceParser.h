#pragma once
// The reader of the resource library format (resources/README.md): UTF-8 text in lines of
// bare words and quoted texts, a "library" line, then blocks closed by "end". A file is read
// whole or not at all.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

struct MenuEntry {
    enum Kind { Item, Separator, Popup };
    Kind kind = Item;
    int id = 0;                 // command id of an item
    QString text;               // caption, with '&' before the mnemonic
    QList<MenuEntry> children;  // entries of a popup
};

struct AcceleratorEntry {
    int command = 0;
    QString keys;               // portable key sequence text, e.g. "Ctrl+N", "Shift+F6"
};

struct DialogResource {
    QString caption;
    QMap<int, QString> controls;  // text of the control with that id (buttons, statics with an id)
    QMap<int, QString> labels;    // text of the static that labels the control with that id
    QMap<int, QString> statics;   // free static texts, numbered 1, 2, ... in reading order
};

// Everything one library file holds.
struct ResourceData {
    QString name;  // the name given on the library line, e.g. "English"
    QMap<int, QString> strings;
    QMap<int, QList<MenuEntry>> menus;
    QMap<int, QList<AcceleratorEntry>> accelerators;
    QMap<int, QList<int>> toolbars;  // command ids, 0 for a separator
    QMap<int, DialogResource> dialogs;
};

// Popup menus may nest this deep; a deeper file is refused (menus are read recursively).
constexpr int MaxMenuDepth = 16;

// Reads a whole library. On failure *data is left as it was and *error says what is wrong,
// as "<sourceName>:<line>: <what>".
bool parseResourceText(const QByteArray &utf8, const QString &sourceName, ResourceData *data, QString *error);
