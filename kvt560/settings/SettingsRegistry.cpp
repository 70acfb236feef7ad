#include "settings/SettingsRegistry.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

const QString DtmfCharacters = QStringLiteral("0123456789ABCD*#");
const QString Digits = QStringLiteral("0123456789");
const QString DefaultPassword = SettingsRegistry::defaultPassword();

SettingItem lit(const QString &text) { return {SettingItem::Literal, text, 0, {}}; }
SettingItem str(int id, const QString &builtin) { return {SettingItem::String, builtin, id, {}}; }
SettingItem suffixed(const QString &prefix, int id, const QString &builtin)
{
    return {SettingItem::Suffixed, builtin, id, prefix};
}
SettingItem markOff(const QString &builtin) { return {SettingItem::MarkOff, builtin, 34, {}}; }

QVector<SettingItem> literals(const QStringList &texts)
{
    QVector<SettingItem> items;
    for (const QString &t : texts)
        items.append(lit(t));
    return items;
}

QStringList numbered(int from, int to, const QString &suffix = {})
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list.append(QString::number(i) + suffix);
    return list;
}

// Small builders so that each row of the table below reads like the tables it mirrors.
struct Row {
    SettingDef d;
    Row(SettingKey key, SettingKind kind, const char *name, const char *meaning, const char *group, Caption caption)
    {
        d.key = key;
        d.kind = kind;
        d.name = QLatin1String(name);
        d.meaning = QLatin1String(meaning);
        d.group = QLatin1String(group);
        d.caption = std::move(caption);
    }
    Row &items(QVector<SettingItem> i) { d.items = std::move(i); return *this; }
    Row &builtin(QStringList b) { d.builtinItems = std::move(b); return *this; }
    Row &values(QVariant start, std::optional<QVariant> fresh)
    {
        d.start = std::move(start);
        d.newValue = std::move(fresh);
        return *this;
    }
    Row &file(const char *key, int line) { d.fileKey = QString::fromUtf8(key); d.fileLine = line; return *this; }
    Row &right() { d.column = 1; return *this; }
    Row &hidden() { d.hidden = true; return *this; }
    Row &spin(int min, int max, int step, int chars) { d.spin = {min, max, step, chars}; return *this; }
    Row &dtmf(int maxLength) { d.filter = {DtmfCharacters, true, maxLength, 0}; return *this; }
    operator SettingDef() const { return d; }
};

Row combo(SettingKey k, const char *n, const char *m, const char *g, Caption c) { return Row(k, SettingKind::Index, n, m, g, std::move(c)); }
Row check(SettingKey k, const char *n, const char *m, const char *g, Caption c) { return Row(k, SettingKind::Check, n, m, g, std::move(c)); }
Row spinBox(SettingKey k, const char *n, const char *m, const char *g, Caption c) { return Row(k, SettingKind::Spin, n, m, g, std::move(c)); }
Row edit(SettingKey k, const char *n, const char *m, const char *g, Caption c) { return Row(k, SettingKind::Text, n, m, g, std::move(c)); }
Row rangeList(SettingKey k, const char *n, const char *m, const char *g, Caption c) { return Row(k, SettingKind::RangeList, n, m, g, std::move(c)); }

Caption zh(const char *text, int id = 0) { return {QString::fromUtf8(text), id}; }

QVector<SettingItem> sideKeyItems()
{
    return {lit(QStringLiteral("FM")), lit(QStringLiteral("LED")), lit(QStringLiteral("DTMF")),
            lit(QStringLiteral("SCAN")), str(136, QString::fromUtf8("监听")),
            str(137, QString::fromUtf8("呼叫键")), str(138, QString::fromUtf8("现场报警")),
            str(139, QString::fromUtf8("发送1750Hz信号"))};
}

