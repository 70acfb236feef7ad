#include "settings/ui/CallListGrid.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/SettingWidgets.h"
#include "common/ui/CurrentCellDelegate.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
const QColor FixedColour(192, 192, 192);

const SettingDef &codeDef()
{
    return *SettingsRegistry::byName(SettingsRegistry::callListEntryName(0));
}

QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::NoItemFlags);   // neither selectable nor reachable by the keys
    item->setBackground(FixedColour);
    item->setForeground(Qt::black);
    return item;
}
} // namespace

CallListGrid::CallListGrid(SettingsStore *store, QWidget *parent)
    : QTableWidget(Rows, 2, parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("bsSkinStringGrid1"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(false);
    setColumnWidth(0, 56);
    setColumnWidth(1, 150);
    for (int r = 0; r < Rows; ++r)
        setRowHeight(r, RowHeight);
    horizontalHeader()->setStretchLastSection(true);

    setItem(0, 0, fixedItem(SettingsRegistry::callListHeader(0).text));
    setItem(0, 1, fixedItem(SettingsRegistry::callListHeader(1).text));
    for (int k = 0; k < SettingsRegistry::CallListEntries; ++k) {
        setItem(k + 1, 0, fixedItem(SettingsRegistry::callListRowLabel(k)));
        auto *code = new QTableWidgetItem;
        code->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        code->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setItem(k + 1, 1, code);
        showCode(k);
    }
    nameForScreenReaders();

    bsSkinEdit14 = new QLineEdit(viewport());
    bsSkinEdit14->setObjectName(QStringLiteral("bsSkinEdit14"));
    bsSkinEdit14->setFrame(false);
    bsSkinEdit14->setMaxLength(codeDef().filter.maxLength);
    bsSkinEdit14->setValidator(new TextFilterValidator(codeDef().filter, bsSkinEdit14));
    bsSkinEdit14->setContextMenuPolicy(Qt::NoContextMenu);
    bsSkinEdit14->hide();
    bsSkinEdit14->installEventFilter(this);

    // bsSkinEdit14KeyUp: the editor's text is the code of its cell.
    connect(bsSkinEdit14, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (editorRow >= 1 && editorRow < Rows)
            m_store->setByUser(SettingsRegistry::callListEntryName(editorRow - 1), text);
    });
    connect(m_store, &SettingsStore::valueChanged, this, [this](const QString &name) {
        for (int k = 0; k < SettingsRegistry::CallListEntries; ++k) {
            if (name != SettingsRegistry::callListEntryName(k))
                continue;
            showCode(k);
            // A code set by the program (file, radio, New) also reaches an open editor.
            if (editorRow == k + 1 && bsSkinEdit14->text() != m_store->text(name))
                bsSkinEdit14->setText(m_store->text(name));
        }
    });
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { bsSkinStringGrid1Click(row, column); });
    connect(this, &QTableWidget::cellClicked, this, &CallListGrid::bsSkinStringGrid1Click);
}

QSize CallListGrid::sizeHint() const
{
    return {56 + 150 + 2 * frameWidth(), Rows * RowHeight + 2 * frameWidth()};
}

void CallListGrid::setHeaderText(int column, const QString &text)
{
    if (column == 0 || column == 1) {
        item(0, column)->setText(text);
        nameForScreenReaders();
    }
}

void CallListGrid::nameForScreenReaders()
{
    // The header row and the number column are cells of the table; the hidden headers hold
    // the same texts, so that a screen reader finds the titles and row numbers as headers.
    const QString numberTitle = cellText(0, 0);
    const QString codeTitle = cellText(1, 0);
    setHorizontalHeaderLabels({numberTitle, codeTitle});
    QStringList rowLabels{numberTitle};
    for (int r = 1; r < Rows; ++r)
        rowLabels << cellText(0, r).trimmed();
    setVerticalHeaderLabels(rowLabels);
    for (int r = 1; r < Rows; ++r)
        item(r, 1)->setData(Qt::AccessibleTextRole, gridCellName(codeTitle, rowLabels.at(r), cellText(1, r)));
}

QString CallListGrid::cellText(int column, int row) const
{
    const QTableWidgetItem *i = item(row, column);
    return i ? i->text() : QString();
}

void CallListGrid::showCode(int entry)
{
    QTableWidgetItem *code = item(entry + 1, 1);
    code->setText(m_store->text(SettingsRegistry::callListEntryName(entry)));
    code->setData(Qt::AccessibleTextRole,
                  gridCellName(cellText(1, 0), cellText(0, entry + 1), code->text()));
}

void CallListGrid::hideEditor()
{
    bsSkinEdit14->hide();
}

void CallListGrid::placeEditor()
{
    bsSkinEdit14->setGeometry(visualRect(model()->index(editorRow, editorColumn)).adjusted(1, 1, -1, -1));
}

void CallListGrid::bsSkinStringGrid1Click(int row, int column)
{
    if (column != 1 || row < 1 || row >= Rows)
        return;
    bsSkinEdit14->hide();
    bsSkinEdit14->clear();
    editorColumn = column;
    editorRow = row;
    placeEditor();
    bsSkinEdit14->show();
    bsSkinEdit14->setText(cellText(column, row));
}

void CallListGrid::keyPressEvent(QKeyEvent *event)
{
    // bsSkinStringGrid1KeyPress: a typed code character starts a new code in the editor;
    // Backspace starts an empty one. Other characters are discarded and leave the code as it
    // was; navigation keys move the selection.
    const int row = currentRow();
    const bool onCode = currentColumn() == 1 && row >= 1 && row < Rows;
    const QString typed = event->text();
    if (onCode && event->key() == Qt::Key_Backspace) {
        startEditing(QString());
        return;
    }
    if (onCode && typed.size() == 1 && typed.at(0).isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (const auto c = codeDef().filter.accept(typed.at(0)))
            startEditing(QString(*c));
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool CallListGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bsSkinEdit14 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            bsSkinEdit14->hide();
            setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void CallListGrid::startEditing(const QString &text)
{
    editorRow = currentRow();
    editorColumn = 1;
    placeEditor();
    bsSkinEdit14->show();
    bsSkinEdit14->setText(text);
    bsSkinEdit14->setFocus(Qt::OtherFocusReason);
    bsSkinEdit14->setCursorPosition(int(text.size()));
    m_store->setByUser(SettingsRegistry::callListEntryName(editorRow - 1), text);
}
