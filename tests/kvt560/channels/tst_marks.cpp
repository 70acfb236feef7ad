#include "TestRegistry.h"
#include "channels/Marks.h"

#include <QTest>

class TestMarks : public QObject
{
    Q_OBJECT
private slots:
    void forLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("forms");   // Off On High Low Wide Narrow Comp Scrambler
        QTest::newRow("simplified") << 1 << QStringList{"禁用", "启用", "高功率", "低功率", "宽带", "窄带", "压扩", "扰频"};
        QTest::newRow("english") << 2 << QStringList{"OFF", "ON", "High", "Low", "Wide", "Narrow", "Comp", "scrambler"};
        QTest::newRow("traditional") << 3 << QStringList{"禁用", "啟用", "高功率", "低功率", "寬帶", "窄帶", "壓擴", "擾頻"};
        QTest::newRow("unknown number") << 7 << QStringList{"禁用", "启用", "高功率", "低功率", "宽带", "窄带", "压扩", "扰频"};
    }
    void forLanguage()
    {
        QFETCH(int, language);
        QFETCH(QStringList, forms);
        const Marks marks = Marks::forLanguage(language);
        QCOMPARE((QStringList{marks.off, marks.on, marks.high, marks.low, marks.wide, marks.narrow,
                              marks.compander, marks.scrambler}),
                 forms);
        for (int i = 0; i < forms.size(); ++i)
            QCOMPARE(marks.text(static_cast<Mark>(i)), forms.at(i));
        // Every form of a language is recognised as its own mark.
        for (int i = 0; i < forms.size(); ++i)
            QCOMPARE(Marks::recognise(forms.at(i)), std::optional<Mark>(static_cast<Mark>(i)));
    }

    void recogniseOnlyWholeForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("lower case") << QStringLiteral("on");
        QTest::newRow("padded") << QStringLiteral("OFF ");
        QTest::newRow("upper scrambler") << QStringLiteral("Scrambler");
        QTest::newRow("tone") << QStringLiteral("67.0");
        QTest::newRow("part of a form") << QStringLiteral("高");
    }
    void recogniseOnlyWholeForms()
    {
        QFETCH(QString, text);
        QCOMPARE(Marks::recognise(text), std::optional<Mark>());
    }

    void setReplacesOneMark()
    {
        Marks marks = Marks::forLanguage(1);
        marks.set(Mark::Scrambler, QStringLiteral("x"));
        QCOMPARE(marks.scrambler, QStringLiteral("x"));
        QCOMPARE(marks.compander, QStringLiteral("压扩"));
    }
};

REGISTER_TEST(TestMarks)
#include "tst_marks.moc"