// Before a library is loaded, P2 lists the scan function that the other keys lack.
QStringList builtinSideKeys(bool withScan)
{
    QStringList list{QStringLiteral("FM"), QStringLiteral("LED"), QStringLiteral("DTFM"),
                     QString::fromUtf8("监听")};
    if (withScan)
        list.append(QString::fromUtf8("扫描"));
    list << QString::fromUtf8("呼叫键") << QString::fromUtf8("现场报警")
         << QString::fromUtf8("发送1750Hz信号");
    return list;
}

QVector<SettingDef> buildTable()
{
    using std::nullopt;
    QVector<SettingDef> t;

    // Page 1, group "基本功能", left column.
    QVector<SettingItem> apo{markOff(QStringLiteral("OFF"))};
    for (int h = 1; h <= 15; ++h)
        apo.append(lit(QStringLiteral("%1H").arg(h, 2, 10, QLatin1Char(' '))));
    t << combo(SettingKey::AutoPowerOff, "bsSkinComboBox1", "automatic power-off", "basic", zh("APO功能", 81))
             .items(apo).values(0, 0).file("APO ", 8);
    t << combo(SettingKey::ScanMode, "bsSkinComboBox4", "scan mode", "basic", zh("扫描模式", 43))
             .items(literals({QStringLiteral("CO"), QStringLiteral("TO")})).values(1, 1).file("scankind ", 9);
    t << combo(SettingKey::FrequencyStep, "bsSkinComboBox8", "frequency step", "basic", zh("频率步进", 83))
             .items(literals({QStringLiteral("5kHz"), QStringLiteral("6.25kHZ"), QStringLiteral("10kHz"),
                              QStringLiteral("12.5kHz"), QStringLiteral("25kHz")}))
             .values(4, 4).file("step ", 10);
    t << combo(SettingKey::VfoMode, "bsSkinComboBox7", "VFO or memory mode", "basic", zh("VFO/ MR"))
             .items(literals({QStringLiteral("MR"), QStringLiteral("VFO")})).values(1, 1).file("VFO/MR ", 11);
    t << combo(SettingKey::MemoryDisplay, "bsSkinComboBox12", "memory display", "basic", zh("MR freq./ MR CH"))
             .items(literals({QStringLiteral("MR CH"), QStringLiteral("MR freq.")}))
             .values(1, 1).file("MR freq./MR CH ", 12);
    t << combo(SettingKey::SquelchLevel, "bsSkinComboBox9", "squelch level", "basic", zh("静噪等级(SQL)", 38))
             .items(literals(numbered(0, 9))).values(2, 2).file("Squelch ", 13);
    QVector<SettingItem> tot{markOff(QStringLiteral("OFF"))};
    for (int m = 1; m <= 7; ++m)
        tot.append(suffixed(QString::number(m), 48, QString::number(m) + QString::fromUtf8("分钟")));
    t << combo(SettingKey::TransmitTimeOut, "bsSkinComboBox10", "transmit time-out", "basic", zh("超时禁发", 40))
             .items(tot).values(3, 3).file("TOT ", 14);
    t << combo(SettingKey::SquelchMode, "bsSkinComboBox18", "squelch mode", "basic", zh("静噪模式", 103))
             .items({lit(QStringLiteral("CTC/DCS")), lit(QStringLiteral("DTMF")),
                     str(104, QString::fromUtf8("CTC/DCS与DTMF")), str(105, QString::fromUtf8("CTC/DCS或DTMF"))})
             .values(2, 2).file("Monitor ", 15);

    // Page 1, group "基本功能", right column.
    t << check(SettingKey::KeyBeep, "bsSkinCheckRadioBox8", "key beep", "basic", zh("提示音", 41)).right().values(1, 1).file("Beep ", 18);
    t << check(SettingKey::KeypadLock, "bsSkinCheckRadioBox11", "keypad lock", "basic", zh("键盘锁定", 82)).right().values(0, 0).file("Key Lock ", 19);
    t << check(SettingKey::BatterySave, "bsSkinCheckRadioBox10", "battery save", "basic", zh("省电模式", 39)).right().values(1, 1).file("Save ", 20);
    t << check(SettingKey::FmRadio, "bsSkinCheckRadioBox12", "FM radio enable", "basic", zh("FM开关", 87)).right().values(1, 1).file("FM Enable ", 22);
    t << check(SettingKey::Alarm, "bsSkinCheckRadioBox13", "alarm (never shown)", "basic", zh("报警功能", 42)).right().hidden().values(1, 1).file("EMG ", 21);

    // Page 1, VOX panel.
    t << combo(SettingKey::VoxSensitivity, "bsSkinComboBox15", "VOX sensitivity", "vox", zh("VOX 灵敏度", 45))
             .items(literals(numbered(1, 8))).values(2, 2).file("VoxSQL ", 23);
    t << combo(SettingKey::VoxDelay, "bsSkinComboBox17", "VOX delay", "vox", zh("VOX 迟时", 46))
             .items(literals({QStringLiteral("1s"), QStringLiteral("2s"), QStringLiteral("3s"), QStringLiteral("4s")}))
             .values(2, 2).file("VoxDelay ", 24);
    t << check(SettingKey::NoVoxWhileReceiving, "bsSkinCheckRadioBox9", "no VOX while receiving", "vox", zh("接收禁止VOX", 47)).values(1, 1).file("VoxRX ", 25);

    // Page 1, band and password panel.
    t << check(SettingKey::BandByKeypad, "bsSkinCheckRadioBox14", "band change from the keypad", "bandPassword", zh("按键扩频", 84))
             .values(0, 0).file("Exp Freq. ", 16);
    t << combo(SettingKey::ActiveBand, "bsSkinComboBox22", "active band", "bandPassword", zh("频段", 85))
             .items({str(89, QString::fromUtf8("频段2")), str(88, QString::fromUtf8("频段1"))})
             .values(1, 1).file("Band ", 17);
    t << check(SettingKey::ChangePassword, "bsSkinCheckRadioBox21", "change the power-on password", "bandPassword", zh("修改密码", 145)).values(0, 0);
    {
        Row pw = edit(SettingKey::Password, "bsSkinEdit15", "power-on password", "bandPassword", Caption{});
        pw.values(DefaultPassword, DefaultPassword);
        pw.d.filter = {Digits, false, 6, 6};
        t << pw;
    }

    // Page 2, sub-page "系统", group "系统".
    t << spinBox(SettingKey::DtmfToneDuration, "bsSkinSpinEdit17", "DTMF tone duration", "dtmfSystem", zh("DTMF持续时间[毫秒]", 108))
             .spin(50, 200, 10, 3).values(100, 100).file("Digit Time ", 27);
    t << spinBox(SettingKey::DtmfToneGap, "bsSkinSpinEdit9", "DTMF tone gap", "dtmfSystem", zh("DTMF间隔时间[毫秒]", 109))
             .spin(50, 200, 10, 3).values(100, 100).file("Digit Space ", 28);
    t << spinBox(SettingKey::FirstDigitDelay, "bsSkinSpinEdit10", "first-digit delay", "dtmfSystem", zh("首码延迟时间[毫秒]", 110))
             .spin(0, 500, 50, 3).values(0, 0).file("First Digit ", 29);
    t << spinBox(SettingKey::CarrierLeadTime, "bsSkinSpinEdit13", "carrier lead time", "dtmfSystem", zh("预载波时间[毫秒]", 112))
             .spin(100, 1000, 100, 4).values(400, 400).file("Pretime ", 30);
    t << spinBox(SettingKey::StarHashToneTime, "bsSkinSpinEdit14", "\"*\" and \"#\" tone time", "dtmfSystem", zh("*和#音[毫秒]", 113))
             .spin(0, 400, 50, 3).values(0, 0).file("*&#Delay ", 31);
    t << check(SettingKey::DecodeReplies, "bsSkinCheckRadioBox19", "decode replies", "dtmfSystem", zh("回复解码", 114)).values(1, 1).file("ACK Decode ", 32);
    t << check(SettingKey::DtmfSideTone, "bsSkinCheckRadioBox1", "DTMF side tone", "dtmfSystem", zh("侧音", 115)).values(1, 1).file("DTMF Side ", 33);

    // Page 2, sub-page "系统", group "呼叫列表": the ten auto-dial codes.
    for (int k = 0; k < SettingsRegistry::CallListEntries; ++k) {
        const QByteArray name = SettingsRegistry::callListEntryName(k).toLatin1();
        const QByteArray key = "Call" + QByteArray::number(k) + ' ';
        const QByteArray meaning = "auto-dial code " + QByteArray::number(k);
        const QString first = QStringLiteral("1000");
        t << edit(SettingKey::None, name.constData(), meaning.constData(), "callList", Caption{})
                 .dtmf(15).values(k == 0 ? first : QString(), k == 0 ? first : QString())
                 .file(key.constData(), 38 + k);
    }

    // Page 2, sub-page "系统", group "PTT ID".
    t << check(SettingKey::ShowCallerPttId, "bsSkinCheckRadioBox20", "show the caller's PTT ID", "pttId", zh("显示PTT ID", 116))
             .values(1, 1).file("Display PTT ID ", 34);
    t << combo(SettingKey::PttIdMode, "bsSkinComboBox27", "when the PTT ID is sent", "pttId", zh("PTT ID类型", 117))
             .items({str(118, QString::fromUtf8("发射开始")), str(119, QString::fromUtf8("发射结束")),
                     str(120, QString::fromUtf8("两者"))})
             .values(0, 0).file("PTT ID ", 35);
    t << edit(SettingKey::PttIdStartCode, "bsSkinEdit3", "code sent at start of transmission", "pttId", zh("发射开始", 118))
             .dtmf(15).values(QStringLiteral("12345"), QStringLiteral("12345")).file("BOT ", 36);
    t << edit(SettingKey::PttIdEndCode, "bsSkinEdit4", "code sent at end of transmission", "pttId", zh("发射结束", 119))
             .dtmf(15).values(QStringLiteral("12345"), QStringLiteral("12345")).file("EOT ", 37);

    // Page 2, sub-page "参数", group "解码".
    t << combo(SettingKey::GroupCallDigit, "bsSkinComboBox46", "group call digit", "decode", zh("组ID", 125))
             .items(literals({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                              QStringLiteral("*"), QStringLiteral("#")}))
             .values(0, 0).file("Group ", 48);
    t << edit(SettingKey::OwnId, "bsSkinEdit5", "own ID", "decode", zh("本机ID", 126))
             .dtmf(15).values(QStringLiteral("1000"), QStringLiteral("1000")).file("Private ", 49);
    t << spinBox(SettingKey::AutoResetTime, "bsSkinSpinEdit21", "automatic reset time in seconds", "decode", zh("自动复位时间(秒)", 127))
             .spin(3, 120, 1, 3).values(10, 10).file("Auto Reset ", 50);
    t << check(SettingKey::AutoAcknowledge, "bsSkinCheckRadioBox18", "automatic acknowledge", "decode", zh("自动回复", 128)).values(1, 1).file("Auto ACK ", 51);
    t << check(SettingKey::DecodeBeep, "bsSkinCheckRadioBox6", "decode beep", "decode", zh("提示音", 129)).values(1, 1).file("DTMF Beep ", 52);
    t << check(SettingKey::DecodeWithMatchingTone, "bsSkinCheckRadioBox17", "decode only with matching CTCSS/DCS", "decode", zh("带CTC/DCS解码", 130))
             .values(1, 1).file("Strip ", 53);

    // Page 2, sub-page "参数", group "遥毙".
    t << check(SettingKey::DecodeSwitch, "bsSkinCheckRadioBox22", "decode activation switch", "stun", zh("解码激活开关", 146)).values(1, nullopt);
    t << check(SettingKey::RemoteControl, "bsSkinCheckRadioBox16", "remote control active", "stun", zh("遥控激活", 131)).values(1, 1).file("Stun ", 54);
    t << edit(SettingKey::RemoteControlCode, "bsSkinEdit16", "remote control code", "stun", zh("遥控码", 132))
             .dtmf(8).values(QString(), QString()).file("Stun Code ", 55);
    t << combo(SettingKey::RemoteControlType, "bsSkinComboBox14", "remote control type", "stun", zh("遥控类型", 133))
             .items({str(134, QString::fromUtf8("遥毙")), str(135, QString::fromUtf8("遥晕"))})
             .values(1, 1).file("Stun Type ", 56);

    // Page 4, the five side keys.
    t << combo(SettingKey::SideKeyP1, "bsSkinComboBox3", "side key P1", "sideKeys", zh("P1"))
             .items(sideKeyItems()).builtin(builtinSideKeys(false)).values(0, nullopt);
    t << combo(SettingKey::SideKeyP2, "bsSkinComboBox5", "side key P2", "sideKeys", zh("P2"))
             .items(sideKeyItems()).builtin(builtinSideKeys(true)).values(5, 1).file("Key Assignment ", 57);
    t << combo(SettingKey::SideKeyP3, "bsSkinComboBox2", "side key P3", "sideKeys", zh("P3"))
             .items(sideKeyItems()).builtin(builtinSideKeys(false)).values(2, nullopt);
    t << combo(SettingKey::SideKeyP4, "bsSkinComboBox13", "side key P4", "sideKeys", zh("P4"))
             .items(sideKeyItems()).builtin(builtinSideKeys(false)).values(4, nullopt);
    t << combo(SettingKey::SideKeyP5, "bsSkinComboBox16", "side key P5", "sideKeys", zh("P5"))
             .items(sideKeyItems()).builtin(builtinSideKeys(false)).values(1, nullopt);

    // Page 5, the band range lists (receive row string 90, transmit row string 91).
    t << rangeList(SettingKey::Band1RxRange, "bsSkinComboBox20", "band 1 receive range", "band1", zh("接收频段", 90)).file("BAND_Rx ", 4);
    t << rangeList(SettingKey::Band1TxRange, "bsSkinComboBox21", "band 1 transmit range", "band1", zh("发射频段", 91)).file("BAND_Tx ", 5);
    t << rangeList(SettingKey::Band2RxRange, "bsSkinComboBox6", "band 2 receive range", "band2", zh("接收频段", 90)).file("BAND_Rx1 ", 6);
    t << rangeList(SettingKey::Band2TxRange, "bsSkinComboBox11", "band 2 transmit range", "band2", zh("发射频段", 91)).file("BAND_Tx1 ", 7);
    return t;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Bool: case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<QChar> TextFilter::accept(QChar c) const
{
    if (upperCaseAbcd && c >= QLatin1Char('a') && c <= QLatin1Char('d'))
        c = QChar(c.unicode() - 'a' + 'A');
    if (!allowed.contains(c))
        return std::nullopt;
    return c;
}

std::optional<QString> TextFilter::apply(const QString &text) const
{
    if (maxLength > 0 && text.size() > maxLength)
        return std::nullopt;
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const auto a = accept(c);
        if (!a)
            return std::nullopt;
        out.append(*a);
    }
    return out;
}

