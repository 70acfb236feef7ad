#include "radiolink/RadioFrame.h"

namespace RadioFrame {

quint8 CheckByte(const QByteArray &bytes)
{
    quint8 check = 0;
    for (char b : bytes)
        check ^= static_cast<quint8>(b);
    return check;
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QByteArray BuildFrame(const QString &text)
{
    if (text.isEmpty() || text.size() % 2 != 0)
        return {};
    const int n = text.size() / 2;
    QByteArray frame(n + 1, '\0');
    quint8 check = 0;
    for (int i = 0; i < n; ++i) {
        const int hi = hexValue(text.at(2 * i));
        const int lo = hexValue(text.at(2 * i + 1));
        if (hi < 0 || lo < 0)
            return {};
        const quint8 b = static_cast<quint8>(hi * 16 + lo);
        frame[i] = static_cast<char>(b);
        check ^= b;
    }
    frame[n] = static_cast<char>(check);
    return frame;
}

QString toHexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

} // namespace RadioFrame
