#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "editing/BillingRules.h"
#include "editing/EntryValues.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"

using namespace tempolatch;
using namespace tempolatch::test;
namespace ev = tempolatch::entryvalues;

namespace {

Rate rateOf(quint32 recordId, const QString& description, RateType type, qint32 value) {
    Rate r;
    r.recordId = recordId;
    r.description = description;
    r.rateType = type;
    r.rate = value;
    return r;
}

}  // namespace

class EntryValuesTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "1.5" << 1.5;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("leading space and sign") << "  -2.25h" << -2.25;
        QTest::newRow("dot only") << "." << 0.0;
        QTest::newRow("leading dot") << ".5" << 0.5;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("dangling exponent") << "3e" << 3.0;
        QTest::newRow("beyond 64 bytes") << (QString(64, QLatin1Char(' ')) + "7") << 0.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(ev::leadingNumber(text), expected);
    }

    void numericText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("comma") << "1,5" << true;
        QTest::newRow("signs and spaces") << " -1.5 " << true;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("exponent letter") << "1e2" << false;
        QTest::newRow("accented letter") << QString::fromUtf8("1\u00e9") << false;
    }
    void numericText() {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(ev::isNumericText(text), numeric);
    }

    void durationGranularity_data() {
        QTest::addColumn<bool>("granular");
        QTest::addColumn<int>("minTime");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("1.1 up to 15 minutes") << true << 15 << "1.1" << 125;
        QTest::newRow("exact multiple stays") << true << 15 << "1.25" << 125;
        QTest::newRow("off") << false << 15 << "1.1" << 110;
        QTest::newRow("no float noise") << false << 15 << "0.29" << 29;
        QTest::newRow("truncated") << false << 15 << "1.239" << 123;
        QTest::newRow("6 minutes") << true << 6 << "0.11" << 20;
        QTest::newRow("zero") << true << 15 << "0" << 0;
        QTest::newRow("comma") << true << 15 << "1,5" << 100;
        QTest::newRow("huge clamps") << false << 15 << "1e300" << std::numeric_limits<int>::max();
    }
    void durationGranularity() {
        QFETCH(bool, granular);
        QFETCH(int, minTime);
        QFETCH(QString, text);
        QFETCH(int, expected);
        Settings settings;
        settings.setFlag(DurationGranularity, granular);
        settings.minTime = quint16(minTime);
        TimeEntry entry;
        ev::setDurationText(entry, text, settings);
        QCOMPARE(entry.duration, expected);
    }

    void rangeMessages() {
        TimeEntry entry;
        entry.duration = 65535;
        QCOMPARE(ev::rangeMessage(entry), 0);
        entry.duration = 65536;
        QCOMPARE(ev::rangeMessage(entry), str::DurationOutOfRange);
        entry.duration = -1;
        QCOMPARE(ev::rangeMessage(entry), str::DurationOutOfRange);
        entry.duration = 100;
        ev::setBreakText(entry, "700");
        QCOMPARE(ev::rangeMessage(entry), str::BreakOutOfRange);
        QVERIFY(!resourceString(str::DurationOutOfRange).isEmpty());
    }

    void durationChoices() {
        QCOMPARE(ev::durationChoices(30).first(), "0.50");
        QCOMPARE(ev::durationChoices(30).last(), "12.00");
        QCOMPARE(ev::durationChoices(30).size(), 24);
        QCOMPARE(ev::durationChoices(6).first(), "0.10");
        QCOMPARE(ev::durationChoices(6).size(), 120);
    }

    void startEndSpan_data() {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QTime>("end");
        QTest::addColumn<QString>("breakText");
        QTest::addColumn<int>("expected");
        QTest::newRow("over midnight") << QTime(23, 0) << QTime(1, 0) << "0" << 200;
        QTest::newRow("with break") << QTime(9, 0) << QTime(17, 30) << "0.50" << 800;
        QTest::newRow("same hour, earlier minutes") << QTime(9, 40) << QTime(9, 10) << "0" << 2350;
        QTest::newRow("same time") << QTime(9, 0) << QTime(9, 0) << "0" << 0;
    }
    void startEndSpan() {
        QFETCH(QTime, start);
        QFETCH(QTime, end);
        QFETCH(QString, breakText);
        QFETCH(int, expected);
        Settings settings;
        TimeEntry entry;
        ev::setDurationHours(entry,
                             ev::spanHours(start.hour(), start.minute(), end.hour(), end.minute(),
                                           ev::leadingNumber(breakText)),
                             settings);
        QCOMPARE(entry.duration, expected);
    }

    void newEntryDefaults() {
        Settings settings;
        settings.defaultCurrency = "EUR";
        settings.setFlag(NewEntriesBillable, false);
        TimeEntry fresh = ev::openingEntry(nullptr, false, settings);
        QCOMPARE(fresh.status, EntryStatus::NonBillable);
        QCOMPARE(fresh.currency, "EUR");
        QVERIFY(!fresh.hasStartTime());
        QCOMPARE(ev::dateTimeOf(fresh).date(), TestEnvironment::fixedNow().date());

        settings.setFlag(NewEntriesBillable, true);
        TimeEntry copied;
        copied.status = EntryStatus::Billed;
        copied.currency = "GBP";
        QCOMPARE(ev::openingEntry(&copied, false, settings).status, EntryStatus::Billable);
        // A copy keeps its values.
        QCOMPARE(ev::openingEntry(&copied, true, settings).status, EntryStatus::Billed);
        QCOMPARE(ev::openingEntry(&copied, true, settings).currency, "GBP");
        copied.recordId = 7;
        QCOMPARE(ev::openingEntry(&copied, false, settings).currency, "GBP");
        // An entry without a date opens on today.
        QCOMPARE(ev::dateTimeOf(ev::openingEntry(&copied, true, settings)).date(),
                 TestEnvironment::fixedNow().date());
    }

    void startTimeMarker() {
        TimeEntry entry = ev::openingEntry(nullptr, false, Settings());
        ev::setStartTime(entry, 14, 45);
        QVERIFY(entry.hasStartTime());
        QCOMPARE(ev::dateTimeOf(entry).hour, 14);
        QCOMPARE(ev::dateTimeOf(entry).minute, 45);
        ev::setDate(entry, 2026, 2, 28);
        QCOMPARE(ev::dateTimeOf(entry).date(), QDate(2026, 2, 28));
        QVERIFY(entry.hasStartTime());
        ev::setDate(entry, 2026, 2, 30);  // no such day: nothing changes
        QCOMPARE(ev::dateTimeOf(entry).date(), QDate(2026, 2, 28));
        ev::clearStartTime(entry);
        QVERIFY(!entry.hasStartTime());
        QCOMPARE(ev::dateTimeOf(entry).hour, 0);
    }

    void locateRate_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("rateType");
        QTest::addColumn<quint32>("recordId");
        QTest::addColumn<bool>("hasClient");
        QTest::addColumn<quint32>("expected");  // 0: "(Custom Rate)", 1: nothing
        QTest::addColumn<bool>("fixedEnabled");
        const int billable = int(EntryStatus::Billable), fixed = int(RateType::Fixed);
        QTest::newRow("non billable") << 0 << 5000 << 0 << 9u << true << 0u << true;
        QTest::newRow("client rate over equal default")
            << billable << 5000 << 0 << 9u << true << 102u << false;
        QTest::newRow("default when no client")
            << billable << 5000 << 0 << 9u << false << 2u << false;
        QTest::newRow("type must match") << billable << 5000 << 1 << 9u << true << 0u << true;
        QTest::newRow("no match: custom") << billable << 1234 << fixed << 9u << true << 0u << true;
        QTest::newRow("new entry, client's first")
            << billable << 0 << 0 << 0u << true << 101u << false;
        QTest::newRow("new entry, first default")
            << billable << 0 << 0 << 0u << false << 1u << false;
        QTest::newRow("stored entry after client change")
            << billable << 0 << 0 << 9u << true << 0u << true;
    }
    void locateRate() {
        QFETCH(int, status);
        QFETCH(int, rate);
        QFETCH(int, rateType);
        QFETCH(quint32, recordId);
        QFETCH(bool, hasClient);
        QFETCH(quint32, expected);
        QFETCH(bool, fixedEnabled);
        const QList<Rate> defaults = {rateOf(1, "Base", RateType::Normal, 4000),
                                      rateOf(2, "Senior", RateType::Normal, 5000)};
        const QList<Rate> client = {rateOf(101, "Agreed", RateType::Normal, 4500),
                                    rateOf(102, "Senior", RateType::Normal, 5000)};
        TimeEntry entry;
        entry.status = EntryStatus(status);
        entry.rate = rate;
        entry.rateType = RateType(rateType);
        entry.recordId = recordId;
        const billing::RateLocation where =
            billing::locateRate(entry, hasClient ? client : QList<Rate>{}, defaults, hasClient);
        QCOMPARE(where.rate ? where.rate->recordId : (where.selectCustom ? 0u : 1u), expected);
        QCOMPARE(where.fixedEnabled, fixedEnabled);
        if (expected == 0)
            QCOMPARE(where.fixedChecked, RateType(rateType) == RateType::Fixed);
    }

    void clientGroupWithoutRates() {
        TimeEntry entry;
        entry.status = EntryStatus::Billable;
        const billing::RateLocation where =
            billing::locateRate(entry, {}, {rateOf(1, "Base", RateType::Normal, 4000)}, true);
        QVERIFY(!where.rate);
        QVERIFY(!where.selectCustom);
        QCOMPARE(billing::rateTypeOf(where.rate, false), RateType::Normal);
        QCOMPARE(billing::rateTypeOf(where.rate, true), RateType::Fixed);
    }

    void applyBilling_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("initialStatus");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("rateText");
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("stamped");
        QTest::newRow("paid stamps today") << 3 << 1 << false << "60" << 0 << true;
        QTest::newRow("paid entry keeps its date") << 3 << 3 << false << "60" << 0 << false;
        QTest::newRow("chosen date kept") << 3 << 1 << true << "60" << 0 << false;
        QTest::newRow("billed leaves paid date") << 2 << 1 << false << "60" << 0 << false;
        QTest::newRow("letters refused")
            << 1 << 1 << false << "6o" << int(str::NumericOnly) << false;
        QTest::newRow("negative refused")
            << 1 << 1 << false << "-5" << int(str::NegativeRate) << false;
    }
    void applyBilling() {
        QFETCH(int, status);
        QFETCH(int, initialStatus);
        QFETCH(bool, chosen);
        QFETCH(QString, rateText);
        QFETCH(int, message);
        QFETCH(bool, stamped);
        TimeEntry entry;
        entry.status = EntryStatus(initialStatus);
        entry.paidDate = platform::FileTime{1000};
        billing::BillingInput input;
        input.status = EntryStatus(status);
        input.rateText = rateText;
        input.currency = "USD";
        input.billTo = "Ann";
        const TimeEntry before = entry;
        QCOMPARE(billing::apply(entry, input, EntryStatus(initialStatus), chosen,
                                platform::FileTime{5000}),
                 message);
        if (message != 0) {
            QCOMPARE(entry, before);
            return;
        }
        QCOMPARE(entry.rate, 6000);
        QCOMPARE(entry.paidDate.ticks, stamped ? 5000u : 1000u);
        QCOMPARE(entry.billTo, "Ann");
    }

    void nonBillableKeepsBillTo() {
        TimeEntry entry;
        entry.status = EntryStatus::Billable;
        entry.rate = 5000;
        entry.billTo = "Ann";
        entry.currency = "EUR";
        billing::BillingInput input;
        input.status = EntryStatus::NonBillable;
        input.rateText = "letters are not checked";
        input.billTo = "Bob";
        input.currency = "USD";
        QCOMPARE(billing::apply(entry, input, EntryStatus::Billable, false, {}), 0);
        QCOMPARE(entry.status, EntryStatus::NonBillable);
        QCOMPARE(entry.rate, 0);
        QCOMPARE(entry.billTo, "Ann");
        QCOMPARE(entry.currency, "EUR");
    }

    void totals_data() {
        QTest::addColumn<bool>("precise");
        QTest::addColumn<int>("rateType");
        QTest::addColumn<int>("duration");
        QTest::addColumn<QString>("expected");
        QTest::newRow("precise") << true << 0 << 133 << "USD80.00";
        QTest::newRow("plain") << false << 0 << 133 << "USD79.80";
        QTest::newRow("fixed without duration") << false << 3 << 0 << "USD60.00";
    }
    void totals() {
        QFETCH(bool, precise);
        QFETCH(int, rateType);
        QFETCH(int, duration);
        QFETCH(QString, expected);
        TimeEntry entry;
        entry.rate = 6000;
        entry.rateType = RateType(rateType);
        entry.duration = duration;
        QCOMPARE(billing::totalText("USD", entry, precise), expected);
        QCOMPARE(billing::rateItemText(rateOf(1, "Senior", RateType::Normal, 5050)),
                 "Senior (50.50)");
    }
};

TEMPOLATCH_TEST(EntryValuesTest);
#include "EntryValuesTest.moc"
