#include "TestRegistry.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "shell/LanguageLibrary.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace SettingsRegistry;

namespace {
const QVariant Unchanged;  // New leaves the setting alone
}

class TestSettingsRegistry : public QObject
{
    Q_OBJECT
private slots:
    void lookups_data();
    void lookups();
    void namesKeysAndLinesAreUnique();
    void captionAndItemStringsAreLanguageStrings();
    void itemTexts_data();
    void itemTexts();
    void startAndNewValues_data();
    void startAndNewValues();
    void newResetsEveryValueWithANewValue();
    void setValueChecksAgainstTheTable_data();
    void setValueChecksAgainstTheTable();
    void typedCharacters_data();
    void typedCharacters();
    void enableRules_data();
    void enableRules();
    void vfoForcesMemoryFrequencyOnlyOnUserChange();
    void bandChangeBoxForcesBandOneAlsoWhenProgramSetsIt();
    void passwordOfWrongLengthFallsBackWhenLeft_data();
    void passwordOfWrongLengthFallsBackWhenLeft();
    void snapshotIsACopyAndApplyEmitsChanges();
};

void TestSettingsRegistry::lookups_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fileKey");
    QTest::addColumn<int>("fileLine");
    QTest::newRow("step") << "bsSkinComboBox8" << int(SettingKind::Index) << "step " << 10;
    QTest::newRow("memory display") << "bsSkinComboBox12" << int(SettingKind::Index) << "MR freq./MR CH " << 12;
    QTest::newRow("star hash time") << "bsSkinSpinEdit14" << int(SettingKind::Spin) << "*&#Delay " << 31;
    QTest::newRow("call list 9") << callListEntryName(9) << int(SettingKind::Text) << "Call9 " << 47;
    QTest::newRow("side key P2") << "bsSkinComboBox5" << int(SettingKind::Index) << "Key Assignment " << 57;
    QTest::newRow("band 2 transmit") << "bsSkinComboBox11" << int(SettingKind::RangeList) << "BAND_Tx1 " << 7;
    QTest::newRow("password, no line") << "bsSkinEdit15" << int(SettingKind::Text) << "" << 0;
}

void TestSettingsRegistry::lookups()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, fileKey);
    QFETCH(int, fileLine);
    const SettingDef *def = byName(name);
    QVERIFY(def);
    QCOMPARE(int(def->kind), kind);
    QCOMPARE(def->fileKey, fileKey);
    QCOMPARE(def->fileLine, fileLine);
    if (!fileKey.isEmpty())
        QCOMPARE(byFileKey(fileKey), def);
    QVERIFY(!byName(QStringLiteral("bsSkinComboBox99")));
    QVERIFY(!byFileKey(QStringLiteral("step")));  // the key includes its blank
}

void TestSettingsRegistry::namesKeysAndLinesAreUnique()
{
    QSet<QString> names, keys;
    QSet<int> lines;
    QSet<int> typedKeys;
    for (const SettingDef &d : all()) {
        QVERIFY2(!names.contains(d.name), qPrintable(d.name));
        names.insert(d.name);
        // Every typed key but None names exactly one row, and leads back to it.
        if (d.key != SettingKey::None) {
            QVERIFY2(!typedKeys.contains(int(d.key)), qPrintable(d.name));
            typedKeys.insert(int(d.key));
            QCOMPARE(SettingsRegistry::name(d.key), d.name);
        }
        QVERIFY2(group(d.group), qPrintable(d.name));
        if (d.fileKey.isEmpty()) {
            QCOMPARE(d.fileLine, 0);
            continue;
        }
        QVERIFY2(d.fileKey.endsWith(QLatin1Char(' ')), qPrintable(d.name));
        QVERIFY2(!keys.contains(d.fileKey), qPrintable(d.fileKey));
        keys.insert(d.fileKey);
        QVERIFY2(!lines.contains(d.fileLine), qPrintable(d.fileKey));
        lines.insert(d.fileLine);
    }
    QCOMPARE(typedKeys.size(), int(SettingKey::Count) - 1);
    // The codeplug settings block: lines 4 to 57, line 26 left empty.
    QSet<int> expected;
    for (int l = 4; l <= 57; ++l)
        if (l != 26)
            expected.insert(l);
    QCOMPARE(lines, expected);
    const auto ordered = fileOrder();
    QCOMPARE(ordered.first()->fileKey, QStringLiteral("BAND_Rx "));
    QCOMPARE(ordered.last()->fileKey, QStringLiteral("Key Assignment "));
}

