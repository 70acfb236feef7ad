#include "common/Csv.h"

#include <QFile>

namespace Csv {

ParseResult parse(const QString &text, QChar separator)
{
    ParseResult result;
    int i = 0;
    const int n = text.size();
    if (n > 0 && text.at(0) == QChar(0xFEFF))
        i = 1;
    int lineNo = 1;
    const QChar quote = QLatin1Char('"');
    const QChar cr = QLatin1Char('\r');
    const QChar lf = QLatin1Char('\n');

    auto fail = [&result](const QString &error, int line) {
        result.records.clear();
        result.error = error;
        result.errorLine = line;
        return result;
    };

    while (i < n) {
        Record record;
        record.line = lineNo;
        QString field;
        bool endOfRecord = false;
        bool anyContent = false;
        while (!endOfRecord) {
            field.clear();
            if (i < n && text.at(i) == quote) {
                anyContent = true;
                const int openedOn = lineNo;
                ++i;
                for (;;) {
                    if (i >= n)
                        return fail(QStringLiteral("a quoted field is not closed"), openedOn);
                    const QChar c = text.at(i);
                    if (c == quote) {
                        if (i + 1 < n && text.at(i + 1) == quote) {
                            field += quote;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == lf)
                        ++lineNo;
                    field += c;
                    ++i;
                }
                if (i < n && text.at(i) != separator && text.at(i) != cr && text.at(i) != lf)
                    return fail(QStringLiteral("text follows the closing quote of a field"), lineNo);
            } else {
                while (i < n && text.at(i) != separator && text.at(i) != cr && text.at(i) != lf) {
                    if (text.at(i) == quote)
                        return fail(QStringLiteral("a quote stands inside an unquoted field"), lineNo);
                    field += text.at(i);
                    ++i;
                }
                if (!field.isEmpty())
                    anyContent = true;
            }
            record.fields.append(field);
            if (i >= n) {
                endOfRecord = true;
            } else if (text.at(i) == separator) {
                anyContent = true;
                ++i;
            } else {
                if (text.at(i) == cr)
                    ++i;
                if (i < n && text.at(i) == lf)
                    ++i;
                ++lineNo;
                endOfRecord = true;
            }
        }
        if (anyContent)
            result.records.append(record);
    }
    return result;
}

QString quoted(const QString &field, QChar separator)
{
    const bool needs = field.contains(separator) || field.contains(QLatin1Char('"'))
                       || field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'))
                       || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needs)
        return field;
    QString out = field;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString line(const QStringList &fields, QChar separator)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields)
        out.append(quoted(f, separator));
    return out.join(separator);
}

QString write(const QList<QStringList> &records, QChar separator)
{
    const QString end = separator == QLatin1Char('\t') ? QStringLiteral("\n") : QStringLiteral("\r\n");
    QString out;
    for (const QStringList &r : records)
        out += line(r, separator) + end;
    return out;
}

bool readFile(const QString &path, QString *text, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    if (bytes.size() > MaxFileSize) {
        *error = QStringLiteral("The file is larger than %1 MB.").arg(MaxFileSize >> 20);
        return false;
    }
    *text = QString::fromUtf8(bytes);
    return true;
}

} // namespace Csv
