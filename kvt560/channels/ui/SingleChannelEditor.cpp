#include "channels/ui/SingleChannelEditor.h"

#include "channels/ChannelCursor.h"
#include "channels/ChannelTable.h"
#include "channels/ChannelTextRules.h"
#include "channels/ToneList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace {

using T = ChannelTable;

const QString Mhz = QStringLiteral("[MHz]");

template <typename W>
W *named(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = named<QLabel>(parent, name);
    l->setText(text);
    return l;
}

QCheckBox *namedBox(QWidget *parent, const char *name, const QString &text)
{
    auto *b = named<QCheckBox>(parent, name);
    b->setText(text);
    return b;
}

// A focus change that is not the user moving between controls: another window (a notice,
// another program) or a popup took or gave back the focus.
bool isWindowSwitch(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

SingleChannelEditor::SingleChannelEditor(ChannelTable *table, ChannelCursor *cursor, ToneList &tones, QWidget *parent)
    : QWidget(parent), m_table(table), m_cursor(cursor), m_tones(tones)
{
    setObjectName(QStringLiteral("bsSkinTabSheet10"));
    buildControls();
    fillToneLists();
    refreshMarkLists();
    connect(&m_tones, &ToneList::entriesChanged, this, &SingleChannelEditor::fillToneLists);

    connect(bsSkinSpinEdit20, &QSpinBox::valueChanged, this, &SingleChannelEditor::bsSkinSpinEdit20Change);
    for (QComboBox *box : {bsSkinComboBox19, bsSkinComboBox23})
        connect(box, &QComboBox::activated, this, [this, box](int index) { toneChosen(box, index); });
    for (QComboBox *box : {bsSkinComboBox24, bsSkinComboBox31, bsSkinComboBox32})
        connect(box, &QComboBox::activated, this, [this, box](int index) { markChosen(box, index); });
    for (QCheckBox *box : {bsSkinCheckRadioBox7, bsSkinCheckRadioBox2, bsSkinCheckRadioBox3, bsSkinCheckRadioBox5,
                           bsSkinCheckRadioBox23, bsSkinCheckRadioBox15, bsSkinCheckRadioBox4})
        connect(box, &QCheckBox::clicked, this, [this, box](bool checked) { checkClicked(box, checked); });

    bsSkinTabSheet10Show();
}

SingleChannelEditor::~SingleChannelEditor()
{
    // The edits lose the focus as they go; that is no commit.
    for (QLineEdit *edit : {bsSkinEdit11, bsSkinEdit13, bsSkinEdit8})
        edit->removeEventFilter(this);
}

void SingleChannelEditor::buildControls()
{
    auto *pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(8, 8, 8, 8);
    singleChannelGroup = new QGroupBox(QStringLiteral("单信道"), this);
    singleChannelGroup->setObjectName(QStringLiteral("singleChannelGroup"));
    pageLayout->addWidget(singleChannelGroup);
    pageLayout->addStretch(1);

    QWidget *g = singleChannelGroup;
    auto *grid = new QGridLayout(g);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);

    channelNumberLabel = namedLabel(g, "bsSkinSpinEdit20Label", QStringLiteral("信道"));
    rxFrequencyLabel = namedLabel(g, "bsSkinEdit11Label", QStringLiteral("接收频率") + Mhz);
    txFrequencyLabel = namedLabel(g, "bsSkinEdit13Label", QStringLiteral("发射频率") + Mhz);
    aliasLabel = namedLabel(g, "bsSkinEdit8Label", QStringLiteral("信道别名"));
    rxToneLabel = namedLabel(g, "bsSkinComboBox19Label", QStringLiteral("CTC/DCS解码"));
    txToneLabel = namedLabel(g, "bsSkinComboBox23Label", QStringLiteral("CTC/DCS编码"));
    powerLabel = namedLabel(g, "bsSkinComboBox24Label", QStringLiteral("发射功率"));
    bandwidthLabel = namedLabel(g, "bsSkinComboBox31Label", QStringLiteral("宽/窄带"));
    voiceModeLabel = namedLabel(g, "bsSkinComboBox32Label", QStringLiteral("语音模式"));

    bsSkinSpinEdit20 = named<QSpinBox>(g, "bsSkinSpinEdit20");
    bsSkinSpinEdit20->setRange(1, T::ChannelCount);
    bsSkinSpinEdit20->setSingleStep(1);
    // The number takes effect when typing is finished (Enter, arrows or leaving the box),
    // not at every digit on the way to it.
    bsSkinSpinEdit20->setKeyboardTracking(false);
    bsSkinEdit11 = named<QLineEdit>(g, "bsSkinEdit11");
    bsSkinEdit13 = named<QLineEdit>(g, "bsSkinEdit13");
    bsSkinEdit8 = named<QLineEdit>(g, "bsSkinEdit8");
    bsSkinEdit8->setMaxLength(6);
    for (QLineEdit *edit : {bsSkinEdit11, bsSkinEdit13, bsSkinEdit8}) {
        // Typed text goes through the key filters only: no paste from a menu, the middle
        // button or a drop.
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setAcceptDrops(false);
        edit->installEventFilter(this);
    }
    bsSkinComboBox19 = named<QComboBox>(g, "bsSkinComboBox19");
    bsSkinComboBox23 = named<QComboBox>(g, "bsSkinComboBox23");
    bsSkinComboBox24 = named<QComboBox>(g, "bsSkinComboBox24");
    bsSkinComboBox31 = named<QComboBox>(g, "bsSkinComboBox31");
    bsSkinComboBox32 = named<QComboBox>(g, "bsSkinComboBox32");
    for (QComboBox *box : {bsSkinComboBox19, bsSkinComboBox23})
        box->setMaxVisibleItems(20);

    struct Row {
        QLabel *label;
        QWidget *field;
    };
    const Row rows[] = {
        {channelNumberLabel, bsSkinSpinEdit20}, {rxFrequencyLabel, bsSkinEdit11}, {txFrequencyLabel, bsSkinEdit13},
        {aliasLabel, bsSkinEdit8},              {rxToneLabel, bsSkinComboBox19},  {txToneLabel, bsSkinComboBox23},
        {powerLabel, bsSkinComboBox24},         {bandwidthLabel, bsSkinComboBox31}, {voiceModeLabel, bsSkinComboBox32},
    };
    int r = 0;
    for (const Row &row : rows) {
        row.label->setBuddy(row.field);
        row.field->setMinimumWidth(160);
        grid->addWidget(row.label, r, 0);
        grid->addWidget(row.field, r, 1);
        ++r;
    }

    bsSkinCheckRadioBox7 = namedBox(g, "bsSkinCheckRadioBox7", QStringLiteral("繁忙锁定"));
    bsSkinCheckRadioBox2 = namedBox(g, "bsSkinCheckRadioBox2", QStringLiteral("扫描添加"));
    bsSkinCheckRadioBox3 = namedBox(g, "bsSkinCheckRadioBox3", QStringLiteral("尾音消除"));
    bsSkinCheckRadioBox5 = namedBox(g, "bsSkinCheckRadioBox5", QStringLiteral("DTMF"));
    bsSkinCheckRadioBox23 = namedBox(g, "bsSkinCheckRadioBox23", QStringLiteral("显示别名"));
    bsSkinCheckRadioBox15 = namedBox(g, "bsSkinCheckRadioBox15", QStringLiteral("PTT ID"));
    bsSkinCheckRadioBox4 = namedBox(g, "bsSkinCheckRadioBox4", QStringLiteral("VOX"));
    r = 0;
    for (QCheckBox *box : {bsSkinCheckRadioBox7, bsSkinCheckRadioBox2, bsSkinCheckRadioBox3, bsSkinCheckRadioBox5,
                           bsSkinCheckRadioBox23, bsSkinCheckRadioBox15, bsSkinCheckRadioBox4})
        grid->addWidget(box, r++, 3);

    grid->setColumnMinimumWidth(2, 40);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(static_cast<int>(std::size(rows)), 1);
}

