#include "clients/ClientsTestSupport.h"
#include "clients/RateText.h"
#include "clients/RateTreeContent.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"

using namespace tempolatch;
using namespace tempolatch::test;

class RateTextTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void parseRate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("hundredths");
        QTest::newRow("whole") << "75" << true << 7500;
        QTest::newRow("empty") << "" << true << 0;
        QTest::newRow("comma stops the number") << "7,5" << true << 700;
        QTest::newRow("third decimal dropped") << "12.345" << true << 1234;
        QTest::newRow("two decimals") << "0.29" << true << 29;
        QTest::newRow("one decimal") << "1.5" << true << 150;
        QTest::newRow("point first") << ".5" << true << 50;
        QTest::newRow("trailing point") << "12." << true << 1200;
        QTest::newRow("negative truncates toward zero") << "-3.459" << true << -345;
        QTest::newRow("plus sign") << "+4" << true << 400;
        QTest::newRow("leading blanks") << "  8.25" << true << 825;
        QTest::newRow("no number") << "$5" << true << 0;
        QTest::newRow("grouping stops the number") << "1 000" << true << 100;
        QTest::newRow("largest") << "21474836.47" << true << 2147483647;
        QTest::newRow("smallest") << "-21474836.48" << true << -2147483647 - 1;
        QTest::newRow("too large") << "21474836.48" << false << 0;
        QTest::newRow("sixteen digits") << "9999999999999999" << false << 0;
        QTest::newRow("letter") << "12a" << false << 0;
        QTest::newRow("exponent") << "1e5" << false << 0;
        QTest::newRow("accented letter") << "é" << false << 0;
    }
    void parseRate() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, hundredths);
        const std::optional<qint32> value = ratetext::parseRate(text);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QCOMPARE(*value, hundredths);
    }

    void itemTexts() {
        Rate rate;
        rate.description = QStringLiteral("Consulting %1");
        rate.rate = 1234;
        QCOMPARE(ratetext::itemText(rate), QStringLiteral("Consulting %1 (12.34)"));
        rate.rate = -5;
        QCOMPARE(ratetext::itemText(rate), QStringLiteral("Consulting %1 (-0.05)"));
        QCOMPARE(rateItemImage(RateType::Weekend), 3);
        QCOMPARE(rateItemImage(RateType(77)), 1);
    }

    void treeGroupsAndOrder() {
        QVERIFY(m_env->store().openAll());
        // A new store: only the default rates.
        QCOMPARE(RateTreeContent::load(m_env->store()).groups.size(), 1);

        const Client zeta = seedClient(QStringLiteral("zeta"));
        const Client acme = seedClient(QStringLiteral("Acme"));
        seedRate(acme.clientId, QStringLiteral("Sunday"), RateType::Weekend, 100);
        seedRate(acme.clientId, QStringLiteral("Banana"), RateType::Normal, 100);
        seedRate(acme.clientId, QStringLiteral("apple"), RateType::Normal, 100);
        seedRate(acme.clientId, QStringLiteral("Apple"), RateType::Normal, 100);
        seedRate(acme.clientId, QStringLiteral("Flat"), RateType::Fixed, 100);
        seedRate(0, QStringLiteral("Default"), RateType::Normal, 100);
        Q_UNUSED(zeta);

        const RateTreeContent content = RateTreeContent::load(m_env->store());
        QCOMPARE(content.groups.size(), 3);
        QCOMPARE(content.groups[0].title, resourceString(str::DefaultRates));
        QCOMPARE(content.groups[0].clientId, 0u);
        QCOMPARE(content.groups[1].title, QStringLiteral("Acme"));
        QCOMPARE(content.groups[2].title, QStringLiteral("zeta"));
        QVERIFY(content.groups[2].rates.isEmpty());
        QStringList order;
        for (const Rate& rate : content.groups[1].rates)
            order.append(rate.description);
        // Type first; then the locale's order, lower case before upper case.
        QCOMPARE(order, (QStringList{QStringLiteral("apple"), QStringLiteral("Apple"),
                                     QStringLiteral("Banana"), QStringLiteral("Sunday"),
                                     QStringLiteral("Flat")}));
    }
};

TEMPOLATCH_TEST(RateTextTest);
#include "RateTextTest.moc"
