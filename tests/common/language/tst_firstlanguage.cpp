#include "TestRegistry.h"

#include "common/FirstLanguage.h"

#include <QTest>

class TestFirstLanguage : public QObject
{
    Q_OBJECT

private slots:
    void forLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("language");
        QTest::newRow("zh_CN") << "zh_CN" << int(FirstLanguage::SimplifiedChinese);
        QTest::newRow("zh_SG") << "zh_SG" << int(FirstLanguage::SimplifiedChinese);
        QTest::newRow("zh_TW") << "zh_TW" << int(FirstLanguage::TraditionalChinese);
        QTest::newRow("zh_HK") << "zh_HK" << int(FirstLanguage::TraditionalChinese);
        // Script alone decides nothing; the territory does.
        QTest::newRow("zh_Hant_TW") << "zh_Hant_TW" << int(FirstLanguage::TraditionalChinese);
        QTest::newRow("zh_MO") << "zh_MO" << int(FirstLanguage::English);
        QTest::newRow("en_US") << "en_US" << int(FirstLanguage::English);
        QTest::newRow("de_DE") << "de_DE" << int(FirstLanguage::English);
        QTest::newRow("C") << "C" << int(FirstLanguage::English);
    }
    void forLocale()
    {
        QFETCH(QString, locale);
        QFETCH(int, language);
        QCOMPARE(int(FirstLanguage::forLocale(QLocale(locale))), language);
    }
};

REGISTER_TEST(TestFirstLanguage)
#include "tst_firstlanguage.moc"