void SingleChannelEditor::fillToneLists()
{
    for (QComboBox *box : {bsSkinComboBox19, bsSkinComboBox23}) {
        const QSignalBlocker block(box);
        const int index = box->currentIndex();
        box->clear();
        box->addItems(m_tones.entries());
        box->setCurrentIndex(index);
    }
}

// The choice lists hold the marks of the current language; their indexes stay.
void SingleChannelEditor::refreshMarkLists()
{
    const Marks &m = m_table->marks();
    const struct {
        QComboBox *box;
        QStringList items;
    } lists[] = {
        {bsSkinComboBox24, {m.low, m.high}},
        {bsSkinComboBox31, {m.narrow, m.wide}},
        {bsSkinComboBox32, {m.off, m.compander, m.scrambler}},
    };
    for (const auto &list : lists) {
        const QSignalBlocker block(list.box);
        if (list.box->count() != list.items.size()) {
            const int index = list.box->currentIndex();
            list.box->clear();
            list.box->addItems(list.items);
            list.box->setCurrentIndex(index);
        } else {
            for (int i = 0; i < list.items.size(); ++i)
                list.box->setItemText(i, list.items.at(i));
        }
    }
}

void SingleChannelEditor::showIntegerNotice(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("KVT560"), ChannelTable::integerMessage(text), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("conversionNotice"));
    box.exec();
}