void TestSettingsRegistry::captionAndItemStringsAreLanguageStrings()
{
    const QVector<int> applied = LanguageLibrary::appliedIds();
    for (int id : referencedStringIds())
        QVERIFY2(applied.contains(id), qPrintable(QString::number(id)));
}

void TestSettingsRegistry::itemTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withLibrary");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("time-out built in") << "bsSkinComboBox10" << false
        << QStringList{"OFF", "1分钟", "2分钟", "3分钟", "4分钟", "5分钟", "6分钟", "7分钟"};
    QTest::newRow("time-out from library") << "bsSkinComboBox10" << true
        << QStringList{"s34", "1s48", "2s48", "3s48", "4s48", "5s48", "6s48", "7s48"};
    QTest::newRow("active band") << "bsSkinComboBox22" << true << QStringList{"s89", "s88"};
    QTest::newRow("squelch mode") << "bsSkinComboBox18" << true << QStringList{"CTC/DCS", "DTMF", "s104", "s105"};
    QTest::newRow("P1 built in") << "bsSkinComboBox3" << false
        << QStringList{"FM", "LED", "DTFM", "监听", "呼叫键", "现场报警", "发送1750Hz信号"};
    QTest::newRow("P2 built in") << "bsSkinComboBox5" << false
        << QStringList{"FM", "LED", "DTFM", "监听", "扫描", "呼叫键", "现场报警", "发送1750Hz信号"};
    QTest::newRow("P1 from library") << "bsSkinComboBox3" << true
        << QStringList{"FM", "LED", "DTMF", "SCAN", "s136", "s137", "s138", "s139"};
    QTest::newRow("step, fixed") << "bsSkinComboBox8" << true
        << QStringList{"5kHz", "6.25kHZ", "10kHz", "12.5kHz", "25kHz"};
}

void TestSettingsRegistry::itemTexts()
{
    QFETCH(QString, name);
    QFETCH(bool, withLibrary);
    QFETCH(QStringList, items);
    const SettingDef *def = byName(name);
    QVERIFY(def);
    const auto library = [](int id) { return QStringLiteral("s%1").arg(id); };
    QCOMPARE(withLibrary ? def->itemTexts(library) : def->itemTexts(), items);

    const QStringList apo = byName(QStringLiteral("bsSkinComboBox1"))->itemTexts();
    QCOMPARE(apo.size(), 16);
    QCOMPARE(apo.at(1), QStringLiteral(" 1H"));
    QCOMPARE(apo.at(15), QStringLiteral("15H"));
}

void TestSettingsRegistry::startAndNewValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<QVariant>("fresh");
    QTest::newRow("time-out") << "bsSkinComboBox10" << QVariant(3) << QVariant(3);
    QTest::newRow("step") << "bsSkinComboBox8" << QVariant(4) << QVariant(4);
    QTest::newRow("side key P2") << "bsSkinComboBox5" << QVariant(5) << QVariant(1);
    QTest::newRow("side key P1") << "bsSkinComboBox3" << QVariant(0) << Unchanged;
    QTest::newRow("side key P4") << "bsSkinComboBox13" << QVariant(4) << Unchanged;
    QTest::newRow("decode activation") << "bsSkinCheckRadioBox22" << QVariant(1) << Unchanged;
    QTest::newRow("keypad lock") << "bsSkinCheckRadioBox11" << QVariant(0) << QVariant(0);
    QTest::newRow("active band") << "bsSkinComboBox22" << QVariant(1) << QVariant(1);
    QTest::newRow("carrier lead") << "bsSkinSpinEdit13" << QVariant(400) << QVariant(400);
    QTest::newRow("reset time") << "bsSkinSpinEdit21" << QVariant(10) << QVariant(10);
    QTest::newRow("password") << "bsSkinEdit15" << QVariant("570913") << QVariant("570913");
    QTest::newRow("end code") << "bsSkinEdit4" << QVariant("12345") << QVariant("12345");
    QTest::newRow("remote code") << "bsSkinEdit16" << QVariant("") << QVariant("");
    QTest::newRow("call list 0") << callListEntryName(0) << QVariant("1000") << QVariant("1000");
    QTest::newRow("call list 5") << callListEntryName(5) << QVariant("") << QVariant("");
}

