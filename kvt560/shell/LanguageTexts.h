#pragma once
// The texts of one interface language that matter without any window: the marks written
// into channel cells, the off word of the tone list, the notice texts of the radio link and
// of the New and Clear confirmations, and the item texts of the setting drop-downs. The
// main window starts from the built-in texts; the command line takes them from a language
// library through the same element table the language loader walks.
#include "channels/Marks.h"
#include "common/HelpTexts.h"
#include "shell/LanguageLibrary.h"

struct Caption;

#include <QString>

struct LanguageTexts
{
    Marks marks;
    QString toneOffWord;
    QString LinkErrorCaption;   // caption of the radio link's notices (string 58)
    QString PortErrorText;      // the serial port cannot be opened (59)
    QString LinkErrorText;      // a radio transfer failed (60)
    QString ConfirmCaption;     // caption of the New and Clear confirmations (62)
    QString ConfirmText;        // text of the New and Clear confirmations (64)
    // The question before a command would lose unsaved edits, and its three answers.
    QString SaveQuestionText;   // 149
    QString SaveButtonText;     // 150
    QString DiscardButtonText;  // 151
    QString CancelButtonText;   // 152
    // The check after a write, and the refusal of an import or a paste.
    QString VerifyFailedText;     // 170 the radio does not hold what was written (a heading)
    QString VerifyPassedText;     // 171 the radio holds what was written
    QString VerifyingText;        // 172 the written blocks are being read back
    QString MoreDifferencesText;  // 173 "%1" more differences not listed
    QString NothingChangedText;   // 174 an import was refused
    QString NothingPastedText;    // 175 a paste was refused
    QString BackupFailedText;     // 176 a read's backup could not be written ("%1" the reason)
    QString VerifyFailedCaption;  // 177 caption of the notice of a failed check
    QString VerifyAdviceText;     // 178 what to do after a failed check (below the differences)
    QString VerifyFailedStatus;   // 179 the dialog's line after a failed check (a whole sentence)
    QString StopWriteQuestion;    // 191 asked before a running write is stopped
    QString ReadStoppedText;      // 192 a read ended by Stop
    QString WriteStoppedBeforeText;   // 193 a write ended by Stop before its first block
    QString WriteStoppedText;     // 194 a write ended by Stop: %1 blocks of %2 written
    QString CheckStoppedText;     // 195 the check after a write ended by Stop
    QString TransferPortText;     // 196 the transfer dialog's port line: %1 port, %2 device
    QString TransferNoDeviceText; // 197 the same, when the port has no device: %1 port
    HelpTexts help;               // 180-188 the help window: title, back, forward, contents,
                                  // find, next, previous, not found, close

    // The texts the program shows until a language library gives its own.
    static LanguageTexts builtIn();

    // Language 1 to 3: its library from `directory` over the built-in texts, with the marks
    // of that language when the library cannot be read. Any other number: the built-in texts.
    static LanguageTexts forLanguage(int lang, const QString &directory);

    // Takes every text the library holds (marks, tone off word, notices); texts it lacks
    // stay as they are. The library is kept for itemText().
    void apply(const LanguageLibrary &library);

    // Item `index` of the setting drop-down `name` as it reads in this language; the
    // built-in item when no library was applied. Empty for an unknown name or index.
    QString itemText(const QString &name, int index) const;

    // A caption of the pages (a setting's label, a group's or a page's title) as it reads in
    // this language, without mnemonics: the library's string when it has one, else the
    // built-in text.
    QString captionText(const Caption &caption) const;
    // The header of channel table column `column` in this language; `builtIn` when the
    // library has none for it.
    QString channelHeader(int column, const QString &builtIn) const;

    // Whether a library was applied.
    bool fromLibrary() const { return m_library.isLoaded(); }

private:
    LanguageLibrary m_library;
};
