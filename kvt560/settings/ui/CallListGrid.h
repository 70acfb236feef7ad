#pragma once
// The DTMF call list bsSkinStringGrid1: 2 columns x 11 rows, a fixed header row ("序号",
// "自动拨号号码") and a fixed number column ("   0" ... "   9"); column 1 of rows 1 to 10
// shows the ten auto-dial codes of the settings store. The grid never edits in place: the
// one-line editor bsSkinEdit14 lies over the selected code and every change of its text goes
// straight into the store, so the list always holds what the editor shows.
#include <QTableWidget>

class QLineEdit;
class SettingsStore;

class CallListGrid : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr int Rows = 11;
    static constexpr int RowHeight = 20;

    CallListGrid(SettingsStore *store, QWidget *parent = nullptr);

    // The header text of column 0 or 1 (language strings 122 and 123).
    void setHeaderText(int column, const QString &text);
    QString cellText(int column, int row) const;

    // Hides the overlay editor (New, and whoever needs the list settled).
    void hideEditor();

    QLineEdit *bsSkinEdit14;   // overlay editor of the selected code
    int editorRow = 0;         // the grid's tag: row of the code the editor writes into
    int editorColumn = 0;      // the editor's tag: its column

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    void bsSkinStringGrid1Click(int row, int column);   // a code was selected

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCode(int entry);
    // The header texts and each code's announcement (column title, row number, code).
    void nameForScreenReaders();
    void placeEditor();
    void startEditing(const QString &text);

    SettingsStore *m_store;
};
