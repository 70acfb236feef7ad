#pragma once
// The PCBA dialog (template 166): the text naming the radio's circuit board. OK writes it
// into the document's image; Cancel, Escape and the close box leave the image as it was.
//
// Controls (objectName, template id):
//   pcbaEdit     1092 up to 16 ASCII letters and digits, letters as capitals
//   okButton     1    store the text and close
//   cancelButton 2    close without storing
// The text box's label is named "label1092".
#include <QDialog>

class CProgramDoc;
class QLineEdit;
class QPushButton;

class CPcbaDlg : public QDialog
{
    Q_OBJECT
public:
    CPcbaDlg(CProgramDoc *document, QWidget *parent = nullptr);

    QLineEdit *pcbaEdit;        // 1092: PCBA text
    QPushButton *okButton;      // 1: store and close
    QPushButton *cancelButton;  // 2: close without storing

public slots:
    void accept() override;

private:
    CProgramDoc *m_document;
    void onInitDialog();
};
