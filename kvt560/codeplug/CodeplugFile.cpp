#include "codeplug/CodeplugFile.h"
#include <QDir>

#include "channels/ChannelTable.h"
#include "channels/Marks.h"
#include "codeplug/CodePage.h"
#include "common/CheckedSave.h"
#include "channels/ToneList.h"
#include "settings/SettingsRegistry.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

namespace {

constexpr qint64 MaxFileBytes = 1 << 20;
const QLatin1String Crlf("\r\n");
const QLatin1String FieldSeparator(" | ");

QString channelNumber(int row)
{
    return QStringLiteral("%1").arg(row, 3, 10, QLatin1Char('0'));
}

QString settingText(const SettingDef &def, const Codeplug &content, const CodeplugFile::ItemText &itemText)
{
    const SettingsValues &s = content.settings;
    switch (def.kind) {
    case SettingKind::RangeList:
        return content.bandRanges.value(int(CodeplugFile::bandListNames().indexOf(def.name)));
    case SettingKind::Index: {
        const int index = s.number(def.name);
        const QString shown = itemText ? itemText(def.name, index) : def.itemTexts().value(index);
        return QString::number(index) + QLatin1Char(' ') + shown;
    }
    case SettingKind::Check:
        return s.number(def.name) == 1 ? QStringLiteral("1") : QStringLiteral("0");
    case SettingKind::Spin:
        return QString::number(s.number(def.name));
    case SettingKind::Text:
        return s.text(def.name);
    }
    return QString();
}

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

const QByteArray Utf8Bom("\xEF\xBB\xBF");

QStringList splitLines(const QString &text)
{
    QStringList out = text.split(QLatin1Char('\n'));
    if (out.constLast().isEmpty())
        out.removeLast();   // the line end of the last line
    for (QString &l : out)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return out;
}

// In how many cells (the texts between the "|" of a line) a reading of the file finds a mark
// word of any of the three languages: the reading a file was written in is the one whose
// marks make sense.
int markCellCount(const QString &text)
{
    int count = 0;
    for (const QString &line : splitLines(text))
        for (const QString &cell : line.split(QLatin1Char('|')))
            count += Marks::recognise(cell.trimmed()) ? 1 : 0;
    return count;
}

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Bom)) {
        // The mark of a file this program wrote in UTF-8 (or an editor saved so).
        return QString::fromUtf8(bytes.mid(Utf8Bom.size()));
    }
    // Every reading that takes the bytes strictly, in the order that wins a tie.
    std::optional<QString> readings[3];
    readings[0] = CodePage(CodePage::Gbk).decode(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError())
        readings[1] = asUtf8;
    readings[2] = CodePage(CodePage::Big5).decode(bytes);

    int best = -1, bestCount = -1;
    for (int i = 0; i < 3; ++i) {
        if (!readings[i])
            continue;
        const int count = markCellCount(*readings[i]);
        if (count > bestCount) {
            best = i;
            bestCount = count;
        }
    }
    if (best >= 0)
        return *readings[best];
    return asUtf8;   // no code page reads it whole: what can be read, the rest replaced
}

// Splits the text after one channel line's "CHnnn | " into its fields. Each field ends at
// the next "|", without the blank in front of it; the next field starts after "| ".
QStringList channelFields(const QString &line)
{
    QStringList fields;
    QString rest = line.mid(8);
    if (rest.endsWith(QLatin1Char(' ')))
        rest.chop(1);   // the blank after the last "|"
    for (int k = 0; k < CodeplugFile::FieldCount; ++k) {
        const qsizetype bar = rest.indexOf(QLatin1Char('|'));
        if (bar < 0)
            break;   // fewer fields: the missing ones stay empty
        const bool blankBefore = bar > 0 && rest.at(bar - 1) == QLatin1Char(' ');
        fields.append(rest.left(blankBefore ? bar - 1 : bar));
        rest = rest.mid(bar + 1);
        if (rest.startsWith(QLatin1Char(' ')))
            rest.remove(0, 1);
    }
    while (fields.size() < CodeplugFile::FieldCount)
        fields.append(QString());
    return fields;
}

// The tone-list index of a tone text as a cell text; nothing when the text is no entry.
std::optional<QString> toneIndexText(const QString &tone, const ToneList &tones)
{
    if (tone.isEmpty())
        return std::nullopt;
    int index = tones.indexOf(tone);
    if (index < 0 && Marks::recognise(tone) == Mark::Off)
        index = 0;   // the off word of another language is still entry 0
    if (index < 0)
        return std::nullopt;
    return QString::number(index);
}

} // namespace

namespace CodeplugFile {

QString header()
{
    return QStringLiteral("KVT560 MEMORY CHANNEL");
}

QString suffix()
{
    return QStringLiteral("k56");
}

QStringList bandListNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (const SettingDef *def : SettingsRegistry::fileOrder())
            if (def->kind == SettingKind::RangeList)
                n << def->name;
        return n;
    }();
    return names;
}

QStringList lines(const Codeplug &content, const ItemText &itemText)
{
    QStringList out(SettingsLineCount);
    out[0] = header();
    for (const SettingDef *def : SettingsRegistry::fileOrder())
        out[def->fileLine - 1] = def->fileKey + settingText(*def, content, itemText);

    for (int row = 1; row <= ChannelCells::Channels; ++row) {
        QString line = QStringLiteral("CH") + channelNumber(row);
        for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
            line += FieldSeparator + content.channels.column(c, row);
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            line += FieldSeparator + content.channels.attribute(a, row);
        line += FieldSeparator;
        out.append(line);
    }
    return out;
}

