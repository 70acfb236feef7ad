#include "SettingDialogs.h"

#include "COptionDlg.h"
#include "CPcbaDlg.h"
#include "CPttIdDlg.h"
#include "frame/ui/CMainFrame.h"

namespace {
template <class Dialog>
void runModal(CMainFrame *frame)
{
    Dialog dialog(frame);
    dialog.exec();
}
} // namespace

void connectSettingDialogs(CMainFrame *frame)
{
    QObject::connect(frame, &CMainFrame::optionRequested, frame, [frame] { runModal<COptionDlg>(frame); });
    QObject::connect(frame, &CMainFrame::pttIdRequested, frame, [frame] { runModal<CPttIdDlg>(frame); });
    QObject::connect(frame, &CMainFrame::embedRequested, frame, [frame] { runModal<CPcbaDlg>(frame); });
}