void TestSettingsRegistry::startAndNewValues()
{
    QFETCH(QString, name);
    QFETCH(QVariant, start);
    QFETCH(QVariant, fresh);
    SettingsStore store;
    QCOMPARE(store.value(name), start);

    // Move the setting away from both values, then New.
    const SettingDef *def = byName(name);
    const QVariant other = def->kind == SettingKind::Text ? QVariant(QStringLiteral("77"))
                           : def->kind == SettingKind::Spin ? QVariant(def->spin.maximum - 1)
                           : QVariant(start.toInt() == 0 ? 1 : 0);
    if (name == QLatin1String("bsSkinComboBox22"))
        QVERIFY(store.setValue(QStringLiteral("bsSkinCheckRadioBox14"), 1));
    QVERIFY(store.setValue(name, other));
    store.resetToNew();
    QCOMPARE(store.value(name), fresh.isValid() ? fresh : other);
}

void TestSettingsRegistry::newResetsEveryValueWithANewValue()
{
    SettingsStore store;
    QHash<QString, QVariant> changed;
    for (const SettingDef &d : all()) {
        if (!d.isValue())
            continue;
        QVariant v;
        switch (d.kind) {
        case SettingKind::Index: v = d.start.toInt() == 0 ? d.itemCount() - 1 : 0; break;
        case SettingKind::Check: v = 1 - d.start.toInt(); break;
        case SettingKind::Spin: v = d.spin.minimum == d.start.toInt() ? d.spin.maximum : d.spin.minimum; break;
        default: v = QStringLiteral("9"); break;
        }
        QVERIFY2(store.setValue(d.name, v), qPrintable(d.name));
        changed.insert(d.name, store.value(d.name));
    }
    store.resetToNew();
    for (const SettingDef &d : all()) {
        if (!d.isValue())
            continue;
        const QVariant expected = d.newValue ? *d.newValue : changed.value(d.name);
        QVERIFY2(store.value(d.name) == expected, qPrintable(d.name));
    }
}

void TestSettingsRegistry::setValueChecksAgainstTheTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");  // when accepted
    QTest::newRow("step last") << "bsSkinComboBox8" << QVariant(4) << true << QVariant(4);
    QTest::newRow("step past the list") << "bsSkinComboBox8" << QVariant(5) << false << QVariant();
    QTest::newRow("step negative") << "bsSkinComboBox8" << QVariant(-1) << false << QVariant();
    QTest::newRow("index as text") << "bsSkinComboBox8" << QVariant("2") << false << QVariant();
    QTest::newRow("index as whole double") << "bsSkinComboBox8" << QVariant(2.0) << true << QVariant(2);
    QTest::newRow("index as fraction") << "bsSkinComboBox8" << QVariant(2.5) << false << QVariant();
    QTest::newRow("APO 15H") << "bsSkinComboBox1" << QVariant(15) << true << QVariant(15);
    QTest::newRow("P1 item 7 of the library list") << "bsSkinComboBox3" << QVariant(7) << true << QVariant(7);
    QTest::newRow("P1 item 8") << "bsSkinComboBox3" << QVariant(8) << false << QVariant();
    QTest::newRow("check 2") << "bsSkinCheckRadioBox8" << QVariant(2) << false << QVariant();
    QTest::newRow("check from bool") << "bsSkinCheckRadioBox11" << QVariant(true) << true << QVariant(1);
    QTest::newRow("spin below") << "bsSkinSpinEdit17" << QVariant(30) << true << QVariant(50);
    QTest::newRow("spin above") << "bsSkinSpinEdit13" << QVariant(1001) << true << QVariant(1000);
    QTest::newRow("spin inside") << "bsSkinSpinEdit21" << QVariant(120) << true << QVariant(120);
    QTest::newRow("own ID lower case") << "bsSkinEdit5" << QVariant("12ab*#") << true << QVariant("12AB*#");
    QTest::newRow("own ID with E") << "bsSkinEdit5" << QVariant("12E") << false << QVariant();
    QTest::newRow("own ID 15") << "bsSkinEdit5" << QVariant("0123456789ABCD*") << true << QVariant("0123456789ABCD*");
    QTest::newRow("own ID 16") << "bsSkinEdit5" << QVariant("0123456789ABCD*#") << false << QVariant();
    QTest::newRow("remote code 8") << "bsSkinEdit16" << QVariant("12345678") << true << QVariant("12345678");
    QTest::newRow("remote code 9") << "bsSkinEdit16" << QVariant("123456789") << false << QVariant();
    QTest::newRow("call list 9, 15") << callListEntryName(9) << QVariant("#########ddddd1") << true << QVariant("#########DDDDD1");
    QTest::newRow("password letters") << "bsSkinEdit15" << QVariant("12a456") << false << QVariant();
    QTest::newRow("password 7 digits") << "bsSkinEdit15" << QVariant("1234567") << false << QVariant();
    QTest::newRow("password being typed") << "bsSkinEdit15" << QVariant("123") << true << QVariant("123");
    QTest::newRow("text as number") << "bsSkinEdit3" << QVariant(12) << false << QVariant();
    QTest::newRow("band range list") << "bsSkinComboBox20" << QVariant("400-470MHz") << false << QVariant();
    QTest::newRow("unknown") << "bsSkinComboBox99" << QVariant(0) << false << QVariant();
}