void SingleChannelEditor::setPageActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (!active)
        return;
    // A frequency typed into the grid and not yet committed is committed before the page
    // shows the row; when that fails the notice says why and the page is not loaded.
    const int r = m_cursor->CurRow;
    if (!m_table->isEmptyChannel(r) && m_table->cell(T::Grid1, T::RxToneColumn, r).isEmpty()
        && !m_table->sendallcell(m_cursor->CurRow, m_cursor->CurCol))
        return;
    bsSkinTabSheet10Show();
}

void SingleChannelEditor::setSingleHead(bool single)
{
    m_singleHead = single;
    if (single) {
        // A single-head cable has no VOX: the box is cleared and disabled (the main window
        // switches VOX off in every channel at the same time).
        bsSkinCheckRadioBox4->setEnabled(false);
        bsSkinCheckRadioBox4->setChecked(false);
    } else
        bsSkinCheckRadioBox4->setEnabled(bsSkinEdit13->isEnabled());   // a used channel is loaded
}

void SingleChannelEditor::setChannelNumber(int row)
{
    bsSkinSpinEdit20->setValue(row);
}

int SingleChannelEditor::channelNumber() const
{
    return bsSkinSpinEdit20->value();
}

void SingleChannelEditor::setUsedState(bool used)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             bsSkinEdit13, bsSkinEdit8, bsSkinComboBox19, bsSkinComboBox23, bsSkinComboBox24, bsSkinComboBox31,
             bsSkinComboBox32, bsSkinCheckRadioBox7, bsSkinCheckRadioBox2, bsSkinCheckRadioBox3,
             bsSkinCheckRadioBox5, bsSkinCheckRadioBox23, bsSkinCheckRadioBox15})
        w->setEnabled(used);
    bsSkinCheckRadioBox4->setEnabled(used && !m_singleHead);
    bsSkinEdit11->setEnabled(true);
}

