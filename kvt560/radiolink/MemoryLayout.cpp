#include "radiolink/MemoryLayout.h"

#include "channels/ChannelTable.h"
#include "radiolink/FieldEncoders.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/ToneCode.h"
#include "settings/BandRanges.h"
#include "settings/SettingsRegistry.h"

#include <algorithm>

namespace MemoryLayout {

namespace {

// The channel table's columns and attributes, by shorter names.
using T = ChannelTable;
constexpr int RxFreq = T::RxFreqColumn, RxTone = T::RxToneColumn, TxFreq = T::TxFreqColumn,
              TxTone = T::TxToneColumn, Power = T::PowerColumn, Bandwidth = T::BandwidthColumn,
              Scan = T::ScanColumn, Dtmf = T::DtmfColumn, PttId = T::PttIdColumn, Alias = T::AliasColumn;
constexpr int Tail = T::TailAttribute, Vox = T::VoxAttribute, BusyLock = T::BusyLockAttribute,
              RxCode = T::RxCodeAttribute, TxCode = T::TxCodeAttribute, VoiceMode = T::VoiceModeAttribute,
              ShowAlias = T::ShowAliasAttribute;

const QString DefaultPassword = SettingsRegistry::defaultPassword();

quint8 at(const QByteArray &bytes, int i)
{
    return i < bytes.size() ? static_cast<quint8>(bytes.at(i)) : 0xFF;
}

bool bit(quint8 byte, int n) { return (byte >> n) & 1; }
quint8 flag(bool on, int n) { return on ? quint8(1u << n) : quint8(0); }

using RadioFrame::toHexText;
QByteArray bytes(const QString &hexText) { return QByteArray::fromHex(hexText.toLatin1()); }

// A cell holds mark m when it reads as the current language's form or as any language's form.
bool isMark(const QString &text, Mark m, const Marks &marks)
{
    if (text.isEmpty())
        return false;
    if (text == marks.text(m))
        return true;
    const auto recognised = Marks::recognise(text);
    return recognised && *recognised == m;
}

// Drop-down indexes are brought into the list; a nibble that is not a decimal digit reads
// as too large and ends at the last item.
void setIndex(SettingsValues &settings, const QString &name, int index)
{
    const SettingDef *def = SettingsRegistry::byName(name);
    if (!def)
        return;
    settings.set(name, std::clamp(index, 0, std::max(0, def->itemCount() - 1)));
}

void setCheck(SettingsValues &settings, const QString &name, bool on)
{
    settings.set(name, on ? 1 : 0);
}

// A decimal digit nibble; the letters A-F lie above every range it is used for.
int digit(quint8 nibble) { return nibble; }

// A DTMF text cut to what its field accepts (the remote-control code holds 8 digits).
void setDtmf(SettingsValues &settings, const QString &name, const QString &code)
{
    const SettingDef *def = SettingsRegistry::byName(name);
    if (!def)
        return;
    const int max = def->filter.maxLength;
    settings.set(name, max > 0 ? code.left(max) : code);
}

int number(const SettingsValues &s, const char *name) { return s.number(QLatin1String(name)); }

// Characters 1-3 and 5-7 of a range text as whole MHz.
// The whole-MHz limits of a range text the radio can hold (BandRanges, strict reading).
bool rangeLimits(const QString &range, int *lower, int *upper)
{
    const std::optional<WholeRangeLimits> limits = parseWholeRangeLimits(range);
    if (!limits)
        return false;
    *lower = limits->lower;
    *upper = limits->upper;
    return true;
}

} // namespace

QString unprogrammedRange()
{
    return QStringLiteral("FFF-FFFMHz");
}

// ---- Channel record ----

void sendcan(quint8 nibble, ChannelCells &cells, int row, const Marks &marks)
{
    cells.setColumn(Power, row, bit(nibble, 3) ? marks.high : marks.low);
    cells.setColumn(Bandwidth, row, bit(nibble, 2) ? marks.wide : marks.narrow);
    cells.setAttribute(BusyLock, row, bit(nibble, 0) ? marks.off : marks.on);
}

quint8 writecan(const ChannelCells &cells, int row, const Marks &marks)
{
    const QString power = cells.column(Power, row);
    const QString bandwidth = cells.column(Bandwidth, row);
    const QString busy = cells.attribute(BusyLock, row);
    if (power.isEmpty() && bandwidth.isEmpty() && busy.isEmpty())
        return 0xF;   // high power, wide, busy lockout off
    return flag(isMark(power, Mark::High, marks), 3) | flag(isMark(bandwidth, Mark::Wide, marks), 2)
           | flag(true, 1) | flag(isMark(busy, Mark::Off, marks), 0);
}

quint8 offsetDirection(const QString &receive, const QString &transmit)
{
    bool okRx = false, okTx = false;
    // QString::toDouble reads "." as the decimal separator whatever the user's locale.
    const double rx = receive.trimmed().toDouble(&okRx);
    const double tx = transmit.trimmed().toDouble(&okTx);
    if (!okRx || !okTx || rx == tx)
        return 0;
    return rx < tx ? 1 : 2;
}

void decodeChannel(const QByteArray &record, ChannelCells &cells, int row, const Marks &marks,
                   const ToneList &tones)
{
    if (at(record, 0) == 0xFF)
        return;
    bool ok = false;
    const QString rx = FieldEncoders::decodeFrequency(toHexText(record.mid(0, 4)), &ok);
    if (!ok || record.size() < RecordSize)
        return;   // not a frequency this program could have written: the row stays empty
    cells.setColumn(RxFreq, row, rx);
    const QByteArray txBytes = record.mid(4, 4);
    if (txBytes != QByteArray(4, char(0xFF)))
        cells.setColumn(TxFreq, row, FieldEncoders::decodeFrequency(toHexText(txBytes)));

    const ToneCode::ToneCell rxTone = ToneCode::sendCTC(record.mid(8, 2), tones);
    const ToneCode::ToneCell txTone = ToneCode::sendCTC(record.mid(10, 2), tones);
    cells.setColumn(RxTone, row, rxTone.text);
    cells.setAttribute(RxCode, row, rxTone.index);
    cells.setColumn(TxTone, row, txTone.text);
    cells.setAttribute(TxCode, row, txTone.index);

    const quint8 b14 = at(record, 14);
    const quint8 b15 = at(record, 15);
    sendcan(b14 >> 4, cells, row, marks);
    cells.setAttribute(Tail, row, bit(b14, 0) ? marks.on : marks.off);
    cells.setAttribute(ShowAlias, row, bit(b14, 1) ? marks.off : marks.on);
    switch ((b14 >> 2) & 3) {
    case 1: cells.setAttribute(VoiceMode, row, marks.compander); break;
    case 2: cells.setAttribute(VoiceMode, row, marks.scrambler); break;
    default: cells.setAttribute(VoiceMode, row, marks.off); break;
    }
    cells.setColumn(PttId, row, bit(b15, 4) ? marks.off : marks.on);
    cells.setColumn(Dtmf, row, bit(b15, 5) ? marks.off : marks.on);
    cells.setAttribute(Vox, row, bit(b15, 6) ? marks.off : marks.on);
    cells.setColumn(Scan, row, bit(b15, 7) ? marks.off : marks.on);
}

QByteArray encodeChannel(const ChannelCells &cells, int row, const Marks &marks)
{
    const QString rx = cells.column(RxFreq, row);
    if (rx.isEmpty())
        return QByteArray(RecordSize, char(0xFF));
    const QString tx = cells.column(TxFreq, row);
    QByteArray record = bytes(FieldEncoders::WriteFre(rx)) + bytes(FieldEncoders::WriteFre(tx));
    record += ToneCode::writeRxcode(cells.column(RxTone, row));
    record += ToneCode::writeTxcode(cells.column(TxTone, row));
    record += QByteArray(2, char(0xFF));

    const QString tail = cells.attribute(Tail, row);
    const QString showAlias = cells.attribute(ShowAlias, row);
    const QString voice = cells.attribute(VoiceMode, row);
    int voiceMode = 0;
    if (isMark(voice, Mark::Compander, marks))
        voiceMode = 1;
    else if (isMark(voice, Mark::Scrambler, marks))
        voiceMode = 2;
    else if (isMark(voice, Mark::Off, marks))
        voiceMode = 3;
    const quint8 b14 = quint8(writecan(cells, row, marks) << 4) | quint8(voiceMode << 2)
                       | flag(tail.isEmpty() || isMark(tail, Mark::On, marks), 0)
                       | flag(showAlias.isEmpty() || isMark(showAlias, Mark::Off, marks), 1);
    const quint8 b15 = flag(isMark(cells.column(Scan, row), Mark::Off, marks), 7)
                       | flag(isMark(cells.attribute(Vox, row), Mark::Off, marks), 6)
                       | flag(isMark(cells.column(Dtmf, row), Mark::Off, marks), 5)
                       | flag(isMark(cells.column(PttId, row), Mark::Off, marks), 4)
                       | offsetDirection(rx, tx);
    record.append(char(b14));
    record.append(char(b15));
    return record;
}

// ---- Alias ----

QString decodeAlias(const QByteArray &block)
{
    QByteArray codes = block.left(6);
    codes.append(QByteArray(6 - codes.size(), char(0xFF)));
    return FieldEncoders::HexToStr(toHexText(codes)).trimmed();
}

QByteArray encodeAlias(const QString &alias)
{
    return bytes(FieldEncoders::StrToHEX(alias)) + QByteArray(2, char(0xFF));
}

// ---- Settings block 1 ----

void sendchan(quint8 byte, SettingsValues &s)
{
    setIndex(s, QStringLiteral("bsSkinComboBox4"), bit(byte, 1));
    setIndex(s, QStringLiteral("bsSkinComboBox7"), bit(byte, 2));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox10"), bit(byte, 3));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox8"), bit(byte, 6));
}

