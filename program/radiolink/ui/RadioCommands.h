#pragma once
// The Program menu's Read (Ctrl+R) and Write (Ctrl+W): the grid goes into RadioImage, the
// progress dialog runs the transfer, and after a successful read the grid shows the image.
#include <QObject>

#include <functional>

class CReadWriteDlg;
class QWidget;

class RadioCommands : public QObject
{
    Q_OBJECT
public:
    // window: the owner of the progress dialog.
    explicit RadioCommands(QWidget *window, QObject *parent = nullptr);

    // The view's conversions: the grid (with a cell still being edited) into RadioImage,
    // and RadioImage into the grid with its model and band selectors.
    std::function<void()> gridToImage;
    std::function<void()> imageToGrid;
    // Called with each new dialog before it is shown (tests answer it from here).
    std::function<void(CReadWriteDlg &)> dialogCreated;

public slots:
    // Both return true when the transfer succeeded; a write with "Verify after writing" on
    // only when the radio read back holds what was sent.
    bool onRead();
    bool onWrite();

private:
    bool runTransfer(bool read);
    QWidget *m_window;
};