bool SingleChannelEditor::bsSkinTabSheet10Show()
{
    const int r = m_cursor->CurRow;
    {
        const QSignalBlocker block(bsSkinSpinEdit20);
        bsSkinSpinEdit20->setValue(r);
    }
    refreshMarkLists();
    const Marks &m = m_table->marks();
    auto grid1 = [&](int column) { return m_table->cell(T::Grid1, column, r); };
    auto grid2 = [&](int column) { return m_table->cell(T::Grid2, column, r); };

    if (m_table->isEmptyChannel(r)) {
        bsSkinEdit11->clear();
        bsSkinEdit13->clear();
        bsSkinEdit8->clear();
        setUsedState(false);
        // What a new channel will get.
        bsSkinComboBox19->setCurrentIndex(0);
        bsSkinComboBox23->setCurrentIndex(0);
        bsSkinComboBox24->setCurrentIndex(1);
        bsSkinComboBox31->setCurrentIndex(1);
        bsSkinComboBox32->setCurrentIndex(0);
        for (QCheckBox *box : {bsSkinCheckRadioBox7, bsSkinCheckRadioBox4, bsSkinCheckRadioBox5, bsSkinCheckRadioBox15,
                               bsSkinCheckRadioBox23})
            box->setChecked(false);
        bsSkinCheckRadioBox2->setChecked(true);
        bsSkinCheckRadioBox3->setChecked(true);
        return true;
    }

    bsSkinEdit11->setText(grid1(T::RxFreqColumn));
    bsSkinEdit13->setText(grid1(T::TxFreqColumn));
    bsSkinEdit8->setText(grid1(T::AliasColumn));
    setUsedState(true);

    for (const auto &[box, attribute] : {std::pair{bsSkinComboBox19, int(T::RxCodeAttribute)},
                                         std::pair{bsSkinComboBox23, int(T::TxCodeAttribute)}}) {
        const QString text = grid2(attribute);
        bool ok = false;
        const int index = text.trimmed().toInt(&ok, 10);
        if (!ok) {
            showIntegerNotice(text);
            return false;
        }
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
    }

    bsSkinComboBox24->setCurrentIndex(grid1(T::PowerColumn) == m.high ? 1 : 0);
    bsSkinComboBox31->setCurrentIndex(grid1(T::BandwidthColumn) == m.wide ? 1 : 0);
    const QString voice = grid2(T::VoiceModeAttribute);
    if (voice == m.off)
        bsSkinComboBox32->setCurrentIndex(0);
    else if (voice == m.compander)
        bsSkinComboBox32->setCurrentIndex(1);
    else if (voice == m.scrambler)
        bsSkinComboBox32->setCurrentIndex(2);

    bsSkinCheckRadioBox7->setChecked(grid2(T::BusyLockAttribute) != m.off);
    bsSkinCheckRadioBox2->setChecked(grid1(T::ScanColumn) != m.off);
    bsSkinCheckRadioBox3->setChecked(grid2(T::TailAttribute) != m.off);
    bsSkinCheckRadioBox4->setChecked(grid2(T::VoxAttribute) != m.off);
    bsSkinCheckRadioBox5->setChecked(grid1(T::DtmfColumn) != m.off);
    bsSkinCheckRadioBox15->setChecked(grid1(T::PttIdColumn) != m.off);
    bsSkinCheckRadioBox23->setChecked(grid2(T::ShowAliasAttribute) != m.off);
    return true;
}

void SingleChannelEditor::bsSkinSpinEdit20Change(int value)
{
    if (m_active) {
        // Finish the row being left.
        const int r = m_cursor->CurRow;
        const bool used = !m_table->isEmptyChannel(r);
        const bool committed = !m_table->cell(T::Grid1, T::RxToneColumn, r).isEmpty();
        bool ok;
        if (used && committed) {
            ok = m_table->sendcell(T::RxFreqColumn, r) && m_table->sendcell(T::TxFreqColumn, r);
        } else {
            ok = m_table->sendallcell(m_cursor->CurRow, m_cursor->CurCol);
            if (ok)
                bsSkinTabSheet10Show();
        }
        if (!ok) {
            // The row stays current until its frequencies read as numbers; the number shows it.
            const QSignalBlocker block(bsSkinSpinEdit20);
            bsSkinSpinEdit20->setValue(r);
            return;
        }
    }
    if (value != m_cursor->CurRow) {
        m_cursor->CurRow = value;
        if (m_active)
            bsSkinTabSheet10Show();
    }
}

void SingleChannelEditor::editorEntered(QLineEdit *edit)
{
    m_cursor->CurRow = bsSkinSpinEdit20->value();
    emit channelSelected(m_cursor->CurRow);
    m_cursor->CurCol = edit == bsSkinEdit11 ? T::RxFreqColumn : edit == bsSkinEdit13 ? T::TxFreqColumn : T::AliasColumn;
}

void SingleChannelEditor::commitFrequencyEdit()
{
    if (m_committing)
        return;
    m_committing = true;
    if (m_table->sendallcell(m_cursor->CurRow, m_cursor->CurCol))
        bsSkinTabSheet10Show();
    m_committing = false;
}

bool SingleChannelEditor::frequencyKeyAccepted(QLineEdit *edit, const QString &typed) const
{
    QString text = edit->text();
    for (const QChar c : typed) {
        if (c != QLatin1Char('\b') && !ChannelTextRules::frequencyCharAccepted(c, text))
            return false;
        text += c;
    }
    return true;
}

void SingleChannelEditor::frequencyEditReleased(QLineEdit *edit)
{
    if (edit == bsSkinEdit11)
        m_table->setCell(T::Grid1, T::RxFreqColumn, bsSkinSpinEdit20->value(), edit->text());
    else
        m_table->setCell(T::Grid1, T::TxFreqColumn, m_cursor->CurRow, edit->text());
}