quint8 writexuan(const SettingsValues &s)
{
    return 0xB1   // bits 0, 4, 5 and 7 are always set
           | flag(number(s, "bsSkinComboBox4") == 1, 1) | flag(number(s, "bsSkinComboBox7") == 1, 2)
           | flag(number(s, "bsSkinCheckRadioBox10") == 1, 3) | flag(number(s, "bsSkinCheckRadioBox8") == 1, 6);
}

void decodeSettings1(const QByteArray &block, SettingsValues &s)
{
    const auto b = [&block](int i) { return at(block, i); };
    setIndex(s, QStringLiteral("bsSkinComboBox9"), digit(b(3) & 0xF));
    sendchan(b(4), s);
    setIndex(s, QStringLiteral("bsSkinComboBox8"), digit(b(5) & 0xF));
    setIndex(s, QStringLiteral("bsSkinComboBox10"), digit(b(6) & 0xF));
    setIndex(s, QStringLiteral("bsSkinComboBox1"), b(7) & 0xF);

    setIndex(s, QStringLiteral("bsSkinComboBox22"), bit(b(8), 4));
    setIndex(s, QStringLiteral("bsSkinComboBox12"), bit(b(8), 5));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox11"), !bit(b(8), 7));

    setCheck(s, QStringLiteral("bsSkinCheckRadioBox9"), bit(b(9), 4));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox12"), bit(b(9), 5));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox13"), bit(b(9), 6));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox14"), !bit(b(9), 7));

    // VOX sensitivity 1-8 is stored as index + 1; a value beyond the list selects index 2,
    // as does a delay beyond its list.
    const int sensitivity = b(11) & 0xF;
    setIndex(s, QStringLiteral("bsSkinComboBox15"), sensitivity > 8 ? 2 : sensitivity - 1);
    const int delay = b(12) & 0xF;
    setIndex(s, QStringLiteral("bsSkinComboBox17"), delay > 4 ? 2 : delay);

    const quint8 b13 = b(13);
    setIndex(s, QStringLiteral("bsSkinComboBox18"), (b13 & 0xF) % 4);
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox19"), bit(b13, 2));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox1"), bit(b13, 3));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox17"), bit(b13, 5));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox6"), bit(b13, 6));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox18"), bit(b13, 7));

    const quint8 b14 = b(14);
    setIndex(s, QStringLiteral("bsSkinComboBox27"), (b14 & 0xF) % 4);
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox22"), bit(b14, 5));
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox20"), bit(b14, 7));

    const int group = b(15) & 0xF;
    if (group <= 7)
        setIndex(s, QStringLiteral("bsSkinComboBox46"), group);
}

