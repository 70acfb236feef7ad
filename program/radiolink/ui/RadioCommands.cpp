#include "RadioCommands.h"

#include "CReadWriteDlg.h"
#include "base/Globals.h"
#include "model/RadioImage.h"
#include "radiolink/RadioTransfer.h"

RadioCommands::RadioCommands(QWidget *window, QObject *parent)
    : QObject(parent), m_window(window)
{
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
    // The worker read into its own copy; the image takes it here, in the window's thread.
    if (read && dialog.success())
        setRadioImageBytes(dialog.readImage());
    return dialog.success();
}
