#pragma once
// The row of OK and Cancel buttons that closes the language and PCBA dialogs.
#include <QHBoxLayout>

class QDialog;
class QPushButton;
struct DialogResource;

struct OkCancelRow {
    QPushButton *ok = nullptr;      // 1: the default button, accepts the dialog
    QPushButton *cancel = nullptr;  // 2: rejects it
    QHBoxLayout *layout = nullptr;  // the two buttons at its right end
};

// Makes the buttons of a dialog template (controls 1 and 2 of `resource`), named "okButton"
// and "cancelButton", connected to the dialog's accept() and reject().
OkCancelRow makeOkCancelRow(QDialog *dialog, const DialogResource &resource);