QByteArray encodeSettings1(const SettingsValues &s, quint8 firstChannel)
{
    QByteArray block(16, '\0');
    const auto put = [&block](int i, int value) { block[i] = char(quint8(value)); };
    put(0, firstChannel);
    put(1, 0x80);
    put(2, 0x02);
    put(3, number(s, "bsSkinComboBox9") & 0xF);
    put(4, writexuan(s));
    put(5, number(s, "bsSkinComboBox8") & 0xF);
    put(6, number(s, "bsSkinComboBox10") & 0xF);
    put(7, number(s, "bsSkinComboBox1"));
    put(8, 0x49 | flag(number(s, "bsSkinComboBox22") == 1, 4) | flag(number(s, "bsSkinComboBox12") == 1, 5)
               | flag(number(s, "bsSkinCheckRadioBox11") != 1, 7));
    put(9, 0x0F | flag(number(s, "bsSkinCheckRadioBox9") == 1, 4) | flag(number(s, "bsSkinCheckRadioBox12") == 1, 5)
               | flag(number(s, "bsSkinCheckRadioBox13") == 1, 6) | flag(number(s, "bsSkinCheckRadioBox14") != 1, 7));
    put(10, 0xFF);
    put(11, (number(s, "bsSkinComboBox15") + 1) & 0xF);
    put(12, number(s, "bsSkinComboBox17") & 0xF);
    put(13, (number(s, "bsSkinComboBox18") & 3) | flag(number(s, "bsSkinCheckRadioBox19") == 1, 2)
                | flag(number(s, "bsSkinCheckRadioBox1") == 1, 3) | flag(number(s, "bsSkinCheckRadioBox17") == 1, 5)
                | flag(number(s, "bsSkinCheckRadioBox6") == 1, 6) | flag(number(s, "bsSkinCheckRadioBox18") == 1, 7));
    put(14, 0x50 | (number(s, "bsSkinComboBox27") & 0xF) | flag(number(s, "bsSkinCheckRadioBox22") == 1, 5)
                | flag(number(s, "bsSkinCheckRadioBox20") == 1, 7));
    put(15, 0xF0 | (number(s, "bsSkinComboBox46") & 0xF));
    return block;
}

