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
void setIndex(SettingsValues &settings, SettingKey key, int index)
{
    settings.set(key, std::clamp(index, 0, std::max(0, SettingsRegistry::byKey(key).itemCount() - 1)));
}

void setCheck(SettingsValues &settings, SettingKey key, bool on)
{
    settings.set(key, on ? 1 : 0);
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

int number(const SettingsValues &s, SettingKey key) { return s.number(key); }

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

QString Correction::text() const
{
    return QStringLiteral("Channel %1: %2 stored as %3 was read as %4").arg(channel).arg(field, stored, readAs);
}

void decodeChannel(const QByteArray &record, ChannelCells &cells, int row, const Marks &marks,
                   const ToneList &tones, QList<Correction> *corrections)
{
    if (at(record, 0) == 0xFF || record.size() < RecordSize)
        return;
    auto note = [&](const char *field, const QByteArray &stored, const QString &readAs) {
        if (corrections)
            corrections->append({row, QLatin1String(field), toHexText(stored), readAs});
    };
    bool exact = false;
    const QByteArray rxBytes = record.mid(0, 4);
    const QString rx = FieldEncoders::nearestFrequency(toHexText(rxBytes), &exact);
    cells.setColumn(RxFreq, row, rx);
    if (!exact)
        note("receive frequency", rxBytes, rx);
    const QByteArray txBytes = record.mid(4, 4);
    if (txBytes != QByteArray(4, char(0xFF))) {
        const QString tx = FieldEncoders::nearestFrequency(toHexText(txBytes), &exact);
        cells.setColumn(TxFreq, row, tx);
        if (!exact)
            note("transmit frequency", txBytes, tx);
    }

    const ToneCode::ToneCell rxTone = ToneCode::sendCTC(record.mid(8, 2), tones);
    const ToneCode::ToneCell txTone = ToneCode::sendCTC(record.mid(10, 2), tones);
    if (!ToneCode::isListed(record.mid(8, 2)))
        note("receive tone", record.mid(8, 2), rxTone.text);
    if (!ToneCode::isListed(record.mid(10, 2)))
        note("transmit tone", record.mid(10, 2), txTone.text);
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

QStringList unwritableFields(const ChannelCells &cells)
{
    QStringList problems;
    for (int row = 1; row <= ChannelCells::Channels; ++row) {
        const QString rx = cells.column(RxFreq, row);
        if (rx.isEmpty())
            continue;   // an empty channel is written as such
        for (const auto &[column, field] : {std::pair{int(RxFreq), "receive frequency"}, {int(TxFreq), "transmit frequency"}}) {
            bool ok = false;
            FieldEncoders::WriteFre(cells.column(column, row), &ok);
            if (!ok)
                problems << QStringLiteral("Channel %1: the %2 \"%3\" is no frequency the radio can hold")
                                .arg(row)
                                .arg(QLatin1String(field), cells.column(column, row));
        }
    }
    return problems;
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
    setIndex(s, SettingKey::ScanMode, bit(byte, 1));
    setIndex(s, SettingKey::VfoMode, bit(byte, 2));
    setCheck(s, SettingKey::BatterySave, bit(byte, 3));
    setCheck(s, SettingKey::KeyBeep, bit(byte, 6));
}

quint8 writexuan(const SettingsValues &s)
{
    return 0xB1   // bits 0, 4, 5 and 7 are always set
           | flag(number(s, SettingKey::ScanMode) == 1, 1) | flag(number(s, SettingKey::VfoMode) == 1, 2)
           | flag(number(s, SettingKey::BatterySave) == 1, 3) | flag(number(s, SettingKey::KeyBeep) == 1, 6);
}

void decodeSettings1(const QByteArray &block, SettingsValues &s)
{
    const auto b = [&block](int i) { return at(block, i); };
    setIndex(s, SettingKey::SquelchLevel, digit(b(3) & 0xF));
    sendchan(b(4), s);
    setIndex(s, SettingKey::FrequencyStep, digit(b(5) & 0xF));
    setIndex(s, SettingKey::TransmitTimeOut, digit(b(6) & 0xF));
    setIndex(s, SettingKey::AutoPowerOff, b(7) & 0xF);

    setIndex(s, SettingKey::ActiveBand, bit(b(8), 4));
    setIndex(s, SettingKey::MemoryDisplay, bit(b(8), 5));
    setCheck(s, SettingKey::KeypadLock, !bit(b(8), 7));

    setCheck(s, SettingKey::NoVoxWhileReceiving, bit(b(9), 4));
    setCheck(s, SettingKey::FmRadio, bit(b(9), 5));
    setCheck(s, SettingKey::Alarm, bit(b(9), 6));
    setCheck(s, SettingKey::BandByKeypad, !bit(b(9), 7));

    // VOX sensitivity 1-8 is stored as index + 1; a value beyond the list selects index 2,
    // as does a delay beyond its list.
    const int sensitivity = b(11) & 0xF;
    setIndex(s, SettingKey::VoxSensitivity, sensitivity > 8 ? 2 : sensitivity - 1);
    const int delay = b(12) & 0xF;
    setIndex(s, SettingKey::VoxDelay, delay > 4 ? 2 : delay);

    const quint8 b13 = b(13);
    setIndex(s, SettingKey::SquelchMode, (b13 & 0xF) % 4);
    setCheck(s, SettingKey::DecodeReplies, bit(b13, 2));
    setCheck(s, SettingKey::DtmfSideTone, bit(b13, 3));
    setCheck(s, SettingKey::DecodeWithMatchingTone, bit(b13, 5));
    setCheck(s, SettingKey::DecodeBeep, bit(b13, 6));
    setCheck(s, SettingKey::AutoAcknowledge, bit(b13, 7));

    const quint8 b14 = b(14);
    setIndex(s, SettingKey::PttIdMode, (b14 & 0xF) % 4);
    setCheck(s, SettingKey::DecodeSwitch, bit(b14, 5));
    setCheck(s, SettingKey::ShowCallerPttId, bit(b14, 7));

    const int group = b(15) & 0xF;
    if (group <= 7)
        setIndex(s, SettingKey::GroupCallDigit, group);
}

QByteArray encodeSettings1(const SettingsValues &s, quint8 firstChannel)
{
    QByteArray block(16, '\0');
    const auto put = [&block](int i, int value) { block[i] = char(quint8(value)); };
    put(0, firstChannel);
    put(1, 0x80);
    put(2, 0x02);
    put(3, number(s, SettingKey::SquelchLevel) & 0xF);
    put(4, writexuan(s));
    put(5, number(s, SettingKey::FrequencyStep) & 0xF);
    put(6, number(s, SettingKey::TransmitTimeOut) & 0xF);
    put(7, number(s, SettingKey::AutoPowerOff));
    put(8, 0x49 | flag(number(s, SettingKey::ActiveBand) == 1, 4) | flag(number(s, SettingKey::MemoryDisplay) == 1, 5)
               | flag(number(s, SettingKey::KeypadLock) != 1, 7));
    put(9, 0x0F | flag(number(s, SettingKey::NoVoxWhileReceiving) == 1, 4) | flag(number(s, SettingKey::FmRadio) == 1, 5)
               | flag(number(s, SettingKey::Alarm) == 1, 6) | flag(number(s, SettingKey::BandByKeypad) != 1, 7));
    put(10, 0xFF);
    put(11, (number(s, SettingKey::VoxSensitivity) + 1) & 0xF);
    put(12, number(s, SettingKey::VoxDelay) & 0xF);
    put(13, (number(s, SettingKey::SquelchMode) & 3) | flag(number(s, SettingKey::DecodeReplies) == 1, 2)
                | flag(number(s, SettingKey::DtmfSideTone) == 1, 3) | flag(number(s, SettingKey::DecodeWithMatchingTone) == 1, 5)
                | flag(number(s, SettingKey::DecodeBeep) == 1, 6) | flag(number(s, SettingKey::AutoAcknowledge) == 1, 7));
    put(14, 0x50 | (number(s, SettingKey::PttIdMode) & 0xF) | flag(number(s, SettingKey::DecodeSwitch) == 1, 5)
                | flag(number(s, SettingKey::ShowCallerPttId) == 1, 7));
    put(15, 0xF0 | (number(s, SettingKey::GroupCallDigit) & 0xF));
    return block;
}

// ---- Settings block 2 ----

namespace {
// The DTMF times, one byte each in units of 10 ms, bytes 4 to 8.
const SettingKey TimeSpins[] = {SettingKey::DtmfToneDuration, SettingKey::DtmfToneGap, SettingKey::FirstDigitDelay,
                                SettingKey::CarrierLeadTime, SettingKey::StarHashToneTime};
} // namespace

void decodeSettings2(const QByteArray &block, SettingsValues &s)
{
    const auto b = [&block](int i) { return at(block, i); };
    setIndex(s, SettingKey::SideKeyP5, (b(1) & 0xF) % 8);
    setIndex(s, SettingKey::SideKeyP4, (b(2) >> 4) % 8);
    setIndex(s, SettingKey::SideKeyP3, (b(2) & 0xF) % 8);
    setIndex(s, SettingKey::SideKeyP1, (b(3) >> 4) % 8);
    setIndex(s, SettingKey::SideKeyP2, (b(3) & 0xF) % 8);
    for (int i = 0; i < 5; ++i)
        s.set(TimeSpins[i], b(4 + i) * 10);   // brought into the spin range
    setCheck(s, SettingKey::RemoteControl, (b(9) >> 4) / 8 == 1);
    setIndex(s, SettingKey::RemoteControlType, (b(9) & 0xF) % 2);
    s.set(SettingKey::AutoResetTime, b(10) / 2);
}

QByteArray encodeSettings2(const SettingsValues &s)
{
    QByteArray block(Settings2WrittenSize, '\0');
    const auto put = [&block](int i, int value) { block[i] = char(quint8(value)); };
    put(0, 0xFF);
    put(1, 0xF0 | (number(s, SettingKey::SideKeyP5) & 0xF));
    put(2, (number(s, SettingKey::SideKeyP4) & 0xF) << 4 | (number(s, SettingKey::SideKeyP3) & 0xF));
    put(3, (number(s, SettingKey::SideKeyP1) & 0xF) << 4 | (number(s, SettingKey::SideKeyP2) & 0xF));
    for (int i = 0; i < 5; ++i)
        put(4 + i, s.number(TimeSpins[i]) / 10);
    put(9, (number(s, SettingKey::RemoteControl) == 1 ? 0xF0 : 0x70) | (number(s, SettingKey::RemoteControlType) & 0xF));
    put(10, number(s, SettingKey::AutoResetTime) * 2);
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
    decodePair(block, s, SettingsRegistry::name(SettingKey::OwnId), SettingsRegistry::name(SettingKey::RemoteControlCode));
}

QByteArray encodeIdBlock(const SettingsValues &s)
{
    return encodePair(s, SettingsRegistry::name(SettingKey::OwnId), SettingsRegistry::name(SettingKey::RemoteControlCode));
}

void decodePttIdBlock(const QByteArray &block, SettingsValues &s)
{
    decodePair(block, s, SettingsRegistry::name(SettingKey::PttIdStartCode), SettingsRegistry::name(SettingKey::PttIdEndCode));
}

QByteArray encodePttIdBlock(const SettingsValues &s)
{
    return encodePair(s, SettingsRegistry::name(SettingKey::PttIdStartCode), SettingsRegistry::name(SettingKey::PttIdEndCode));
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
