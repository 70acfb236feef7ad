#pragma once
// What one step of the user's editing changed in the codeplug document, as the texts and
// values before and after: the channel cells, the setting values and the band lists that
// differ. Undo puts the "before" side back, redo the "after" side; nothing else of the
// document is touched, so steps of other parts stay as they are.
#include "channels/ChannelCells.h"
#include "settings/SettingsValues.h"
#include "codeplug/BandLists.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <array>

// The whole codeplug as one value: channels, settings, band lists with their selections.
struct DocumentState {
    ChannelCells channels;
    SettingsValues settings;
    BandListArray bands;

    bool operator==(const DocumentState &o) const
    {
        return channels == o.channels && settings == o.settings && bands == o.bands;
    }
    bool operator!=(const DocumentState &o) const { return !(*this == o); }
};

struct DocumentChange {
    struct Cell {
        bool attribute = false;   // false: column of the visible table, true: attribute table
        int column = 0;
        int row = 0;
        QString before;
        QString after;
    };
    struct Setting {
        QString name;
        QVariant before;
        QVariant after;
    };
    struct Band {
        int list = 0;   // BandLists::Id
        BandList before;
        BandList after;
    };

    QString label;   // what the user did ("Edit channel", "Open file", ...)
    QVector<Cell> cells;
    QVector<Setting> settings;
    QVector<Band> bands;

    bool isEmpty() const { return cells.isEmpty() && settings.isEmpty() && bands.isEmpty(); }

    // Everything that differs between two states.
    static DocumentChange between(const DocumentState &before, const DocumentState &after);

    // A key naming the one text this change types into (a channel alias, a text setting),
    // empty for any other change. Consecutive changes with the same key are one step of
    // typing.
    QString typingKey() const;
    // Takes a later change of the same typing into this one: the "after" side of next.
    void absorb(const DocumentChange &next);

    // The state with this change's "after" (forward) or "before" side put in.
    void applyTo(DocumentState &state, bool forward) const;
};