int SettingDef::itemCount() const
{
    return int(std::max(items.size(), qsizetype(builtinItems.size())));
}

bool SettingDef::rebuiltByLanguage() const
{
    return !builtinItems.isEmpty()
           || std::any_of(items.begin(), items.end(), [](const SettingItem &i) { return i.source != SettingItem::Literal; });
}

QStringList SettingDef::itemTexts(const std::function<QString(int)> &library) const
{
    QStringList out;
    if (!library) {
        if (!builtinItems.isEmpty())
            return builtinItems;
        for (const SettingItem &i : items)
            out.append(i.text);
        return out;
    }
    for (const SettingItem &i : items) {
        switch (i.source) {
        case SettingItem::Literal: out.append(i.text); break;
        case SettingItem::String:
        case SettingItem::MarkOff: out.append(library(i.stringId)); break;
        case SettingItem::Suffixed: out.append(i.prefix + library(i.stringId)); break;
        }
    }
    return out;
}

std::optional<QVariant> SettingDef::normalised(const QVariant &value) const
{
    switch (kind) {
    case SettingKind::Index:
    case SettingKind::Check:
    case SettingKind::Spin: {
        if (!isNumber(value))
            return std::nullopt;
        const double d = value.toDouble();
        if (d != double(qint64(d)) || d < -1e9 || d > 1e9)
            return std::nullopt;
        const int n = int(d);
        if (kind == SettingKind::Spin)
            return QVariant(spin.clamp(n));
        const int count = kind == SettingKind::Check ? 2 : itemCount();
        if (n < 0 || n >= count)
            return std::nullopt;
        return QVariant(n);
    }
    case SettingKind::Text: {
        if (value.typeId() != QMetaType::QString)
            return std::nullopt;
        const auto text = filter.apply(value.toString());
        if (!text)
            return std::nullopt;
        return QVariant(*text);
    }
    case SettingKind::RangeList:
        break;
    }
    return std::nullopt;
}

