#pragma once
// The document of Program: the one codeplug the user edits. It owns the 8192-byte memory
// image, RadioImage(), and holds what the grid shows of it as values: the model, the band and
// the texts of channels 1-99. The values come from the image by the channel codec
// (imageToGridContents) and every change of them goes back into it at once
// (gridContentsToImage: every channel, the model, the band and the fixed fields), so the image
// is always what Save would write. The grid, the option dialogs, the transfer, the file
// commands and the command line all work on it.
//
// A channel data file (".sin") is the 8192 bytes of the image in address order and nothing
// else: no header, no length, no checksum.
//
// Changes: change(label, edit) runs edit, which changes the document through its setters, and
// records what it did as one step (stepRecorded, the state before and after); the document's
// operations that replace it (New, Open, a radio read, Default Factory) are steps when run
// inside change(). Undo and redo put a recorded state back with restoreState. Signals say what changed: channel rows,
// the model and band, fields the grid does not show, or the whole.
//
// Modified: the document is modified while its image differs from the image it was last
// opened from, saved to, read from the radio or written to it (the saved image).
#include "model/ChannelCodec.h"
#include "model/GridContents.h"
#include "model/RadioImage.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class CProgramDoc : public QObject
{
    Q_OBJECT
public:
    // Filter of the file dialogs and the extension added to a name without one.
    static QString fileFilter();     // "Channel Data (*.sin)"
    static QString fileExtension();  // ".sin"

    // A new document: a new image (NewImage), untitled, not modified.
    explicit CProgramDoc(QObject *parent = nullptr);

    // ---- The image and its values ----
    // The image, byte for byte: what the document holds of the radio's memory.
    const ImageBytes &RadioImage() const { return m_image; }
    QByteArray imageBytes() const { return toByteArray(m_image); }

    // The model selector's position (0-4, -1 for none) and its name ("KVT270U01").
    int modelIndex() const { return m_contents.modelIndex; }
    QString modelText() const { return m_contents.modelText(); }
    // The band selector's position (the model's one band: 0) and its text ("400-470MHz").
    int bandIndex() const { return m_contents.bandIndex; }
    QString bandText() const { return m_contents.bandText(); }
    // The limits of the band in units of 10 Hz: new frequencies are clamped to them.
    std::uint32_t FreqLow() const { return m_freqLow; }
    std::uint32_t FreqHigh() const { return m_freqHigh; }
    // The texts of channel n (1-99); all empty for another number.
    ChannelTexts channel(int n) const { return m_contents.channels.value(n - 1); }
    // Model, band and channels 1-99 as the grid shows them.
    const GridContents &contents() const { return m_contents; }

    // ---- Setters, to be called inside change() ----
    // Channel n (1-99) takes these texts; another number, or the texts it has, changes
    // nothing.
    void setChannel(int n, const ChannelTexts &texts);
    // The user picked a model: its one band is selected and gives the limits.
    void setModelIndex(int index);
    // The user picked a band of the model.
    void setBandIndex(int index);
    // Changes bytes of the image directly: the option dialogs' fields. When the edit reaches
    // the channels, the model or the band, the values are read from the image again.
    void editImage(const std::function<void(ImageBytes &image)> &edit);

    // Runs `edit` as one step named `label`: stepRecorded follows when the image, the path or
    // the saved image changed. Returns whether anything changed. Steps inside a step belong to the outer one.
    bool change(const QString &label, const std::function<void()> &edit);

    // ---- The file ----
    // The file the document was last opened from or saved to; empty for a new document.
    QString pathName() const { return m_pathName; }
    // "Untitled" for a new document, else the file name of pathName() without its directory.
    QString title() const;
    // The document no longer has a file: Save asks for a name (a backup opened for a look).
    void forgetPath();

    // The operations below replace the whole document; inside change() each is one step.
    // New document: a new image (NewImage), untitled, not modified.
    void newDocument();
    // Reads the file into the image and makes it the document's path, not modified. On
    // failure nothing changes and *error is the notice to show.
    bool openDocument(const QString &path, QString *error);
    // Writes the image as it is to the file and makes it the document's path, not modified
    // (the file commands store the values first, storeValues). On failure the path stays as it was, a file already at `path` keeps
    // its contents and *error is the notice.
    bool saveDocument(const QString &path, QString *error);
    // Stores the values into the image, as Save, Read and Write do first: every channel, the
    // model, the band and the fixed fields. This can rewrite bytes the user never changed; a
    // document that was not modified stays so. Not a step.
    void storeValues();

    // Loads a factory default file from address 0: as many bytes as the file holds, at most
    // 8192; the rest of the image keeps its contents. The path stays.
    enum class DefaultLoad {
        Loaded,      // the file's bytes are in the image
        Missing,     // there is no such file; nothing changed
        Unreadable,  // the file is there but could not be read; nothing changed
    };
    DefaultLoad loadDefaultFile(const QString &path, QString *error);

    // ---- The radio ----
    // The image a write sends: the values stored first (storeValues).
    QByteArray imageForWrite();
    // A read that brought every block: the image read becomes the document's, not modified.
    void applyRead(const QByteArray &image);
    // A write that the radio holds now: the document counts as saved.
    void markWritten() { markClean(); }

    // ---- Modified ----
    bool isModified() const { return m_modified; }
    // The image as it is now counts as saved.
    void markClean();

    // ---- Steps ----
    // The whole document, for undo and redo.
    struct State {
        QByteArray image;       // the image
        QString pathName;
        QByteArray cleanImage;  // the saved image
    };
    State state() const;
    // Puts a state back: the image (its values read again), the path and the saved image.
    // Not a step. For the steps that replaced the document (New, Open, a read).
    void restoreState(const State &state);
    // Puts an image back, its values read again; path and saved image stay. Not a step. For
    // the steps that changed the image only: the document is modified unless the image is
    // the saved one.
    void restoreImage(const QByteArray &image);

    // ---- The file format, without a document ----
    // Reads the first 8192 bytes of a channel data file (bytes after them are ignored). A file
    // that cannot be opened or is shorter than 8192 bytes is refused: *image is not touched
    // and *error says why, in the words of LanguageIndex.
    static bool readImageFile(const QString &path, ImageBytes *image, QString *error);
    // Writes the image to a file, replacing it only once every byte has been written: a failed
    // save leaves an existing file as it was.
    static bool writeImageFile(const QString &path, const ImageBytes &image, QString *error);
    // The image of a channel data file as a new document that opened it holds it: its values
    // stored back, as they are after the first change. What Save writes after opening it and
    // changing something.
    static ImageBytes storedImage(const ImageBytes &image);

    // The factory default file of a model, by the model selector's text: "Default2.sin" for
    // "KVT270V01", "Default3.sin" for "KVT270U04", "Default4.sin" for "KVT270U10", and
    // "Default1.sin" for any other text.
    static QString defaultFileName(const QString &modelText);
    // The same in the application directory `appDirectory` (ending with '/').
    static QString defaultFilePath(const QString &appDirectory, const QString &modelText);

signals:
    // Channels first-last (1-99) show other texts.
    void channelsChanged(int first, int last);
    // The model or the band changed.
    void selectionChanged();
    // Bytes the grid does not show changed (the option dialogs' fields).
    void fieldsChanged();
    // The whole document was replaced: New, Open, a read, Default Factory, undo and redo.
    void documentReset();
    // A step is done: the document before and after it.
    void stepRecorded(const QString &label, const CProgramDoc::State &before, const CProgramDoc::State &after);
    // The path (and with it the title) changed: after New, Open and Save As.
    void pathNameChanged(const QString &pathName);
    // The modified flag changed.
    void modifiedChanged(bool modified);

private:
    void setPathName(const QString &path);
    void updateModified();
    // The values from the image, and the band's limits.
    void readContents();
    // The values into the image.
    void storeContents();
    void applyBand();
    // Replaces the image and reads its values; announced as a reset.
    void resetTo(const ImageBytes &image);

    ImageBytes m_image;
    GridContents m_contents;
    std::uint32_t m_freqLow = 40000000;
    std::uint32_t m_freqHigh = 47000000;
    QString m_pathName;
    QByteArray m_cleanImage;
    bool m_modified = false;
    int m_changeDepth = 0;
};
