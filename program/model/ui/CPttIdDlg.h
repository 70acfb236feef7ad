#pragma once
// The PTT ID dialog (template 164): whether the radio shows the PTT ID, when it sends it and
// the code it sends. It has no buttons; however it closes, those of the three fields the
// user changed are written back into the document's image (Display, PTT ID, then Code).
//
// Controls (objectName, template id):
//   displayList 1097 PTT ID display on/off
//   pttIdList   1090 off, at the beginning, at the end or both ends of a transmission
//   codeEdit    1096 the code: up to 16 of 0-9, A-D, # and *; a-d become capitals
// Each control's label is named "label" plus the control id ("label1096").
#include "ShownValues.h"

#include <QDialog>

class CProgramDoc;
class QComboBox;
class QKeyEvent;
class QLineEdit;

class CPttIdDlg : public QDialog
{
    Q_OBJECT
public:
    CPttIdDlg(CProgramDoc *document, QWidget *parent = nullptr);
    ~CPttIdDlg() override;

    QComboBox *displayList; // 1097: display on/off
    QComboBox *pttIdList;   // 1090: PTT ID mode
    QLineEdit *codeEdit;    // 1096: PTT ID code

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    CProgramDoc *m_document;
    ShownValues m_shown;
    void onInitDialog();
    void writeBack();
};