void TestSettingsRegistry::setValueChecksAgainstTheTable()
{
    QFETCH(QString, name);
    QFETCH(QVariant, input);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);
    SettingsStore store;
    const SettingsValues before = store.snapshot();
    QSignalSpy changed(&store, &SettingsStore::valueChanged);
    QCOMPARE(store.setValue(name, input), accepted);
    if (accepted) {
        QCOMPARE(store.value(name), stored);
    } else {
        QVERIFY(store.snapshot() == before);
        QCOMPARE(changed.count(), 0);
    }
}

void TestSettingsRegistry::typedCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<QChar>("entered");  // null: discarded
    QTest::newRow("own ID a") << "bsSkinEdit5" << QChar('a') << QChar('A');
    QTest::newRow("own ID d") << "bsSkinEdit5" << QChar('d') << QChar('D');
    QTest::newRow("own ID E") << "bsSkinEdit5" << QChar('E') << QChar();
    QTest::newRow("own ID e") << "bsSkinEdit5" << QChar('e') << QChar();
    QTest::newRow("own ID dot") << "bsSkinEdit5" << QChar('.') << QChar();
    QTest::newRow("start code hash") << "bsSkinEdit3" << QChar('#') << QChar('#');
    QTest::newRow("call list star") << callListEntryName(0) << QChar('*') << QChar('*');
    QTest::newRow("password a") << "bsSkinEdit15" << QChar('a') << QChar();
    QTest::newRow("password 9") << "bsSkinEdit15" << QChar('9') << QChar('9');
}

void TestSettingsRegistry::typedCharacters()
{
    QFETCH(QString, name);
    QFETCH(QChar, typed);
    QFETCH(QChar, entered);
    const auto result = byName(name)->filter.accept(typed);
    QCOMPARE(result.has_value(), !entered.isNull());
    if (result)
        QCOMPARE(*result, entered);
}

void TestSettingsRegistry::enableRules_data()
{
    QTest::addColumn<QString>("controller");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    QTest::newRow("MR") << "bsSkinComboBox7" << 0 << QStringList{"bsSkinComboBox12"} << QStringList{};
    QTest::newRow("VFO") << "bsSkinComboBox7" << 1 << QStringList{} << QStringList{"bsSkinComboBox12"};
    QTest::newRow("PTT ID at start") << "bsSkinComboBox27" << 0 << QStringList{"bsSkinEdit3"} << QStringList{"bsSkinEdit4"};
    QTest::newRow("PTT ID at end") << "bsSkinComboBox27" << 1 << QStringList{"bsSkinEdit4"} << QStringList{"bsSkinEdit3"};
    QTest::newRow("PTT ID both") << "bsSkinComboBox27" << 2 << QStringList{"bsSkinEdit3", "bsSkinEdit4"} << QStringList{};
    QTest::newRow("remote on") << "bsSkinCheckRadioBox16" << 1 << QStringList{"bsSkinEdit16", "bsSkinComboBox14"} << QStringList{};
    QTest::newRow("remote off") << "bsSkinCheckRadioBox16" << 0 << QStringList{} << QStringList{"bsSkinEdit16", "bsSkinComboBox14"};
    QTest::newRow("change password") << "bsSkinCheckRadioBox21" << 1 << QStringList{"bsSkinEdit15"} << QStringList{};
    QTest::newRow("keep password") << "bsSkinCheckRadioBox21" << 0 << QStringList{} << QStringList{"bsSkinEdit15"};
    QTest::newRow("band change on") << "bsSkinCheckRadioBox14" << 1 << QStringList{"bsSkinComboBox22"} << QStringList{};
    QTest::newRow("band change off") << "bsSkinCheckRadioBox14" << 0 << QStringList{} << QStringList{"bsSkinComboBox22"};
}

