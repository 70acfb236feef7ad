#include "RadioCommands.h"

#include "CReadWriteDlg.h"
#include "frame/ui/CMainFrame.h"
#include "base/Globals.h"
#include "radiolink/RadioTransfer.h"

RadioCommands::RadioCommands(QWidget *window, QObject *parent)
    : QObject(parent), m_window(window)
{
}

void RadioCommands::attach(CMainFrame *frame)
{
    connect(frame, &CMainFrame::readRequested, this, &RadioCommands::onRead);
    connect(frame, &CMainFrame::writeRequested, this, &RadioCommands::onWrite);
}

bool RadioCommands::onRead()
{
    if (!runTransfer(true))
        return false;
    // The grid follows the image only after a read that brought every block; after a
    // failure the image is unchanged and so is the grid.
    if (imageToGrid)
        imageToGrid();
    return true;
}

bool RadioCommands::onWrite()
{
    return runTransfer(false);
}

bool RadioCommands::runTransfer(bool read)
{
    if (gridToImage)
        gridToImage();
    CReadWriteDlg dialog(m_window);
    dialog.setReadFlag(read);
    dialog.setTitle(RadioTransfer::title(read, LanguageIndex));
    if (dialogCreated)
        dialogCreated(dialog);
    dialog.exec();
    return dialog.success();
}
