#pragma once
// Notices of the channel data files, in the three built-in forms chosen by a language index
// (0 English, 1 Simplified Chinese, 2 Traditional Chinese; any other value English).
#include <QString>

// A file that cannot be opened for reading; reason is the system's explanation.
QString fileOpenFailedText(int languageIndex, const QString &path, const QString &reason);
// A file shorter than a whole image; size is its length in bytes.
QString fileTooShortText(int languageIndex, const QString &path, qint64 size);
// A file that cannot be created or written; reason is the system's explanation.
QString fileSaveFailedText(int languageIndex, const QString &path, const QString &reason);

// Caption of the Default Factory notices: "Prompt", "提示", "提示".
QString defaultFilePromptCaption(int languageIndex);
// The factory default file of the selected model is not in the application directory.
QString defaultFileMissingText(int languageIndex);
// The factory default file is there but cannot be read; reason is the system's explanation.
QString defaultFileUnreadableText(int languageIndex, const QString &path, const QString &reason);

// Captions of the file dialogs: "Open" and "Save As".
QString openDialogCaption(int languageIndex);
QString saveAsDialogCaption(int languageIndex);
// Name of the catch-all filter of the file dialogs: "All Files (*)".
QString allFilesFilter(int languageIndex);
// Filter of the Export channels and Import channels dialogs: "CSV Files (*.csv)".
QString csvFilesFilter(int languageIndex);

// A channel list that Import channels refuses; refusal names the line and the reason.
QString importRefusedText(int languageIndex, const QString &path, const QString &refusal);
// Open backup before any radio read was kept; folder is where the backups go.
QString noBackupsText(int languageIndex, const QString &folder);

// The question before unsaved changes would be lost (Exit, New, Open, a radio read); title is
// the document's title ("Untitled" or the file name). The answers: Save, Discard, Cancel.
QString saveChangesText(int languageIndex, const QString &title);
// The name of a document that has no file yet, in the question: "Untitled", "无标题", "無標題".
QString untitledText(int languageIndex);
QString saveButtonText(int languageIndex);
QString discardButtonText(int languageIndex);
QString cancelButtonText(int languageIndex);