QByteArray encode(const QStringList &lines)
{
    QString text;
    for (const QString &l : lines)
        text += l + Crlf;
    if (const auto gbk = CodePage(CodePage::Gbk).encode(text))
        return *gbk;
    // The byte order mark tells the reader that this is UTF-8: GBK bytes can be valid UTF-8
    // too, so without it the reading would be a guess.
    return Utf8Bom + text.toUtf8();
}

QByteArray write(const Codeplug &content, const ItemText &itemText)
{
    return encode(lines(content, itemText));
}

QStringList decodeLines(const QByteArray &bytes)
{
    return splitLines(decodeText(bytes));
}

CodeplugReadResult read(const QByteArray &bytes, const SettingsValues &settings, const ChannelCells &channels,
                        const ToneList *tones)
{
    CodeplugReadResult result;
    const QStringList text = decodeLines(bytes);
    if (text.isEmpty() || text.constFirst() != header())
        return result;   // NotACodeplug

    // A file that ends early reads its missing lines as empty.
    auto line = [&text](int number) { return number <= text.size() ? text.at(number - 1) : QString(); };
    auto fail = [&result](int number, const QString &message) {
        result.status = CodeplugReadResult::BadValue;
        result.line = number;
        result.message = message;
        result.content = {};
        return result;
    };

    Codeplug &out = result.content;
    out.settings = settings;
    out.bandRanges = QStringList(bandListNames().size());
    for (const SettingDef *def : SettingsRegistry::fileOrder()) {
        const QString l = line(def->fileLine);
        const int at = int(def->fileKey.size());   // the value starts right after the key
        switch (def->kind) {
        case SettingKind::RangeList: {
            out.bandRanges[bandListNames().indexOf(def->name)] = l.mid(at, 10);
            break;
        }
        case SettingKind::Index: {
            // One digit, or for lists of more than ten items the number up to the next blank.
            const QString digits = def->itemCount() > 10 ? l.mid(at).section(QLatin1Char(' '), 0, 0) : l.mid(at, 1);
            if (!allDigits(digits))
                return fail(def->fileLine, ChannelTable::integerMessage(digits));
            // An index past the end of the list leaves the drop-down as it is.
            out.settings.set(def->name, digits.toInt());
            break;
        }
        case SettingKind::Check:
            out.settings.set(def->name, l.mid(at, 1) == QLatin1String("1") ? 1 : 0);
            break;
        case SettingKind::Spin: {
            const QString number = l.mid(at);
            bool ok = false;
            const double value = number.toDouble(&ok);
            if (!ok || !std::isfinite(value))
                return fail(def->fileLine, ChannelTable::conversionMessage(number));
            // Whole values; the spin range brings the value to its nearest bound.
            out.settings.set(def->name, qRound64(qBound(-1e9, value, 1e9)));
            break;
        }
        case SettingKind::Text: {
            const QString value = l.mid(at);
            if (!out.settings.set(def->name, value))
                return fail(def->fileLine, QStringLiteral("'%1' is not a valid value for \"%2\" (line %3)")
                                               .arg(value, def->fileKey.trimmed())
                                               .arg(def->fileLine));
            break;
        }
        }
    }

    const ToneList &toneList = tones ? *tones : ToneList::instance();
    out.channels = channels;
    for (int row = 1; row <= ChannelCells::Channels; ++row)
        for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
            out.channels.setColumn(c, row, QString());
    // The n-th channel line fills row n, whatever number it shows; lines after the 128th
    // are not read.
    for (int row = 1; row <= ChannelCells::Channels && SettingsLineCount + row <= text.size(); ++row) {
        const QString l = text.at(SettingsLineCount + row - 1);
        if (l.size() >= 9 && l.at(8) == QLatin1Char(' '))
            continue;   // no receive frequency: an empty channel
        // A line too short to hold a field is a channel whose fields are all empty.
        const QStringList fields = l.size() >= 9 ? channelFields(l) : QStringList(FieldCount);
        if (l.size() >= 9 && fields.at(0).isEmpty())
            continue;   // the same, the blank of the empty field dropped by an editor
        int k = 0;
        for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
            out.channels.setColumn(c, row, fields.at(k++));
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            out.channels.setAttribute(a, row, fields.at(k++));
        // The tone indices follow the tone texts (field k holds column k + 1).
        if (const auto rx = toneIndexText(fields.at(ChannelTable::RxToneColumn - 1), toneList))
            out.channels.setAttribute(ChannelTable::RxCodeAttribute, row, *rx);
        if (const auto tx = toneIndexText(fields.at(ChannelTable::TxToneColumn - 1), toneList))
            out.channels.setAttribute(ChannelTable::TxCodeAttribute, row, *tx);
    }
    result.status = CodeplugReadResult::Read;
    return result;
}

bool save(const QString &path, const QByteArray &bytes, QString *error)
{
    return CheckedSave::writeFile(path, bytes, error);
}

std::optional<QByteArray> load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.read(MaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace CodeplugFile

QString CodeplugFile::saveFailedText(const QString &path, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be saved: %2").arg(QDir::toNativeSeparators(path), reason);
}

QString CodeplugFile::loadFailedText(const QString &path, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be read: %2").arg(QDir::toNativeSeparators(path), reason);
}