// ---- Settings block 2 ----

namespace {
// The DTMF times, one byte each in units of 10 ms, bytes 4 to 8.
const char *const TimeSpins[] = {"bsSkinSpinEdit17", "bsSkinSpinEdit9", "bsSkinSpinEdit10",
                                 "bsSkinSpinEdit13", "bsSkinSpinEdit14"};
} // namespace

void decodeSettings2(const QByteArray &block, SettingsValues &s)
{
    const auto b = [&block](int i) { return at(block, i); };
    setIndex(s, QStringLiteral("bsSkinComboBox16"), (b(1) & 0xF) % 8);
    setIndex(s, QStringLiteral("bsSkinComboBox13"), (b(2) >> 4) % 8);
    setIndex(s, QStringLiteral("bsSkinComboBox2"), (b(2) & 0xF) % 8);
    setIndex(s, QStringLiteral("bsSkinComboBox3"), (b(3) >> 4) % 8);
    setIndex(s, QStringLiteral("bsSkinComboBox5"), (b(3) & 0xF) % 8);
    for (int i = 0; i < 5; ++i)
        s.set(QLatin1String(TimeSpins[i]), b(4 + i) * 10);   // brought into the spin range
    setCheck(s, QStringLiteral("bsSkinCheckRadioBox16"), (b(9) >> 4) / 8 == 1);
    setIndex(s, QStringLiteral("bsSkinComboBox14"), (b(9) & 0xF) % 2);
    s.set(QStringLiteral("bsSkinSpinEdit21"), b(10) / 2);
}

QByteArray encodeSettings2(const SettingsValues &s)
{
    QByteArray block(Settings2WrittenSize, '\0');
    const auto put = [&block](int i, int value) { block[i] = char(quint8(value)); };
    put(0, 0xFF);
    put(1, 0xF0 | (number(s, "bsSkinComboBox16") & 0xF));
    put(2, (number(s, "bsSkinComboBox13") & 0xF) << 4 | (number(s, "bsSkinComboBox2") & 0xF));
    put(3, (number(s, "bsSkinComboBox3") & 0xF) << 4 | (number(s, "bsSkinComboBox5") & 0xF));
    for (int i = 0; i < 5; ++i)
        put(4 + i, s.number(QLatin1String(TimeSpins[i])) / 10);
    put(9, (number(s, "bsSkinCheckRadioBox16") == 1 ? 0xF0 : 0x70) | (number(s, "bsSkinComboBox14") & 0xF));
    put(10, number(s, "bsSkinSpinEdit21") * 2);
    return block;
}

// ---- Band limits ----

QStringList decodeBandLimits(const QByteArray &block)
{
    QByteArray data = block.left(16);
    data.append(QByteArray(16 - data.size(), char(0xFF)));
    const QString text = toHexText(data);
    QStringList ranges;
    // Each range: upper limit, then lower limit, 4 BCD digits each; the fourth digit is
    // below 1 MHz and not shown.
    for (int r = 0; r < 4; ++r) {
        const QString upper = text.mid(r * 8, 3);
        const QString lower = text.mid(r * 8 + 4, 3);
        ranges.append(lower + QLatin1Char('-') + upper + QStringLiteral("MHz"));
    }
    return ranges;
}

