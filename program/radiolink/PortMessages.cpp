#include "PortMessages.h"

#include "RadioTransfer.h"
#include "base/ResourceLibrary.h"

PortProblemTexts portMessages()
{
    const ResourceLibrary &res = resources();
    return PortProblemTexts::fromLibrary([&res](int id) { return res.string(id); }, FirstPortString);
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
