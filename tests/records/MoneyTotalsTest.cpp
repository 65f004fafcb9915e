#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "records/MoneyTotals.h"
#include "store/TimeEntry.h"

using namespace tempolatch;

namespace {

double amountOf(qint32 duration, qint32 rate) {
    TimeEntry e;
    e.duration = duration;
    e.rate = rate;
    return e.amount(false);
}

}  // namespace

class MoneyTotalsTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // An amount is shown in cents rounded half away from zero, as its
    // decimal value reads, whatever side of the half its double lies on.
    void shownInCents_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0.50 h at 75.25") << amountOf(50, 7525) << "37.63";
        QTest::newRow("0.33 h at 50.50, a hair below the half") << amountOf(33, 5050) << "16.67";
        QTest::newRow("an exact half") << 0.125 << "0.13";
        QTest::newRow("a negative half") << -0.125 << "-0.13";
        QTest::newRow("below the half") << 85.0 / 3 << "28.33";
        QTest::newRow("no negative zero") << -0.001 << "0.00";
    }
    void shownInCents() {
        QFETCH(double, amount);
        QFETCH(QString, shown);
        QCOMPARE(moneyText(amount), shown);
    }

    // Each currency adds up the amounts as shown; taking back what was
    // added leaves no trace, and a currency met with a zero amount stays.
    void totalsPerCurrency() {
        MoneyTotals totals;
        QCOMPARE(totals.shownCurrencies(), QStringList{QString()});
        QCOMPARE(totals.text(QString()), QStringLiteral("0.00"));
        for (int i = 0; i < 3; ++i) {
            totals.add(QStringLiteral("EUR"), amountOf(50, 7525));
            totals.add(QStringLiteral("JPY"), 85.0 / 3);
        }
        totals.add(QStringLiteral("USD"), 0);
        QCOMPARE(totals.currencies(), (QStringList{"EUR", "JPY", "USD"}));
        QCOMPARE(totals.text(QStringLiteral("EUR")), QStringLiteral("EUR 112.89"));
        QCOMPARE(totals.text(QStringLiteral("JPY")), QStringLiteral("JPY 84.99"));
        QCOMPARE(totals.text(QStringLiteral("USD")), QStringLiteral("USD 0.00"));
        totals.remove(QStringLiteral("EUR"), amountOf(50, 7525));
        QCOMPARE(totals.cents(QStringLiteral("EUR")), 7526);
        totals.remove(QStringLiteral("USD"), 0);
        QCOMPARE(totals.currencies(), (QStringList{"EUR", "JPY"}));
    }
};

TEMPOLATCH_TEST(MoneyTotalsTest);
#include "MoneyTotalsTest.moc"