void SingleChannelEditor::aliasEditReleased()
{
    const QString text = ChannelTextRules::aliasText(bsSkinEdit8->text());
    if (text != bsSkinEdit8->text())
        bsSkinEdit8->setText(text);
    bsSkinEdit8->setCursorPosition(text.size());
    m_table->setCell(T::Grid1, T::AliasColumn, m_cursor->CurRow, text);
}

bool SingleChannelEditor::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || (edit != bsSkinEdit11 && edit != bsSkinEdit13 && edit != bsSkinEdit8))
        return QWidget::eventFilter(watched, event);
    const bool frequency = edit != bsSkinEdit8;

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste))
            return true;
        if (isEnter(key)) {
            if (frequency)
                commitFrequencyEdit();
            return true;   // the alias edit does nothing on Enter
        }
        // Tab types a tab character, which the filters refuse; it moves the focus on.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        const QString typed = key->text();
        if (typed.isEmpty())
            return false;   // navigation and Delete keep their editing meaning
        if (frequency)
            return !frequencyKeyAccepted(edit, typed);
        for (const QChar c : typed)
            if (!ChannelTextRules::aliasCharAccepted(c))
                return true;
        return false;
    }
    case QEvent::KeyRelease:
        if (frequency)
            frequencyEditReleased(edit);
        else
            aliasEditReleased();
        return false;
    case QEvent::FocusIn:
        if (!m_committing && !isWindowSwitch(static_cast<QFocusEvent *>(event)))
            editorEntered(edit);
        return false;
    case QEvent::FocusOut:
        if (frequency && !isWindowSwitch(static_cast<QFocusEvent *>(event)))
            commitFrequencyEdit();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button would paste the selection past the key filter.
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void SingleChannelEditor::toneChosen(QComboBox *box, int index)
{
    const int r = m_cursor->CurRow;
    if (!m_active || index < 0 || m_table->isEmptyChannel(r))
        return;
    const bool rx = box == bsSkinComboBox19;
    m_table->setCell(T::Grid2, rx ? T::RxCodeAttribute : T::TxCodeAttribute, r, QString::number(index));
    m_table->setCell(T::Grid1, rx ? T::RxToneColumn : T::TxToneColumn, r, box->itemText(index));
}

void SingleChannelEditor::markChosen(QComboBox *box, int index)
{
    const int r = m_cursor->CurRow;
    if (!m_active || index < 0 || m_table->isEmptyChannel(r))
        return;
    if (box == bsSkinComboBox24)
        m_table->setCell(T::Grid1, T::PowerColumn, r, box->itemText(index));
    else if (box == bsSkinComboBox31)
        m_table->setCell(T::Grid1, T::BandwidthColumn, r, box->itemText(index));
    else
        m_table->setCell(T::Grid2, T::VoiceModeAttribute, r, box->itemText(index));
}

void SingleChannelEditor::checkClicked(QCheckBox *box, bool checked)
{
    struct Target {
        QCheckBox *box;
        T::Table table;
        int column;
        bool followsTail;   // writes only when the tail-elimination cell is set
    };
    const Target targets[] = {
        {bsSkinCheckRadioBox7, T::Grid2, T::BusyLockAttribute, false},
        {bsSkinCheckRadioBox2, T::Grid1, T::ScanColumn, false},
        {bsSkinCheckRadioBox3, T::Grid2, T::TailAttribute, true},
        {bsSkinCheckRadioBox5, T::Grid1, T::DtmfColumn, false},
        {bsSkinCheckRadioBox23, T::Grid2, T::ShowAliasAttribute, false},
        {bsSkinCheckRadioBox15, T::Grid1, T::PttIdColumn, false},
        {bsSkinCheckRadioBox4, T::Grid2, T::VoxAttribute, true},
    };
    const int r = m_cursor->CurRow;
    for (const Target &t : targets) {
        if (t.box != box)
            continue;
        const bool allowed = t.followsTail ? !m_table->cell(T::Grid2, T::TailAttribute, r).isEmpty()
                                           : !m_table->isEmptyChannel(r);
        if (allowed)
            m_table->setCell(t.table, t.column, r, checked ? m_table->marks().on : m_table->marks().off);
        return;
    }
}
