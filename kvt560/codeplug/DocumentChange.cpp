#include "codeplug/DocumentChange.h"

#include "channels/ChannelTable.h"
#include "settings/SettingsRegistry.h"

DocumentChange DocumentChange::between(const DocumentState &before, const DocumentState &after)
{
    DocumentChange change;
    if (before.channels != after.channels) {
        for (int row = 1; row <= ChannelCells::Channels; ++row) {
            for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c) {
                const QString was = before.channels.column(c, row);
                const QString now = after.channels.column(c, row);
                if (was != now)
                    change.cells.append({false, c, row, was, now});
            }
            for (int c = ChannelCells::FirstAttribute; c <= ChannelCells::LastAttribute; ++c) {
                const QString was = before.channels.attribute(c, row);
                const QString now = after.channels.attribute(c, row);
                if (was != now)
                    change.cells.append({true, c, row, was, now});
            }
        }
    }
    if (before.settings != after.settings) {
        for (const SettingDef &d : SettingsRegistry::all()) {
            if (!d.isValue())
                continue;
            const QVariant was = before.settings.value(d.name);
            const QVariant now = after.settings.value(d.name);
            if (was != now)
                change.settings.append({d.name, was, now});
        }
    }
    for (int list = 0; list < BandLists::Count; ++list)
        if (!(before.bands[size_t(list)] == after.bands[size_t(list)]))
            change.bands.append({list, before.bands[size_t(list)], after.bands[size_t(list)]});
    return change;
}

QString DocumentChange::typingKey() const
{
    if (cells.size() == 1 && settings.isEmpty() && bands.isEmpty()) {
        const Cell &c = cells.constFirst();
        if (!c.attribute && c.column == ChannelTable::AliasColumn)
            return QStringLiteral("alias %1").arg(c.row);
    }
    if (settings.size() == 1 && cells.isEmpty() && bands.isEmpty()) {
        const SettingDef *def = SettingsRegistry::byName(settings.constFirst().name);
        if (def && def->kind == SettingKind::Text)
            return QStringLiteral("setting ") + def->name;
    }
    return QString();
}

void DocumentChange::absorb(const DocumentChange &next)
{
    // Same single key on both sides: only the "after" moves on.
    if (!cells.isEmpty() && !next.cells.isEmpty())
        cells.first().after = next.cells.constFirst().after;
    if (!settings.isEmpty() && !next.settings.isEmpty())
        settings.first().after = next.settings.constFirst().after;
}

void DocumentChange::applyTo(DocumentState &state, bool forward) const
{
    for (const Cell &c : cells) {
        const QString &text = forward ? c.after : c.before;
        if (c.attribute)
            state.channels.setAttribute(c.column, c.row, text);
        else
            state.channels.setColumn(c.column, c.row, text);
    }
    for (const Setting &s : settings)
        state.settings.set(s.name, forward ? s.after : s.before);
    for (const Band &b : bands)
        state.bands[size_t(b.list)] = forward ? b.after : b.before;
}
