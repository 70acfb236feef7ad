#pragma once
// Which element of the interface each language string sets, in the order the strings are
// applied. This is the one table the language loader walks: the fixed elements of the
// shell, the channel table and the single-channel page are listed here; the captions and
// item lists of the function settings come from the settings registry, so a setting's
// caption follows the language as soon as the registry names it.
//
// Elements are found by object name; "Window/child" names a child of another window
// (TaboutForm, Tmessage1, TR_and_W). An element that does not exist is skipped. A setting's
// label is named after its control ("bsSkinComboBox1Label"); the single-channel page follows
// the same rule ("bsSkinEdit11Label") and its panel is "singleChannelGroup".
#include "channels/Marks.h"
#include <QString>
#include <QVector>

struct LanguageElement {
    enum Kind {
        Caption,         // visible text of the element named target, "&" mnemonics removed
        MenuCaption,     // text of a menu or menu item, mnemonics kept
        TabCaption,      // tab text of the page named target, mnemonics removed
        ChannelHeader,   // header of channel table column `column`
        CallListHeader,  // header of call list column `column`
        SettingList,     // items of the setting named target, rebuilt from the library
        MarkList,        // items of the drop-down named target: the marks `marks`, in order
        FirstItem,       // item 0 of the drop-down named target becomes the off mark
        MarkText,        // the mark `mark` of the main window
        NoticeText,      // the main window's text named target (LinkErrorCaption ...)
        StatusBar,       // the main window's status bar: five blanks + the string
        ToneListOff,     // entry 0 of the tone list becomes the off mark
    };
    int id = 0;
    Kind kind = Caption;
    QString target;
    QString format = QStringLiteral("%1");   // "%1" stands for the string
    int column = 0;
    Mark mark = Mark::Off;
    QVector<Mark> marks;
};

namespace LanguageElements {
// Every element in the order of LanguageLibrary::appliedIds().
const QVector<LanguageElement> &all();
// "信道编辑(&E)" -> "信道编辑", "&Channels" -> "Channels", "A && B" -> "A & B".
QString withoutMnemonic(const QString &text);
} // namespace LanguageElements