namespace SettingsRegistry {

const QVector<SettingDef> &all()
{
    static const QVector<SettingDef> table = buildTable();
    return table;
}

const SettingDef *byName(const QString &name)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < all().size(); ++i)
            h.insert(all().at(i).name, i);
        return h;
    }();
    const auto it = index.constFind(name);
    return it == index.cend() ? nullptr : &all().at(*it);
}

const SettingDef &byKey(SettingKey key)
{
    static const QVector<int> index = [] {
        QVector<int> rows(int(SettingKey::Count), -1);
        for (int i = 0; i < all().size(); ++i)
            if (all().at(i).key != SettingKey::None)
                rows[int(all().at(i).key)] = i;
        return rows;
    }();
    const int row = key > SettingKey::None && key < SettingKey::Count ? index.at(int(key)) : -1;
    Q_ASSERT_X(row >= 0, "SettingsRegistry::byKey", "a key without a row in the table");
    static const SettingDef none;
    return row >= 0 ? all().at(row) : none;
}

QString name(SettingKey key)
{
    return byKey(key).name;
}

const SettingDef *byFileKey(const QString &fileKey)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < all().size(); ++i)
            if (!all().at(i).fileKey.isEmpty())
                h.insert(all().at(i).fileKey, i);
        return h;
    }();
    const auto it = index.constFind(fileKey);
    return it == index.cend() ? nullptr : &all().at(*it);
}

