#pragma once
// The form view of Program (dialog template 101): the model and band selectors, the
// "Default Factory" button and the channel grid, edited in place by small editors laid over
// the current cell. It shows the document (CProgramDoc) and follows its every change: the
// grid's texts are what the document's channels show, the selectors its model and band.
//
// Keys on the grid: the arrows move the current cell (framed while the grid has the focus),
// F2 or Enter opens its editor, Enter in an editor commits it and Escape closes it without
// taking what was typed.
//
// Every change the user makes here (a committed cell, the model or band selector, a paste)
// goes to the document at once as one step of its own, so that it can be undone.
//
// Controls, found by objectName (the template's control id in brackets):
//   modelSelector (1017)         drop-down list of the five models
//   bandSelector (1011)          drop-down list holding the selected model's band
//   defaultFactoryButton (1068)  emits defaultFactoryClicked()
//   channelGrid (1007)           ChannelGridWidget, 100 x 10 with fixed row 0 and column 0
//   frequencyEditor (1082)       hidden text box for Rx Freq / Tx Freq
//   toneEditor (1083)            hidden drop-down list for Rx Tone / Tx Tone
//   listEditor (1084)            hidden drop-down list for Busy Lock, Power, Scan Add, Bandwidth
//   nameEditor (1085)            hidden text box for Name, at most 6 characters
// Each control also carries its id in the dynamic property "controlId".
#include <QPointer>
#include <QWidget>

#include <memory>

class CProgramDoc;
class ChannelGridWidget;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

class CProgramView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DefaultFactoryId = 1068;  // the "Default Factory" button

    explicit CProgramView(CProgramDoc *document, QWidget *parent = nullptr);
    ~CProgramView() override;

    // Run each time a document is created or opened: fits the frame to the form, sets the
    // grid, the tone list and the model list up the first time, then ImageToGrid.
    void onInitialUpdate();
    // Shows the document: model and band (from 0x1FE0/0x1FE1), then channels 1-99. An open
    // editor is closed without taking its text.
    void ImageToGrid();
    // Commits an open editor, then has the document store model, band and channels 1-99
    // into its image with the fixed fields (CProgramDoc::storeValues).
    void GridToImage();
    // Commits the editor now laid over the grid, if any (an edit becomes a change).
    void commitEdit();

    // Text of a grid cell as shown (row 0-99, column 0-9).
    QString cellText(int row, int column) const;
    // Text of the model selector's selected entry.
    QString modelText() const;

    CProgramDoc *document() const { return m_document; }
    ChannelGridWidget *grid() const { return m_grid; }
    // The editor now laid over the grid, or nullptr.
    QWidget *openEditor() const { return m_openEditor; }
    // The printer used by Print, Print Preview and Print Setup.
    QPrinter *printer();

    // Wide enough for the whole grid, about sixteen rows high.
    QSize sizeHint() const override;

public slots:
    // Ctrl+C on the grid: the selected channel rows (the current one without a selection) as
    // tab-separated text in the CSV column order. Ctrl+V: such rows from the current row on,
    // through the checks of an import, as one change; anything else is refused with a message.
    void copyChannels();
    void pasteChannels();
    void onFilePrint();
    void onFilePrintPreview();
    void onFilePrintSetup();

signals:
    void defaultFactoryClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The selectors show the document's model and its band.
    void showSelection();
    // The user chose a model or band: a step of the document.
    void onModelSelected();
    void onBandSelected();
    // The document was replaced as a whole: an open editor has no channel to go to.
    void onDocumentReset();
    void onGridMousePressed(Qt::MouseButton button, int row, int column);
    void onGridCellEntered();
    // Opens the editor of the grid's current cell (an empty channel starts at Rx Freq).
    void openCellEditor();
    // Writes the open editor's value into the cell it was opened on and hides it.
    void commitEditor();
    // Escape: hides the open editor without taking its value.
    void cancelEditor();
    void hideEditor(QWidget *editor);
    bool frequencyEditorKey(QKeyEvent *key);
    bool gridKey(QKeyEvent *key);
    void postKey(int key);
    bool pointerOverChannelColumn() const;

    CProgramDoc *m_document;
    QGroupBox *m_group = nullptr;
    QLabel *m_modelLabel = nullptr;
    QLabel *m_bandLabel = nullptr;
    QComboBox *m_modelSelector = nullptr;        // 1017: radio model
    QComboBox *m_bandSelector = nullptr;         // 1011: frequency range of the model
    QPushButton *m_defaultFactoryButton = nullptr; // 1068: load the model's default file
    ChannelGridWidget *m_grid = nullptr;         // 1007: channel grid
    QLineEdit *m_frequencyEditor = nullptr;      // 1082: Rx / Tx frequency editor
    QComboBox *m_toneEditor = nullptr;           // 1083: tone editor
    QComboBox *m_listEditor = nullptr;           // 1084: busy lock, power, scan, bandwidth editor
    QLineEdit *m_nameEditor = nullptr;           // 1085: channel name editor

    QPointer<QWidget> m_openEditor;
    int m_editRow = 0;    // the cell the open editor writes to
    int m_editColumn = 0;
    bool m_setUp = false;
    std::unique_ptr<QPrinter> m_printer;
};