void TestSettingsRegistry::enableRules()
{
    QFETCH(QString, controller);
    QFETCH(int, value);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    // From the opposite state, by the user and by the program alike.
    for (bool byUser : {true, false}) {
        SettingsStore store;
        const int other = value == 0 ? 1 : 0;
        QVERIFY(store.setByUser(controller, other));
        QSignalSpy spy(&store, &SettingsStore::enabledChanged);
        QVERIFY(byUser ? store.setByUser(controller, value) : store.setValue(controller, value));
        for (const QString &n : enabled)
            QVERIFY2(store.isEnabled(n), qPrintable(n));
        for (const QString &n : disabled)
            QVERIFY2(!store.isEnabled(n), qPrintable(n));
        for (const auto &signal : spy)
            QCOMPARE(store.isEnabled(signal.at(0).toString()), signal.at(1).toBool());
    }
    // Start state: memory display, end code, password and active band are disabled.
    SettingsStore start;
    for (const char *n : {"bsSkinComboBox12", "bsSkinEdit4", "bsSkinEdit15", "bsSkinComboBox22"})
        QVERIFY2(!start.isEnabled(QLatin1String(n)), n);
    QVERIFY(start.isEnabled(QStringLiteral("bsSkinEdit3")));
}

void TestSettingsRegistry::vfoForcesMemoryFrequencyOnlyOnUserChange()
{
    SettingsStore store;
    QVERIFY(store.setByUser(QStringLiteral("bsSkinComboBox7"), 0));   // MR
    QVERIFY(store.setByUser(QStringLiteral("bsSkinComboBox12"), 0));  // MR CH
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox12")), 0);
    QVERIFY(store.setByUser(QStringLiteral("bsSkinComboBox7"), 1));   // VFO forces "MR freq."
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox12")), 1);
    QVERIFY(store.setByUser(QStringLiteral("bsSkinComboBox12"), 0));  // put back while VFO
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox12")), 1);

    // A file or the radio setting the drop-downs keeps what they hold.
    QVERIFY(store.setValue(QStringLiteral("bsSkinComboBox12"), 0));
    QVERIFY(store.setValue(QStringLiteral("bsSkinComboBox7"), 1));
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox12")), 0);
}

void TestSettingsRegistry::bandChangeBoxForcesBandOneAlsoWhenProgramSetsIt()
{
    SettingsStore store;
    QVERIFY(store.setByUser(QStringLiteral("bsSkinCheckRadioBox14"), 1));
    QVERIFY(store.setByUser(QStringLiteral("bsSkinComboBox22"), 0));  // band 2
    QVERIFY(store.setValue(QStringLiteral("bsSkinCheckRadioBox14"), 0));
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox22")), 1);
    QVERIFY(!store.isEnabled(QStringLiteral("bsSkinComboBox22")));
    QVERIFY(store.setByUser(QStringLiteral("bsSkinCheckRadioBox14"), 1));
    QVERIFY(store.isEnabled(QStringLiteral("bsSkinComboBox22")));
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox22")), 1);
}

void TestSettingsRegistry::passwordOfWrongLengthFallsBackWhenLeft_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("five digits") << "57091" << "570913";
    QTest::newRow("empty") << "" << "570913";
    QTest::newRow("six digits") << "123456" << "123456";
}

void TestSettingsRegistry::passwordOfWrongLengthFallsBackWhenLeft()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    SettingsStore store;
    QVERIFY(store.setByUser(QStringLiteral("bsSkinEdit15"), typed));
    store.finishEditing(QStringLiteral("bsSkinEdit15"));
    QCOMPARE(store.text(QStringLiteral("bsSkinEdit15")), kept);
}

void TestSettingsRegistry::snapshotIsACopyAndApplyEmitsChanges()
{
    SettingsStore store;
    SettingsValues copy = store.snapshot();
    QVERIFY(copy.set(QStringLiteral("bsSkinComboBox10"), 0));
    QVERIFY(copy.set(QStringLiteral("bsSkinComboBox22"), 0));  // band 2 with the box unmarked
    QVERIFY(!copy.set(QStringLiteral("bsSkinComboBox10"), 8));
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox10")), 3);

    QSignalSpy changed(&store, &SettingsStore::valueChanged);
    store.apply(copy);
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox10")), 0);
    QCOMPARE(store.number(QStringLiteral("bsSkinComboBox22")), 1);  // the box's rule holds
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("bsSkinComboBox10"));

    changed.clear();
    store.apply(store.snapshot());
    QVERIFY(store.setValue(QStringLiteral("bsSkinComboBox10"), 0));
    QCOMPARE(changed.count(), 0);
}

REGISTER_TEST(TestSettingsRegistry)
#include "tst_registry.moc"
