#include "CProgramView.h"

#include "ChannelGridWidget.h"
#include "ChannelPrinting.h"
#include "files/CProgramDoc.h"
#include "files/CsvChannels.h"
#include "base/ResourceLibrary.h"
#include "base/Globals.h"
#include "model/ChannelCodec.h"
#include "model/GridRules.h"
#include "model/MemoryImage.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QAction>
#include <algorithm>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int ModelSelectorId = 1017;
constexpr int BandSelectorId = 1011;
constexpr int GridId = 1007;
constexpr int FrequencyEditorId = 1082;
constexpr int ToneEditorId = 1083;
constexpr int ListEditorId = 1084;
constexpr int NameEditorId = 1085;

template <typename W>
W *named(W *widget, const char *name, int id)
{
    widget->setObjectName(QLatin1String(name));
    widget->setProperty("controlId", id);
    return widget;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Index of the first entry of `box` whose text begins with `text`, -1 when none does.
int firstStartingWith(const QComboBox *box, const QString &text)
{
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).startsWith(text))
            return i;
    return -1;
}

} // namespace

CProgramView::CProgramView(CProgramDoc *document, QWidget *parent)
    : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("CProgramView"));
    const ResourceLibrary &res = resources();

    m_group = new QGroupBox(this);
    m_modelLabel = new QLabel(res.labelText(ResId::FormDialog, ModelSelectorId), m_group);
    m_bandLabel = new QLabel(res.labelText(ResId::FormDialog, BandSelectorId), m_group);
    m_modelSelector = named(new QComboBox(m_group), "modelSelector", ModelSelectorId);
    m_bandSelector = named(new QComboBox(m_group), "bandSelector", BandSelectorId);
    m_modelLabel->setBuddy(m_modelSelector);
    m_bandLabel->setBuddy(m_bandSelector);
    m_modelSelector->setMinimumContentsLength(10);
    m_bandSelector->setMinimumContentsLength(10);
    m_defaultFactoryButton = named(new QPushButton(res.controlText(ResId::FormDialog, DefaultFactoryId), this),
                                   "defaultFactoryButton", DefaultFactoryId);
    m_grid = named(new ChannelGridWidget(document, this), "channelGrid", GridId);
    m_grid->setAccessibleName(languageText(LanguageIndex, "Channels", "信道", "信道"));

    auto *groupLayout = new QHBoxLayout(m_group);
    groupLayout->addWidget(m_modelLabel);
    groupLayout->addWidget(m_modelSelector);
    groupLayout->addSpacing(24);
    groupLayout->addWidget(m_bandLabel);
    groupLayout->addWidget(m_bandSelector);
    auto *top = new QHBoxLayout;
    top->addWidget(m_group);
    top->addStretch(1);
    top->addWidget(m_defaultFactoryButton, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);

    // The editors float over the grid and are laid out by hand.
    m_frequencyEditor = named(new QLineEdit(this), "frequencyEditor", FrequencyEditorId);
    m_toneEditor = named(new QComboBox(this), "toneEditor", ToneEditorId);
    m_listEditor = named(new QComboBox(this), "listEditor", ListEditorId);
    m_nameEditor = named(new QLineEdit(this), "nameEditor", NameEditorId);
    m_toneEditor->setMaxVisibleItems(20);
    for (QWidget *editor : {static_cast<QWidget *>(m_frequencyEditor), static_cast<QWidget *>(m_toneEditor),
                            static_cast<QWidget *>(m_listEditor), static_cast<QWidget *>(m_nameEditor)}) {
        editor->hide();
        editor->installEventFilter(this);
    }
    // A name is kept one byte per character: only Latin-1 letters can be typed, except the
    // byte 0xFF (y with diaeresis), which marks the end of a stored name and would cut it off.
    m_nameEditor->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FE}]*")), m_nameEditor));
    m_frequencyEditor->setContextMenuPolicy(Qt::NoContextMenu);
    m_nameEditor->setContextMenuPolicy(Qt::NoContextMenu);
    m_grid->installEventFilter(this);
    // Whole channel rows go to and from the clipboard from the grid itself; the editors laid
    // over it keep their own keys.
    auto *copy = new QAction(m_grid);
    copy->setObjectName(QStringLiteral("copyChannelsAction"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    m_grid->addAction(copy);
    connect(copy, &QAction::triggered, this, &CProgramView::copyChannels);
    auto *paste = new QAction(m_grid);
    paste->setObjectName(QStringLiteral("pasteChannelsAction"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    m_grid->addAction(paste);
    connect(paste, &QAction::triggered, this, &CProgramView::pasteChannels);

    connect(m_modelSelector, &QComboBox::currentIndexChanged, this, &CProgramView::onModelSelected);
    connect(m_bandSelector, &QComboBox::currentIndexChanged, this, &CProgramView::onBandSelected);
    connect(m_defaultFactoryButton, &QPushButton::clicked, this, &CProgramView::defaultFactoryClicked);
    connect(m_grid, &ChannelGridWidget::mousePressed, this, &CProgramView::onGridMousePressed);
    connect(m_grid, &ChannelGridWidget::cellEntered, this, &CProgramView::onGridCellEntered);
    connect(document, &CProgramDoc::selectionChanged, this, &CProgramView::showSelection);
    connect(document, &CProgramDoc::documentReset, this, &CProgramView::onDocumentReset);
    // Scrolling takes the focus to the grid, so an open editor commits before it would drift
    // away from its cell.
    connect(m_grid, &ChannelGridWidget::scrolled, this, [this] {
        if (m_openEditor)
            commitEditor();
        m_grid->setFocus(Qt::OtherFocusReason);
    });
}

CProgramView::~CProgramView() = default;

QSize CProgramView::sizeHint() const
{
    // Wide enough for all ten columns and the scroll bar, about twenty rows high.
    const QMargins m = layout()->contentsMargins();
    const int gridWidth = m_grid->verticalHeader()->width() + 9 * ChannelGridWidget::DefaultColumnWidth
        + m_grid->verticalScrollBar()->sizeHint().width() + 2 * m_grid->frameWidth();
    const int gridHeight = m_grid->horizontalHeader()->sizeHint().height()
        + 16 * m_grid->verticalHeader()->defaultSectionSize() + 2 * m_grid->frameWidth();
    const QSize top = layout()->itemAt(0)->sizeHint();
    return QSize(std::max(gridWidth, top.width()) + m.left() + m.right(),
                 top.height() + layout()->spacing() + gridHeight + m.top() + m.bottom());
}

void CProgramView::onInitialUpdate()
{
    // 1. Lay the frame out again and shrink it, if larger, to fit the form.
    QWidget *frame = window();
    if (frame != this) {
        if (frame->layout())
            frame->layout()->activate();
        const QSize fit = frame->sizeHint();
        if (fit.isValid())
            frame->resize(frame->size().boundedTo(fit));
    }
    // 2. Names have at most six characters.
    m_nameEditor->setMaxLength(ImageMap::ChannelNameLength);
    // 3. One-time set-up of the grid, the tone list and the model list.
    if (!m_setUp) {
        m_setUp = true;
        m_grid->setUp(GridRules::headerTexts(LanguageIndex));
        m_toneEditor->addItems(ToneChoices(LanguageIndex));
        const QSignalBlocker block(m_modelSelector);
        m_modelSelector->addItems(GridRules::radioModelNames());
    }
    // 4.
    ImageToGrid();
}

void CProgramView::ImageToGrid()
{
    onDocumentReset();
}

void CProgramView::onDocumentReset()
{
    if (m_openEditor) {
        // The editor's cell is about to be replaced; its value has no channel to go to.
        m_openEditor->hide();
        m_openEditor = nullptr;
    }
    showSelection();
}

void CProgramView::GridToImage()
{
    // 1. An open editor commits first.
    if (m_openEditor)
        commitEditor();
    // 2.-4. Model, band, channels and the fixed fields.
    m_document->storeValues();
}

void CProgramView::commitEdit()
{
    if (m_openEditor)
        commitEditor();
}

QString CProgramView::cellText(int row, int column) const
{
    return m_grid->textMatrix(row, column);
}

QString CProgramView::modelText() const
{
    return m_modelSelector->currentText();
}

void CProgramView::showSelection()
{
    // Model: the document's; no models listed yet (before the first initial update) or none
    // selected shows no selection.
    {
        const QSignalBlocker block(m_modelSelector);
        m_modelSelector->setCurrentIndex(m_modelSelector->count() > 0 ? m_document->modelIndex() : -1);
    }
    // Band: the one band of the model, the document's band index within it (0 when it names
    // none).
    const QSignalBlocker block(m_bandSelector);
    m_bandSelector->clear();
    m_bandSelector->addItem(GridRules::bandTextOfModel(m_modelSelector->currentText()));
    const int band = m_document->bandIndex();
    m_bandSelector->setCurrentIndex(band >= 0 && band < m_bandSelector->count() ? band : 0);
}

void CProgramView::onModelSelected()
{
    const int index = m_modelSelector->currentIndex();
    m_document->change(m_modelLabel->text().remove(QLatin1Char('&')), [this, index] {
        m_document->setModelIndex(index);
    });
}

void CProgramView::onBandSelected()
{
    const int index = m_bandSelector->currentIndex();
    m_document->change(m_bandLabel->text().remove(QLatin1Char('&')), [this, index] {
        m_document->setBandIndex(index);
    });
}

bool CProgramView::pointerOverChannelColumn() const
{
    return m_grid->mouseCol() == 0 && m_grid->mouseRow() > 0;
}

void CProgramView::onGridMousePressed(Qt::MouseButton button, int, int column)
{
    if (button != Qt::LeftButton)
        return;
    if (column == 0) {
        m_grid->setHighLight(true);
        return;
    }
    m_grid->setHighLight(false);
    openCellEditor();
}

void CProgramView::onGridCellEntered()
{
    m_grid->setHighLight(pointerOverChannelColumn());
}

void CProgramView::openCellEditor()
{
    if (m_openEditor)
        commitEditor();
    const int row = m_grid->row();
    // An empty channel can only be started with its receive frequency.
    if (m_document->channel(row).rxFreq.isEmpty())
        m_grid->setCol(ChannelTexts::RxFreq);
    const int column = m_grid->col();
    m_grid->scrollTo(m_grid->currentIndex());
    const QRect cell = m_grid->currentCellRect();
    if (cell.isEmpty())
        return;
    const QString text = m_document->channel(row).text(column);

    QWidget *editor = nullptr;
    switch (column) {
    case ChannelTexts::RxFreq:
    case ChannelTexts::TxFreq:
        m_frequencyEditor->setText(text);
        m_frequencyEditor->selectAll();
        editor = m_frequencyEditor;
        break;
    case ChannelTexts::RxTone:
    case ChannelTexts::TxTone:
        m_toneEditor->setCurrentIndex(firstStartingWith(m_toneEditor, text));
        editor = m_toneEditor;
        break;
    case ChannelTexts::Name:
        m_nameEditor->setText(text);
        m_nameEditor->selectAll();
        editor = m_nameEditor;
        break;
    default:
        m_listEditor->clear();
        m_listEditor->addItems(GridRules::listEditorWords(column, LanguageIndex));
        m_listEditor->setCurrentIndex(firstStartingWith(m_listEditor, text));
        editor = m_listEditor;
        break;
    }
    // Over the cell, inside its grid lines.
    const QPoint topLeft = m_grid->mapTo(this, cell.topLeft());
    editor->setGeometry(QRect(topLeft, cell.size()).adjusted(0, 0, -1, -1));
    m_editRow = row;
    m_editColumn = column;
    m_openEditor = editor;
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void CProgramView::commitEditor()
{
    QWidget *editor = m_openEditor;
    if (!editor)
        return;
    // Cleared first: hiding a focused editor moves the focus and must not commit again.
    m_openEditor = nullptr;
    QString value;
    if (editor == m_frequencyEditor || editor == m_nameEditor) {
        value = static_cast<QLineEdit *>(editor)->text();
    } else {
        // A drop-down opened on a value it does not list (a tone read from a radio or a
        // file) has nothing selected until the user picks an entry; leaving it without a
        // choice keeps the cell's value rather than blanking it, which would store the tone
        // as off.
        const auto *box = static_cast<QComboBox *>(editor);
        value = box->currentIndex() >= 0 ? box->currentText() : m_document->channel(m_editRow).text(m_editColumn);
    }

    const ChannelTexts row = m_document->channel(m_editRow);
    const ChannelTexts committed =
        GridRules::commitCell(row, m_editColumn, value, m_document->FreqLow(), m_document->FreqHigh());
    if (committed != row) {
        // A committed cell goes into the document at once, one step.
        const int channel = m_editRow;
        m_document->change(languageText(LanguageIndex, "Channel %1: %2", "信道 %1：%2", "信道 %1：%2")
                               .arg(m_editRow)
                               .arg(GridRules::headerText(m_editColumn, LanguageIndex)),
                           [this, channel, &committed] { m_document->setChannel(channel, committed); });
    }
    hideEditor(editor);
}

void CProgramView::cancelEditor()
{
    QWidget *editor = m_openEditor;
    // Cleared first: hiding the focused editor must not commit it.
    m_openEditor = nullptr;
    if (editor)
        hideEditor(editor);
}

void CProgramView::hideEditor(QWidget *editor)
{
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        m_grid->setFocus(Qt::OtherFocusReason);
}

void CProgramView::postKey(int key)
{
    QCoreApplication::postEvent(m_grid, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(m_grid, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

bool CProgramView::frequencyEditorKey(QKeyEvent *key)
{
    const int k = key->key();
    if (isEnter(k)) {
        const bool wasEmpty = m_frequencyEditor->text().isEmpty();
        commitEditor();
        m_grid->setFocus(Qt::OtherFocusReason);
        postKey(wasEmpty ? Qt::Key_Down : Qt::Key_Right);
        return true;
    }
    switch (k) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:       // leaves the editor (committing it) for the next control
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    const bool digit = k >= Qt::Key_0 && k <= Qt::Key_9;
    if (keypad && (digit || k == Qt::Key_Period))
        return false;
    if (keypad && k == Qt::Key_Comma) {
        // Keypads of some layouts give a comma; frequencies always use a full stop.
        m_frequencyEditor->insert(QStringLiteral("."));
        return true;
    }
    if ((digit || k == Qt::Key_Period) && !(key->modifiers() & Qt::ShiftModifier))
        return false;
    return true;
}

bool CProgramView::gridKey(QKeyEvent *key)
{
    const int k = key->key();
    if ((isEnter(k) || k == Qt::Key_F2) && !(key->modifiers() & ~Qt::KeypadModifier)) {
        m_grid->setHighLight(false);
        openCellEditor();
        return true;
    }
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    const int lastColumn = m_grid->cols() - 1;
    const int lastRow = m_grid->rows() - 1;
    if (k == Qt::Key_Right && m_grid->col() == lastColumn && m_grid->row() < lastRow) {
        postKey(Qt::Key_Home);
        postKey(Qt::Key_Down);
        return true;
    }
    if (k == Qt::Key_Left && m_grid->col() == ChannelTexts::FirstColumn && m_grid->row() > 1) {
        postKey(Qt::Key_End);
        postKey(Qt::Key_Up);
        return true;
    }
    return false;
}

bool CProgramView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_openEditor && key->key() == Qt::Key_Escape) {
            cancelEditor();   // the cell keeps its value
            return true;
        }
        if (watched == m_frequencyEditor)
            return frequencyEditorKey(key);
        if (watched == m_grid)
            return gridKey(key);
        if ((watched == m_toneEditor || watched == m_listEditor || watched == m_nameEditor)
            && isEnter(key->key())) {
            commitEditor();
            m_grid->setFocus(Qt::OtherFocusReason);
            postKey(Qt::Key_Right);
            return true;
        }
        break;
    }
    case QEvent::FocusOut: {
        // A drop-down opening its list or the menu bar taking the keyboard keeps the editor
        // open; any other loss of focus commits it.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (watched == m_openEditor && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
            commitEditor();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // No context menu on the text boxes: a right press does nothing.
        if ((watched == m_frequencyEditor || watched == m_nameEditor)
            && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QPrinter *CProgramView::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}

void CProgramView::onFilePrint()
{
    if (m_openEditor)
        commitEditor();
    QPrintDialog dialog(printer(), this);
    dialog.setMinMax(1, ChannelPrinting::PageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!ChannelPrinting::print(printer(), [this](int row, int column) { return cellText(row, column); })) {
        static const char16_t *const failed[] = {u"The channel list could not be printed.",
                                                 u"无法打印信道列表。", u"無法列印信道列表。"};
        QMessageBox::warning(this, resources().string(ResId::AppTitle),
                             QString::fromUtf16(failed[LanguageIndex < 3 ? LanguageIndex : 0]));
    }
}

void CProgramView::copyChannels()
{
    if (m_openEditor)
        commitEditor();
    QList<int> rows = m_grid->selectedChannelRows();
    if (rows.isEmpty())
        rows.append(m_grid->row());
    QList<QPair<int, ChannelTexts>> channels;
    for (int row : std::as_const(rows))
        channels.append({row, m_document->channel(row)});
    QGuiApplication::clipboard()->setText(CsvChannels::copyText(channels));
}

void CProgramView::pasteChannels()
{
    if (m_openEditor)
        commitEditor();
    const CsvChannels::Import import =
        CsvChannels::pasteText(QGuiApplication::clipboard()->text(), m_grid->row(), m_document->FreqLow(),
                               m_document->FreqHigh());
    if (!import.ok()) {
        static const char16_t *const refused[] = {u"Nothing was pasted.", u"未粘贴任何内容。", u"未貼上任何內容。"};
        QMessageBox::warning(this, resources().string(ResId::AppTitle),
                             QString::fromUtf16(refused[LanguageIndex < 3 ? LanguageIndex : 0]) + QLatin1Char('\n')
                                 + import.error);
        return;
    }
    m_document->change(QStringLiteral("Paste channels"), [this, &import] {
        for (const auto &channel : import.channels)
            m_document->setChannel(channel.first, channel.second);
    });
}

void CProgramView::onFilePrintPreview()
{
    if (m_openEditor)
        commitEditor();
    QPrinter *p = printer();
    p->setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog dialog(p, this);
    if (auto *preview = dialog.findChild<QPrintPreviewWidget *>())
        preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) {
        ChannelPrinting::print(target, [this](int row, int column) { return cellText(row, column); });
    });
    dialog.exec();
}

void CProgramView::onFilePrintSetup()
{
    QPageSetupDialog dialog(printer(), this);
    dialog.exec();
}
