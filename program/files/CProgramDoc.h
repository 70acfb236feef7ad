#pragma once
// The document of Program: the channel data file behind the process-wide RadioImage.
//
// A channel data file (".sin") is the 8192 bytes of RadioImage in address order and nothing
// else: no header, no length, no checksum. The document itself holds only the file's path
// and title; the image is the one process-wide RadioImage. The document is modified while
// RadioImage differs from the image it was last opened from, saved to, read from the radio
// or written to it (the saved image).
//
// The static functions read and write the file format without a document, so that a
// command-line front end can use them headless.
#include "model/RadioImage.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class CProgramDoc : public QObject
{
    Q_OBJECT
public:
    // Filter of the file dialogs and the extension added to a name without one.
    static QString fileFilter();     // "Channel Data (*.sin)"
    static QString fileExtension();  // ".sin"

    explicit CProgramDoc(QObject *parent = nullptr);

    // The file the document was last opened from or saved to; empty for a new document.
    QString pathName() const { return m_pathName; }
    // "Untitled" for a new document, else the file name of pathName() without its directory.
    QString title() const;

    // Whether RadioImage differs from the saved image.
    bool isModified() const { return m_modified; }
    // The image as it is now counts as saved: after a save, a radio read or write.
    void markClean();
    // Compares RadioImage with the saved image and updates the modified flag; run after
    // every change of the image.
    void updateModified();

    // The whole document, for undoing New, Open and a radio read.
    struct State {
        QByteArray image;       // RadioImage
        QString pathName;
        QByteArray cleanImage;  // the saved image
    };
    State state() const;
    // Puts a state back: RadioImage, the path and the saved image.
    void restoreState(const State &state);

    // New document: RadioImage becomes a new image (NewImage) and the path is cleared.
    void newDocument();
    // Reads the file into RadioImage and makes it the document's path. On failure nothing
    // changes (image and path) and *error is the notice to show.
    bool openDocument(const QString &path, QString *error);
    // Writes RadioImage to the file and makes it the document's path. On failure the path
    // stays as it was, a file already at `path` keeps its contents and *error is the notice.
    bool saveDocument(const QString &path, QString *error);

    // Reads the first 8192 bytes of a channel data file into RadioImage (bytes after them are
    // ignored). A file that cannot be opened or is shorter than 8192 bytes is refused: the
    // image is not touched and *error says why, in the words of LanguageIndex.
    static bool readImageFile(const QString &path, ImageBytes *image, QString *error);
    // Writes the 8192 bytes of RadioImage to a file, replacing it only once every byte has
    // been written: a failed save leaves an existing file as it was.
    static bool writeImageFile(const QString &path, const ImageBytes &image, QString *error);

    // The factory default file of a model, by the model selector's text: "Default2.sin" for
    // "KVT270V01", "Default3.sin" for "KVT270U04", "Default4.sin" for "KVT270U10", and
    // "Default1.sin" for any other text.
    static QString defaultFileName(const QString &modelText);
    // The same, in the application directory.
    static QString defaultFilePath(const QString &modelText);

    enum class DefaultLoad {
        Loaded,      // the file's bytes are in RadioImage
        Missing,     // there is no such file; nothing changed
        Unreadable,  // the file is there but could not be read; nothing changed
    };
    // Loads a factory default file into RadioImage from address 0: as many bytes as the file
    // holds, at most 8192; the rest of the image keeps its contents. *error is set for
    // Missing and Unreadable (the notice to show, by LanguageIndex).
    static DefaultLoad loadDefaultFile(const QString &path, QString *error);

signals:
    // The path (and with it the title) changed: after New, Open and Save As.
    void pathNameChanged(const QString &pathName);
    // The modified flag changed.
    void modifiedChanged(bool modified);

private:
    void setPathName(const QString &path);

    QString m_pathName;
    QByteArray m_cleanImage;
    bool m_modified = false;
};
