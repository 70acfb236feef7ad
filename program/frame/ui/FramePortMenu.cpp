#include "FramePortMenu.h"

#include "CMainFrame.h"
#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "common/ui/PortMenu.h"
#include "radiolink/PortDevice.h"
#include "radiolink/PortMessages.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

class FramePorts : public PortEntries
{
public:
    FramePorts(CMainFrame &frame, const QMap<int, QString> &captions) : m_frame(frame), m_captions(captions) {}

    QString caption(int number) const override { return m_captions.value(number); }
    QString device(int number, const QList<SerialDevice> &present) const override
    {
        return SerialPorts::deviceFor(number, mappedPorts(AppDirectory), present);
    }
    int chosen() override
    {
        const int number = portNumber(PortName);
        if (number >= 1 && number <= PortCount)
            return number;
        m_frame.onPort(1);
        return 1;
    }
    bool remember(int number, const QString &device) override
    {
        const ProgramIni ini(AppDirectory);
        if (ini.write(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(number), device))
            return true;
        m_frame.showMessage(portMessages().other.arg(ini.path(), QStringLiteral("cannot be written")));
        return false;
    }
    PortProblemTexts texts() const override { return portMessages(); }

private:
    CMainFrame &m_frame;
    QMap<int, QString> m_captions;   // the entries' own captions, "COM1"
};

} // namespace

PortMenu *attachPortMenu(CMainFrame &frame)
{
    QMap<int, QAction *> entries;
    QMap<int, QString> captions;
    for (int n = 1; n <= PortCount; ++n)
        if (QAction *a = frame.action(ResId::Com1 + n - 1)) {
            entries.insert(n, a);
            captions.insert(n, a->text());
        }
    QMenu *menu = nullptr;   // stays null in a translator's menu without the COM entries
    const QList<QMenu *> menus = frame.menuBar()->findChildren<QMenu *>();
    for (QMenu *m : menus)
        if (entries.contains(1) && m->actions().contains(entries.value(1)))
            menu = m;
    return new PortMenu(menu, entries, std::make_unique<FramePorts>(frame, captions), &frame);
}
