#include "codeplug/CodeplugDocument.h"

#include "channels/ChannelTable.h"
#include "radiolink/MemoryLayout.h"
#include "settings/BandRanges.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"

#include <QRegularExpression>
#include <QSet>
#include <QTimer>

namespace {

// Above this many cells a step is put back as one replacement of the table.
constexpr int kCellByCell = 32;

// A frequency as a commit leaves it: nine characters with five decimals.
bool committedFrequency(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{3}\\.\\d{5}$"));
    return text.isEmpty() || form.match(text).hasMatch();
}

} // namespace

CodeplugDocument::CodeplugDocument(QObject *parent)
    : QObject(parent)
    , m_table(new ChannelTable(this))
    , m_store(new SettingsStore(this))
{
    setObjectName(QStringLiteral("codeplugDocument"));
    m_table->setObjectName(QStringLiteral("channelTable"));
    m_table->setBandSource(this);
    m_store->setObjectName(QStringLiteral("settingsStore"));
    connect(m_table, &ChannelTable::cellChanged, this, &CodeplugDocument::somethingChanged);
    connect(m_table, &ChannelTable::cellsReset, this, &CodeplugDocument::somethingChanged);
    connect(m_store, &SettingsStore::valueChanged, this, &CodeplugDocument::somethingChanged);
    m_baseline = m_saved = state();
}

CodeplugDocument::~CodeplugDocument()
{
    m_table->setBandSource(nullptr);
}

// ---------------------------------------------------------------------------------------
// Band lists

const BandList &CodeplugDocument::bandList(int list) const
{
    static const BandList none;
    return list >= 0 && list < BandLists::Count ? m_bands[size_t(list)] : none;
}

QString CodeplugDocument::selectedRange(int list) const
{
    const BandList &band = bandList(list);
    return band.now >= 0 && band.now < band.items.size() ? band.items.at(band.now) : QString();
}

QString CodeplugDocument::activeReceiveRange() const
{
    return receiveRangeText(activeBandIndex() == 1 ? 1 : 2);
}

int CodeplugDocument::activeBandIndex() const
{
    return m_store->number(SettingKey::ActiveBand);
}

QString CodeplugDocument::receiveRangeText(int band) const
{
    return selectedRange(band == 1 ? BandLists::List1Rx : BandLists::List2Rx);
}

void CodeplugDocument::setBandList(int list, const BandList &band)
{
    if (list < 0 || list >= BandLists::Count || m_bands[size_t(list)] == band)
        return;
    m_bands[size_t(list)] = band;
    emit bandListChanged(list);
    somethingChanged();
}

void CodeplugDocument::setBandLists(const BandListArray &lists)
{
    ++m_quiet;
    for (int list = 0; list < BandLists::Count; ++list)
        setBandList(list, lists[size_t(list)]);
    --m_quiet;
    m_baseline.bands = m_bands;
    m_saved.bands = m_bands;
}

void CodeplugDocument::selectRange(int list, int index)
{
    BandList band = bandList(list);
    if (index < -1 || index >= band.items.size())
        return;
    band.now = index;
    setBandList(list, band);
}

void CodeplugDocument::addOrSelectRange(int list, const QString &text)
{
    if (text.isEmpty() || list < 0 || list >= BandLists::Count)
        return;
    BandList band = bandList(list);
    band.now = ::addOrSelectRange(band.items, text);
    setBandList(list, band);
}

// ---------------------------------------------------------------------------------------
// The codeplug as a whole

Codeplug CodeplugDocument::snapshot() const
{
    Codeplug c;
    c.channels = m_table->cells();
    c.settings = m_store->snapshot();
    for (int list = 0; list < BandLists::Count; ++list)
        c.bandRanges << selectedRange(list);
    return c;
}

quint8 CodeplugDocument::firstChannel() const
{
    return MemoryLayout::firstChannelInRange(m_table->cells(), activeReceiveRange());
}

quint8 CodeplugDocument::prepareTransfer()
{
    const quint8 first = firstChannel();
    if (first == 0xFF) {
        change(QStringLiteral("VFO mode"), [this] {
            m_store->setValue(SettingKey::VfoMode, 1);
            m_store->setValue(SettingKey::MemoryDisplay, 1);
        });
    }
    return first;
}

void CodeplugDocument::applyRead(const Codeplug &read)
{
    change(QStringLiteral("Read radio"), [this, &read] {
        m_table->setCells(read.channels);
        m_store->apply(read.settings);
        // The band box runs its rule even when its state does not change; when marked, the
        // active band is the radio's, as if chosen in its drop-down.
        const bool byKeypad = read.settings.number(SettingKey::BandByKeypad) == 1;
        m_store->setValue(SettingKey::BandByKeypad, byKeypad ? 1 : 0);
        if (byKeypad)
            m_store->setByUser(SettingKey::ActiveBand, read.settings.number(SettingKey::ActiveBand));
        for (int list = 0; list < read.bandRanges.size(); ++list)
            addOrSelectRange(list, read.bandRanges.at(list));
    });
    m_filePath.clear();
    markSaved();
}

void CodeplugDocument::applyFile(const Codeplug &content)
{
    change(QStringLiteral("Open file"), [this, &content] {
        for (int list = 0; list < content.bandRanges.size(); ++list)
            addOrSelectRange(list, content.bandRanges.at(list));
        // Drop-downs take their indexes without their change rules; check boxes run theirs.
        m_store->apply(content.settings);
        m_table->setCells(content.channels);
    });
    markSaved();
}

void CodeplugDocument::newCodeplug()
{
    change(QStringLiteral("New"), [this] {
        m_store->resetToNew();
        m_table->emptyAll();
    });
    m_filePath.clear();
    markSaved();
}

