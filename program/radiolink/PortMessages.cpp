#include "PortMessages.h"

#include "RadioTransfer.h"
#include "base/ResourceLibrary.h"

PortProblemTexts portMessages()
{
    using namespace PortString;
    const ResourceLibrary &res = resources();
    PortProblemTexts t;
    t.missing = res.string(Missing);
    t.missingNone = res.string(MissingNone);
    t.noPermission = res.string(NoPermission);
    t.busy = res.string(Busy);
    t.anotherProgram = res.string(AnotherProgram);
    t.other = res.string(Other);
    t.lostRead = res.string(LostRead);
    t.lostWrite = res.string(LostWrite);
    t.notConnected = res.string(NotConnected);
    t.noDevice = res.string(NoDevice);
    // A translator's library without these strings still says something.
    return t.completedBy(PortProblemTexts::english());
}

QString transferFailureMessage(const RadioTransfer &transfer, int languageIndex)
{
    const QString text = RadioTransfer::failureText(transfer.result(), languageIndex);
    if (text.isEmpty())
        return text;
    QString reason;
    if (transfer.result() == RadioTransfer::PortOpenFailed)
        reason = portMessages().describe(transfer.portProblem());
    else if (transfer.deviceLost())
        reason = portMessages().lost(transfer.device(), !transfer.isRead());
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}