bool isProgrammedRange(const QString &range)
{
    int lower = 0, upper = 0;
    return range.size() == 10 && rangeLimits(range, &lower, &upper) && range.mid(7) == QLatin1String("MHz");
}

QStringList bandRangesToAdd(const QByteArray &block)
{
    const QStringList ranges = decodeBandLimits(block);
    QStringList out;
    if (ranges.first() == unprogrammedRange())
        return out;
    for (const QString &range : ranges)
        out.append(isProgrammedRange(range) ? range : QString());
    return out;
}

// ---- Password ----

QString decodePassword(const QByteArray &block)
{
    QString text;
    for (int i = 0; i < PasswordSize; ++i)
        text += QString::number(at(block, i) & 0xF, 16).toUpper();
    return text;
}

QByteArray encodePassword(const QString &password)
{
    QByteArray out;
    const QString text = password.size() == PasswordSize ? password : DefaultPassword;
    for (QChar c : text) {
        bool ok = false;
        const int v = QString(c).toInt(&ok, 16);
        if (!ok)
            return encodePassword(DefaultPassword);
        out.append(char(v));
    }
    return out;
}

// ---- DTMF code fields ----

QString decodeDtmfField(const QByteArray &field)
{
    QByteArray data = field.left(DtmfFieldSize);
    data.append(QByteArray(DtmfFieldSize - data.size(), char(0xFF)));
    const QString nibbles = toHexText(data);
    const int count = nibbles.mid(15, 1).toInt(nullptr, 16);
    return FieldEncoders::HexToDTMF(nibbles.left(DtmfMaxDigits), count);
}

QByteArray encodeDtmfField(const QString &code)
{
    const int count = std::min<int>(code.size(), DtmfMaxDigits);
    QString nibbles = FieldEncoders::DTMFToHex(code, count);
    nibbles += QString(DtmfMaxDigits - count, QLatin1Char('F'));
    nibbles += QString::number(count, 16).toUpper();
    return bytes(nibbles);
}

namespace {
void decodePair(const QByteArray &block, SettingsValues &s, const QString &first, const QString &second)
{
    setDtmf(s, first, decodeDtmfField(block.left(8)));
    setDtmf(s, second, decodeDtmfField(block.mid(8, 8)));
}
QByteArray encodePair(const SettingsValues &s, const QString &first, const QString &second)
{
    return encodeDtmfField(s.text(first)) + encodeDtmfField(s.text(second));
}
} // namespace

void decodeCallList(const QByteArray &block, int k, SettingsValues &s)
{
    decodePair(block, s, SettingsRegistry::callListEntryName(2 * k), SettingsRegistry::callListEntryName(2 * k + 1));
}

QByteArray encodeCallList(const SettingsValues &s, int k)
{
    return encodePair(s, SettingsRegistry::callListEntryName(2 * k), SettingsRegistry::callListEntryName(2 * k + 1));
}

void decodeIdBlock(const QByteArray &block, SettingsValues &s)
{
    decodePair(block, s, QStringLiteral("bsSkinEdit5"), QStringLiteral("bsSkinEdit16"));
}

QByteArray encodeIdBlock(const SettingsValues &s)
{
    return encodePair(s, QStringLiteral("bsSkinEdit5"), QStringLiteral("bsSkinEdit16"));
}

void decodePttIdBlock(const QByteArray &block, SettingsValues &s)
{
    decodePair(block, s, QStringLiteral("bsSkinEdit3"), QStringLiteral("bsSkinEdit4"));
}

QByteArray encodePttIdBlock(const SettingsValues &s)
{
    return encodePair(s, QStringLiteral("bsSkinEdit3"), QStringLiteral("bsSkinEdit4"));
}

// ---- First channel ----

quint8 firstChannelInRange(const ChannelCells &cells, const QString &range)
{
    int lower = 0, upper = 0;
    if (!rangeLimits(range, &lower, &upper))
        return 0xFF;   // no limits to test against: no channel counts as inside
    for (int row = 1; row <= ChannelCells::Channels; ++row) {
        const QString text = cells.column(RxFreq, row).trimmed();
        if (text.isEmpty())
            continue;
        bool ok = false;
        const double f = text.toDouble(&ok);
        if (ok && lower <= f && f < upper)
            return quint8(row);
    }
    return 0xFF;
}

QString firstChannelText(const ChannelCells &cells, const QString &range)
{
    return QStringLiteral("%1").arg(firstChannelInRange(cells, range), 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace MemoryLayout