QVector<const SettingDef *> fileOrder()
{
    QVector<const SettingDef *> out;
    for (const SettingDef &d : all())
        if (d.fileLine > 0)
            out.append(&d);
    std::sort(out.begin(), out.end(), [](const SettingDef *a, const SettingDef *b) { return a->fileLine < b->fileLine; });
    return out;
}

const QVector<SettingGroup> &groups()
{
    static const QVector<SettingGroup> g{
        {QStringLiteral("basic"), 1, -1, zh("基本功能", 20), {}, {}},
        {QStringLiteral("vox"), 1, -1, {}, QStringLiteral("bsSkinPanel7"), {}},
        {QStringLiteral("bandPassword"), 1, -1, {}, QStringLiteral("bandPasswordPanel"), {}},
        {QStringLiteral("dtmfSystem"), 2, 0, zh("系统", 106), {}, {}},
        {QStringLiteral("callList"), 2, 0, zh("呼叫列表", 121), QStringLiteral("bsSkinStringGrid1"), {}},
        {QStringLiteral("pttId"), 2, 0, zh("PTT ID"), {}, {}},
        {QStringLiteral("decode"), 2, 1, zh("解码", 124), {}, {}},
        {QStringLiteral("stun"), 2, 1, zh("遥毙", 140), {}, {}},
        {QStringLiteral("sideKeys"), 4, -1, zh("键设定", 100), {}, {}},
        {QStringLiteral("bands"), 5, -1, zh("频段", 70), {}, {}},
        {QStringLiteral("band1"), 5, -1, zh("频段1", 88), {}, QStringLiteral("bands")},
        {QStringLiteral("band2"), 5, -1, zh("频段2", 89), {}, QStringLiteral("bands")},
    };
    return g;
}

