#include <QLabel>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "store/TimeEntry.h"
#include "views/PeriodTotals.h"

using namespace tempolatch;

class PeriodTotalsTest : public test::EnvironmentTest {
    Q_OBJECT

    static TimeEntry entry(EntryStatus status, qint32 duration, qint32 rate,
                           const QString& currency, RateType type = RateType::Normal) {
        TimeEntry e;
        e.status = status;
        e.duration = duration;
        e.rate = rate;
        e.currency = currency;
        e.rateType = type;
        return e;
    }

private Q_SLOTS:
    // Hours of every entry; billable hours and amounts only of the entries
    // that are billed in some way, each currency on its own.
    void addsUpByStatusAndCurrency() {
        PeriodTotals totals;
        QCOMPARE(totals.text(QStringLiteral("No entries this week")),
                 QStringLiteral("No entries this week"));
        totals.add(entry(EntryStatus::Billable, 150, 8000, QStringLiteral("USD")), false);
        totals.add(entry(EntryStatus::NonBillable, 100, 9900, QStringLiteral("USD")), false);
        totals.add(entry(EntryStatus::Paid, 67, 6000, QStringLiteral("EUR")), false);
        totals.add(entry(EntryStatus::Billed, 0, 25000, QStringLiteral("USD"), RateType::Fixed),
                   false);
        QCOMPARE(totals.count, 4);
        QCOMPARE(totals.text(QString()),
                 QStringLiteral("3.17 h, 2.17 h billable, EUR 40.20, USD 370.00"));
    }

    // The ten-minute fractions taken exactly when the settings say so.
    void preciseAmounts() {
        PeriodTotals totals;
        totals.add(entry(EntryStatus::Billable, 17, 6000, QStringLiteral("USD")), true);
        QCOMPARE(totals.text(QString()), QStringLiteral("0.17 h, 0.17 h billable, USD 10.00"));
    }
};

TEMPOLATCH_TEST(PeriodTotalsTest);
#include "PeriodTotalsTest.moc"
