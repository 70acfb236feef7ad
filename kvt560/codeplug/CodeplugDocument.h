#pragma once
// The one codeplug KVT560 edits: the channel cells (ChannelTable), the setting values
// (SettingsStore), the four band-range lists with their selections and the first channel
// of the active band. The window, its pages and grids, the file and radio commands and the
// command line all read and change the codeplug here.
//
// Steps: every change is gathered into a step that closes when control returns to the event
// loop (one user action, one step), or at once for the document's own operations (a file,
// a read, New, clear). A step that leaves a channel half-entered (a frequency being typed,
// a row waiting for its commit) stays open until the row is whole again, so typing and its
// commit are one step. Each closed step is reported with stepRecorded, as the before and
// after of what it changed; DocumentHistory turns steps into undo commands.
//
// Modified: the document compares itself with the state it had when it was last saved,
// opened, read from or written to the radio (markSaved).
#include "codeplug/DocumentChange.h"
#include "radiolink/Codeplug.h"
#include "settings/BandSource.h"

#include <QObject>
#include <functional>

class ChannelTable;
class SettingsStore;
struct Marks;

class CodeplugDocument : public QObject, public BandSource
{
    Q_OBJECT
public:
    explicit CodeplugDocument(QObject *parent = nullptr);
    ~CodeplugDocument() override;

    ChannelTable *channels() const { return m_table; }
    SettingsStore *settings() const { return m_store; }

    // ---- Band lists (BandLists::Id order) ----
    const BandList &bandList(int list) const;
    // The selected item of a list; empty when nothing is selected.
    QString selectedRange(int list) const;
    // The selected receive range of the active band: band 1 when the active-band selector
    // has index 1, else band 2.
    QString activeReceiveRange() const;
    // The lists as the preferences hold them, at start-up: not a change of the codeplug.
    void setBandLists(const BandListArray &lists);
    BandListArray bandLists() const { return m_bands; }
    // The user selects an item of a list.
    void selectRange(int list, int index);
    // The user's drop-down took another list or selection.
    void changeBandList(int list, const BandList &band) { setBandList(list, band); }
    // A range text from a file or the radio: selected in its list, appended when missing.
    void addOrSelectRange(int list, const QString &text);

    // BandSource, for the channel table's frequency rules.
    int activeBandIndex() const override;
    QString receiveRangeText(int band) const override;

    // ---- The codeplug as a whole ----
    // Channels, settings and the selected band ranges, for a radio write or a file save.
    Codeplug snapshot() const;
    // The number (1-128) of the first channel inside the active band's receive range, or
    // 0xFF when there is none: what a write puts into byte 0 of settings block 1.
    quint8 firstChannel() const;
    // What a transfer does as it starts: the first channel; with none in the band the radio
    // starts in VFO mode showing frequencies (both settings are changed).
    quint8 prepareTransfer();
    // A read that succeeded replaces channels and settings and brings its band ranges in;
    // the band box runs its rule and, when marked, the active band is taken as the radio's.
    // One step; the document then matches the radio (not modified).
    void applyRead(const Codeplug &read);
    // An opened file: band ranges first, then settings and channels. One step; not modified.
    void applyFile(const Codeplug &content);
    // New: every setting with a New value takes it, every channel empty. One step.
    void newCodeplug();
    // Every channel empty, the settings kept. One step.
    void clearChannels();
    // Replaces a set of channel rows (row -> cells of that row taken from rows) as one step
    // under label; rows outside 1-128 are ignored.
    void replaceRows(const QList<int> &rowNumbers, const ChannelCells &rows, const QString &label);
    // Runs edit (any changes through channels() and settings()) as one step under label.
    void change(const QString &label, const std::function<void()> &edit);
    // While held (auto add repeating under a pressed button) the changes gather into one
    // step, which closes when the hold ends.
    void setHolding(bool holding);

    // ---- Marks of the language ----
    // A language switch: the table takes the marks of the new language and its mark cells
    // are rewritten. Not a step, and not a change: a document that was not modified stays so.
    void relabelMarks(const Marks &marks);

    // ---- Its file ----
    // The codeplug file the document was last opened from or saved to; empty after New and a
    // radio read (and for a backup), so that Save asks for a name.
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path) { m_filePath = path; }

    // ---- Modified ----
    bool isModified() const;
    // The document is what was just saved, opened, read or written.
    void markSaved();

    // ---- Steps ----
    DocumentState state() const;
    // Closes the step being gathered now, also one left open by a half-entered row.
    void closeStep();
    // Whether changes are being gathered into a step that is not closed yet.
    bool hasOpenStep() const { return state() != m_baseline; }
    // Puts one side of a recorded step into the document, without recording it: forward
    // for redo, backward for undo.
    void applyChange(const DocumentChange &change, bool forward);
    // From here on the present state is the start: nothing recorded before counts, and the
    // document is not modified (start-up, after the first filling of the controls).
    void resetHistory();

signals:
    void bandListChanged(int list);
    // Something in the codeplug changed (by the user or the program, not by undo or redo).
    void contentChanged();
    void stepRecorded(const DocumentChange &change);
    void historyReset();
    void modifiedChanged(bool modified);

private:
    void somethingChanged();
    void finishStep(const QString &label, bool force);
    bool halfEntered(const DocumentChange &change) const;
    void updateModified();
    void setBandList(int list, const BandList &band);
    DocumentState relabelled(const DocumentState &state) const;

    ChannelTable *m_table;
    SettingsStore *m_store;
    BandListArray m_bands;
    DocumentState m_baseline;   // the state at the end of the last step
    DocumentState m_saved;      // the state last saved, opened, read or written
    bool m_closeScheduled = false;
    bool m_holding = false;
    int m_quiet = 0;            // > 0 while the document changes itself outside the steps
    int m_explicit = 0;         // > 0 while one of the document's own operations runs
    bool m_modified = false;
    QString m_filePath;
};