const SettingGroup *group(const QString &key)
{
    for (const SettingGroup &g : groups())
        if (g.key == key)
            return &g;
    return nullptr;
}

const QVector<SettingPage> &pages()
{
    static const QVector<SettingPage> p{
        {1, zh("功能选项", 20), {}},
        {2, zh("DTMF"), {zh("系统", 106), zh("参数", 107)}},
        {4, zh("侧键设定", 100), {}},
        {5, zh("其它功能", 21), {}},
    };
    return p;
}

const QVector<EnableRule> &enableRules()
{
    static const QVector<EnableRule> r{
        // VFO/MR at "MR": the memory display can be chosen.
        {QStringLiteral("bsSkinComboBox12"), QStringLiteral("bsSkinComboBox7"), {0}},
        // "修改密码" marked: the password can be edited.
        {QStringLiteral("bsSkinEdit15"), QStringLiteral("bsSkinCheckRadioBox21"), {1}},
        // PTT ID type: start code for "start" and "both", end code for "end" and "both".
        {QStringLiteral("bsSkinEdit3"), QStringLiteral("bsSkinComboBox27"), {0, 2}},
        {QStringLiteral("bsSkinEdit4"), QStringLiteral("bsSkinComboBox27"), {1, 2}},
        // Remote control active: its code and type can be edited.
        {QStringLiteral("bsSkinEdit16"), QStringLiteral("bsSkinCheckRadioBox16"), {1}},
        {QStringLiteral("bsSkinComboBox14"), QStringLiteral("bsSkinCheckRadioBox16"), {1}},
        // Band change from the keypad: the active band can be chosen.
        {QStringLiteral("bsSkinComboBox22"), QStringLiteral("bsSkinCheckRadioBox14"), {1}},
    };
    return r;
}