void CodeplugDocument::clearChannels()
{
    change(QStringLiteral("Clear channels"), [this] { m_table->emptyAll(); });
}

void CodeplugDocument::replaceRows(const QList<int> &rowNumbers, const ChannelCells &rows, const QString &label)
{
    change(label, [this, &rowNumbers, &rows] {
        ChannelCells cells = m_table->cells();
        for (int row : rowNumbers) {
            if (row < 1 || row > ChannelCells::Channels)
                continue;
            for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
                cells.setColumn(c, row, rows.column(c, row));
            for (int c = ChannelCells::FirstAttribute; c <= ChannelCells::LastAttribute; ++c)
                cells.setAttribute(c, row, rows.attribute(c, row));
        }
        m_table->setCells(cells);
    });
}

void CodeplugDocument::setHolding(bool holding)
{
    if (holding == m_holding)
        return;
    if (holding)
        closeStep();   // what came before the press is a step of its own
    m_holding = holding;
    if (!holding)
        somethingChanged();
}

void CodeplugDocument::change(const QString &label, const std::function<void()> &edit)
{
    closeStep();   // what came before is a step of its own
    ++m_explicit;
    edit();
    --m_explicit;
    finishStep(label, true);
}

// ---------------------------------------------------------------------------------------
// Marks

DocumentState CodeplugDocument::relabelled(const DocumentState &s) const
{
    ChannelTable scratch;
    scratch.setMarks(m_table->marks());
    scratch.setCells(s.channels);
    scratch.rewriteMarks();
    DocumentState out = s;
    out.channels = scratch.cells();
    return out;
}

void CodeplugDocument::relabelMarks(const Marks &marks)
{
    closeStep();
    const bool wasModified = isModified();
    ++m_quiet;
    m_table->setMarks(marks);
    m_table->rewriteMarks();
    --m_quiet;
    m_baseline = state();
    m_saved = wasModified ? relabelled(m_saved) : m_baseline;
    updateModified();
}

// ---------------------------------------------------------------------------------------
// Modified

bool CodeplugDocument::isModified() const
{
    return state() != m_saved;
}

void CodeplugDocument::markSaved()
{
    closeStep();
    m_saved = state();
    updateModified();
}

void CodeplugDocument::updateModified()
{
    const bool now = isModified();
    if (now == m_modified)
        return;
    m_modified = now;
    emit modifiedChanged(now);
}

// ---------------------------------------------------------------------------------------
// Steps

DocumentState CodeplugDocument::state() const
{
    return {m_table->cells(), m_store->snapshot(), m_bands};
}

void CodeplugDocument::somethingChanged()
{
    if (m_quiet > 0)
        return;
    emit contentChanged();
    if (m_explicit > 0 || m_closeScheduled)
        return;
    m_closeScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_closeScheduled = false;
        finishStep(QString(), false);
    });
}

bool CodeplugDocument::halfEntered(const DocumentChange &change) const
{
    QSet<int> rows;
    for (const DocumentChange::Cell &c : change.cells)
        rows.insert(c.row);
    for (int row : rows) {
        const QString rx = m_table->cell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, row);
        const QString tx = m_table->cell(ChannelTable::Grid1, ChannelTable::TxFreqColumn, row);
        if (!committedFrequency(rx) || !committedFrequency(tx))
            return true;   // typed text that no commit has normalised
        if (!rx.isEmpty() && m_table->cell(ChannelTable::Grid1, ChannelTable::RxToneColumn, row).isEmpty())
            return true;   // a new channel whose defaults the commit has not filled yet
        if (rx.isEmpty())
            for (int c = ChannelTable::RxToneColumn; c <= ChannelTable::AliasColumn; ++c)
                if (!m_table->cell(ChannelTable::Grid1, c, row).isEmpty())
                    return true;   // a receive frequency deleted: the commit empties the row
    }
    return false;
}

void CodeplugDocument::closeStep()
{
    finishStep(QString(), true);
}

void CodeplugDocument::finishStep(const QString &label, bool force)
{
    if (m_quiet > 0)
        return;
    const DocumentState now = state();
    DocumentChange change = DocumentChange::between(m_baseline, now);
    if (change.isEmpty()) {
        updateModified();
        return;
    }
    if (!force && (m_holding || halfEntered(change)))
        return;   // the step goes on until the row is whole
    m_baseline = now;
    if (!label.isEmpty())
        change.label = label;
    else if (!change.cells.isEmpty())
        change.label = QStringLiteral("Edit channels");
    else if (!change.settings.isEmpty())
        change.label = QStringLiteral("Change settings");
    else
        change.label = QStringLiteral("Choose band range");
    emit stepRecorded(change);
    updateModified();
}

void CodeplugDocument::applyChange(const DocumentChange &change, bool forward)
{
    closeStep();
    ++m_quiet;
    DocumentState target = state();
    change.applyTo(target, forward);
    if (change.cells.size() > kCellByCell) {
        m_table->setCells(target.channels);
    } else {
        for (const DocumentChange::Cell &c : change.cells)
            m_table->setCell(c.attribute ? ChannelTable::Grid2 : ChannelTable::Grid1, c.column, c.row,
                             forward ? c.after : c.before);
    }
    // A step recorded before a language switch holds the marks of the other language.
    m_table->rewriteMarks();
    m_store->restore(target.settings);
    for (const DocumentChange::Band &b : change.bands)
        setBandList(b.list, target.bands[size_t(b.list)]);
    --m_quiet;
    m_baseline = state();
    updateModified();
}

void CodeplugDocument::resetHistory()
{
    m_closeScheduled = false;
    m_baseline = m_saved = state();
    emit historyReset();
    updateModified();
}
