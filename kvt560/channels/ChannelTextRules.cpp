#include "channels/ChannelTextRules.h"

namespace ChannelTextRules {

bool frequencyCharAccepted(QChar c, const QString &text)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return true;
    if (c == QLatin1Char('.'))
        return text.size() >= 3 && !text.contains(QLatin1Char('.'));
    return false;
}

bool aliasCharAccepted(QChar c)
{
    const ushort code = c.unicode();
    if (code >= 127)
        return true;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z'))
        return true;
    switch (code) {
    case 8:     // Backspace
    case ' ':
    case '#':
    case '*':
    case '+':
    case '-':
    case '.':
    case '/':
    case '_':
        return true;
    default:
        return false;   // the other control characters and punctuation
    }
}

QString aliasText(QString typed)
{
    for (QChar &c : typed)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return typed;
}

} // namespace ChannelTextRules