const QVector<ForcedValueRule> &forcedValueRules()
{
    static const QVector<ForcedValueRule> r{
        // VFO mode always shows the memory frequency.
        {QStringLiteral("bsSkinComboBox7"), 1, QStringLiteral("bsSkinComboBox12"), 1, false},
        // Without band change from the keypad the radio stays on band 1.
        {QStringLiteral("bsSkinCheckRadioBox14"), 0, QStringLiteral("bsSkinComboBox22"), 1, true},
    };
    return r;
}

QString captionObjectName(const SettingDef &def)
{
    return def.kind == SettingKind::Check ? def.name : def.name + QStringLiteral("Label");
}

QString groupBoxName(const SettingGroup &group)
{
    if (group.caption.text.isEmpty() && !group.objectName.isEmpty())
        return group.objectName;
    return group.key + QStringLiteral("Group");
}

QString defaultPassword()
{
    return QStringLiteral("570913");
}

QString callListEntryName(int entry)
{
    return QStringLiteral("bsSkinStringGrid1:%1").arg(entry + 1);
}

Caption callListHeader(int column)
{
    return column == 0 ? zh("序号", 122) : zh("自动拨号号码", 123);
}

QString callListRowLabel(int entry)
{
    return QStringLiteral("   %1").arg(entry);
}

QVector<int> referencedStringIds()
{
    QSet<int> ids;
    auto add = [&ids](int id) { if (id > 0) ids.insert(id); };
    for (const SettingDef &d : all()) {
        add(d.caption.stringId);
        for (const SettingItem &i : d.items)
            add(i.stringId);
    }
    for (const SettingGroup &g : groups())
        add(g.caption.stringId);
    for (const SettingPage &p : pages()) {
        add(p.caption.stringId);
        for (const Caption &c : p.subPages)
            add(c.stringId);
    }
    add(callListHeader(0).stringId);
    add(callListHeader(1).stringId);
    QVector<int> out(ids.begin(), ids.end());
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace SettingsRegistry
