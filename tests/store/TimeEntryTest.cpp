#include "common/EnvironmentTest.h"
#include "common/SampleRecords.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "store/RecordStore.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

Q_DECLARE_METATYPE(tempolatch::platform::FileTime)

using namespace tempolatch;
using namespace tempolatch::platform;
using test::at;
using test::fullEntry;
using test::idsOf;
using test::rawRecord;

class TimeEntryTest : public test::EnvironmentTest {
    Q_OBJECT

    TimeEntryDatabase& db() { return m_env->store().entries(); }

    quint32 addRaw(const PropertyList& props) { return db().addProperties(props); }

    TimeEntry readBack(quint32 recordId) {
        return TimeEntries(db()).find(recordId).value_or(TimeEntry());
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void minimalEntryStoresFiveProperties() {
        TimeEntry e;
        e.date = at(2026, 12, 7);
        e.client = QStringLiteral("Acme");
        e.modified = at(2026, 12, 7, 10);
        QVERIFY(TimeEntries(db()).add(e, 3) == WriteResult::Written);
        QVERIFY(e.recordId != 0);
        QCOMPARE(idsOf(rawRecord(db(), e.recordId)),
                 (QList<quint32>{prop::EntryDate, prop::ClientName, prop::TaskName, prop::Modified,
                                 prop::ChangeFlags}));
        TimeEntry back = readBack(e.recordId);
        e.changeFlags = 3;
        QCOMPARE(back, e);
    }

    void fullEntryIsWrittenInOrderAndReadBack() {
        TimeEntry e = fullEntry();
        QVERIFY(TimeEntries(db()).add(e, 3) == WriteResult::Written);
        QCOMPARE(idsOf(rawRecord(db(), e.recordId)),
                 (QList<quint32>{prop::EntryDate, prop::ClientName, prop::Project, prop::Phase,
                                 prop::TaskName, prop::Duration, prop::Status, prop::Currency,
                                 prop::Rate, prop::PaidDate, prop::Note, prop::BillTo,
                                 prop::Custom1, prop::Custom2, prop::Custom3, prop::RateType,
                                 prop::Break, prop::Modified, prop::ChangeFlags}));
        e.changeFlags = 3;
        QCOMPARE(readBack(e.recordId), e);
        QVERIFY(readBack(e.recordId).hasStartTime());
    }

    void updateWritesItsOrderAndRemovesEmptyFields() {
        TimeEntry e = fullEntry();
        QCOMPARE(idsOf(e.propertiesForUpdate(3)),
                 (QList<quint32>{prop::EntryDate, prop::ClientName, prop::Project, prop::Phase,
                                 prop::TaskName, prop::Duration, prop::Status, prop::Currency,
                                 prop::Rate, prop::PaidDate, prop::BillTo, prop::Custom1,
                                 prop::Custom2, prop::Custom3, prop::RateType, prop::Modified,
                                 prop::Note, prop::Break, prop::ChangeFlags}));
        QVERIFY(TimeEntries(db()).add(e, 3) == WriteResult::Written);

        TimeEntry emptied;
        emptied.recordId = e.recordId;
        emptied.date = e.date;
        emptied.client = e.client;
        emptied.task = e.task;
        emptied.modified = at(2026, 12, 8);
        emptied.recordId = e.recordId;
        QVERIFY(TimeEntries(db()).update(emptied, 3) == WriteResult::Written);
        QCOMPARE(idsOf(rawRecord(db(), e.recordId)),
                 (QList<quint32>{prop::EntryDate, prop::ClientName, prop::TaskName, prop::Modified,
                                 prop::ChangeFlags}));
        emptied.changeFlags = 7;  // 3 over a stored 3
        QCOMPARE(readBack(e.recordId), emptied);
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    void legacyPropertiesAreRead_data() {
        QTest::addColumn<PropertyList>("extra");
        QTest::addColumn<int>("status");
        const Property billable = Property::boolean(prop::LegacyBillable, true);
        const Property notBillable = Property::boolean(prop::LegacyBillable, false);
        const Property paid = Property::boolean(prop::LegacyPaid, true);
        const Property notPaid = Property::boolean(prop::LegacyPaid, false);
        QTest::newRow("billable") << PropertyList{billable} << 1;
        QTest::newRow("not billable") << PropertyList{notBillable} << 0;
        QTest::newRow("paid") << PropertyList{paid} << 3;
        QTest::newRow("billable, not paid") << PropertyList{billable, notPaid} << 1;
        QTest::newRow("paid before billable") << PropertyList{paid, billable} << 3;
        QTest::newRow("status decides") << PropertyList{Property::ui2(prop::Status, 2), paid} << 2;
        QTest::newRow("unknown ignored")
            << PropertyList{billable, Property::string(0x07770000 | PropText, QStringLiteral("x")),
                            Property::ui4((prop::Duration & 0xFFFF0000) | PropUi4, 99)}
            << 1;
    }
    void legacyPropertiesAreRead() {
        QFETCH(PropertyList, extra);
        QFETCH(int, status);
        PropertyList props{Property::fileTime(prop::EntryDate, at(2020, 3, 4)),
                           Property::string(prop::ClientName, QStringLiteral("Old"))};
        props.append(extra);
        const TimeEntry e = readBack(addRaw(props));
        QCOMPARE(int(e.status), status);
        QCOMPARE(e.client, QStringLiteral("Old"));
        QCOMPARE(e.duration, 0);
    }

    void legacyStartTimeGivesTheTimeOfDay() {
        const quint32 id = addRaw(
            {Property::fileTime(prop::LegacyStartTime, at(1999, 1, 1, 14, 35, 12).addTicks(4321)),
             Property::fileTime(prop::EntryDate, at(2020, 3, 4, 8, 10, 1)),
             Property::string(prop::ClientName, QStringLiteral("Old"))});
        QCOMPARE(readBack(id).date, at(2020, 3, 4, 14, 35, 12));
    }

    // Both ends belong to the range; the walk stops when told to.
    void walkInDateRange_data() {
        QTest::addColumn<FileTime>("from");
        QTest::addColumn<FileTime>("to");
        QTest::addColumn<int>("stopAfter");  // 0: never
        QTest::addColumn<QStringList>("tasks");
        QTest::newRow("ends included") << at(2026, 3, 2, 8) << at(2026, 3, 3, 8) << 0
                                       << QStringList{"2 8:00", "2 17:00", "3 8:00"};
        QTest::newRow("one instant")
            << at(2026, 3, 2, 17) << at(2026, 3, 2, 17) << 0 << QStringList{"2 17:00"};
        QTest::newRow("between entries")
            << at(2026, 3, 2, 9) << at(2026, 3, 2, 16) << 0 << QStringList{};
        QTest::newRow("stopped") << at(2026, 3, 1) << at(2026, 3, 9) << 2
                                 << QStringList{"1 8:00", "1 17:00"};
        QTest::newRow("before all") << at(2025, 1, 1) << at(2026, 2, 28) << 0 << QStringList{};
    }
    void walkInDateRange() {
        QFETCH(FileTime, from);
        QFETCH(FileTime, to);
        QFETCH(int, stopAfter);
        QFETCH(QStringList, tasks);
        TimeEntries entries(db());
        // Added out of date order: the walk follows the dates, not the ids.
        for (int day : {3, 1, 2}) {
            for (int hour : {17, 8}) {
                TimeEntry e;
                e.date = at(2026, 3, day, hour);
                e.task = QStringLiteral("%1 %2:00").arg(day).arg(hour);
                QVERIFY(entries.add(e) == WriteResult::Written);
            }
        }
        QStringList walked;
        entries.forEachInRange(from, to, [&](const TimeEntry& e) {
            walked.append(e.recordId != 0 ? e.task : QStringLiteral("no id"));
            return walked.size() != stopAfter;
        });
        QCOMPARE(walked, tasks);
    }

    void findWithoutSuchRecord() {
        TimeEntry e = fullEntry();
        QVERIFY(TimeEntries(db()).add(e, 3) == WriteResult::Written);
        QVERIFY(!TimeEntries(db()).find(0));
        QVERIFY(!TimeEntries(db()).find(e.recordId + 1));
    }

    void amounts_data() {
        QTest::addColumn<bool>("precise");
        QTest::addColumn<int>("rateType");
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("amount");
        QTest::newRow("1.17 h precise") << true << 0 << 117 << 6000 << "70.00";
        QTest::newRow("0.83 h precise") << true << 0 << 83 << 6000 << "50.00";
        QTest::newRow("1.50 h precise") << true << 0 << 150 << 6000 << "90.00";
        QTest::newRow("2.33 h precise") << true << 2 << 233 << 6000 << "140.00";
        QTest::newRow("1.17 h plain") << false << 0 << 117 << 6000 << "70.20";
        QTest::newRow("discount alike") << false << 4 << 200 << 2550 << "51.00";
        QTest::newRow("fixed") << true << 3 << 117 << 25000 << "250.00";
        QTest::newRow("fixed, no time") << false << 3 << 0 << 25000 << "250.00";
    }
    void amounts() {
        QFETCH(bool, precise);
        QFETCH(int, rateType);
        QFETCH(int, duration);
        QFETCH(int, rate);
        QFETCH(QString, amount);
        TimeEntry e;
        e.rateType = RateType(rateType);
        e.duration = duration;
        e.rate = rate;
        QCOMPARE(amountText(e.amount(precise)), amount);
    }

    void minutesAndEndTime_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("breakTime");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("endMinutes");  // after 09:00
        QTest::newRow("1.33 and 0.17") << 133 << 17 << 80 << 90;
        QTest::newRow("1.50") << 150 << 0 << 90 << 90;
        QTest::newRow("2.05") << 205 << 0 << 123 << 123;
        QTest::newRow("0.83") << 83 << 0 << 50 << 50;
        QTest::newRow("655.35") << 65535 << 0 << 39321 << 39321;
        QTest::newRow("no duration, break") << 0 << 50 << 0 << 30;
    }
    void minutesAndEndTime() {
        QFETCH(int, duration);
        QFETCH(int, breakTime);
        QFETCH(int, minutes);
        QFETCH(int, endMinutes);
        TimeEntry e;
        e.date = at(2026, 12, 7, 9, 0, 1);
        e.duration = duration;
        e.breakTime = breakTime;
        QCOMPARE(e.durationMinutes(), minutes);
        QCOMPARE(e.endTime(), e.date.addMinutes(endMinutes));
    }

    void textForms() {
        QCOMPARE(hundredthsText(150), QStringLiteral("1.50"));
        QCOMPARE(hundredthsText(5), QStringLiteral("0.05"));
        QCOMPARE(hundredthsText(65535), QStringLiteral("655.35"));
        QCOMPARE(hundredthsText(0), QStringLiteral("0.00"));
        QCOMPARE(hundredthsText(-7), QStringLiteral("-0.07"));
        QCOMPARE(hundredthsText(-123456), QStringLiteral("-1234.56"));
        QCOMPARE(hundredthsText(4294967295), QStringLiteral("42949672.95"));
        QCOMPARE(amountText(1234.5), QStringLiteral("1234.50"));
        QCOMPARE(statusName(EntryStatus::Paid), QStringLiteral("Paid"));
        QCOMPARE(rateTypeName(RateType::Discount), QStringLiteral("Discount Rate"));
        QCOMPARE(statusName(EntryStatus(9)), QString());
    }

    void valuesOutsideTheStoredRangeAreRefused_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("breakTime");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("problem");
        QTest::newRow("duration 655.36 h")
            << 65536 << 0 << 0 << int(TimeEntry::Problem::DurationOutOfRange);
        QTest::newRow("negative duration")
            << -1 << 0 << 0 << int(TimeEntry::Problem::DurationOutOfRange);
        QTest::newRow("break 700 h")
            << 100 << 70000 << 0 << int(TimeEntry::Problem::BreakOutOfRange);
        QTest::newRow("negative break")
            << 100 << -17 << 0 << int(TimeEntry::Problem::BreakOutOfRange);
        QTest::newRow("negative rate") << 100 << 0 << -500 << int(TimeEntry::Problem::NegativeRate);
    }
    void valuesOutsideTheStoredRangeAreRefused() {
        QFETCH(int, duration);
        QFETCH(int, breakTime);
        QFETCH(int, rate);
        QFETCH(int, problem);
        TimeEntry stored = fullEntry();
        QVERIFY(TimeEntries(db()).add(stored, 3) == WriteResult::Written);

        TimeEntry e = fullEntry();
        e.duration = duration;
        e.breakTime = breakTime;
        e.rate = rate;
        QCOMPARE(int(e.problem()), problem);
        QVERIFY(TimeEntries(db()).add(e, 3) != WriteResult::Written);
        QCOMPARE(e.recordId, 0u);
        QCOMPARE(m_env->store().entryCount(), 1);

        e.recordId = stored.recordId;
        const TimeEntry before = e;
        QCOMPARE(TimeEntries(db()).update(e, 3), WriteResult::NotStorable);
        QCOMPARE(e, before);
        stored.changeFlags = 3;
        QCOMPARE(readBack(stored.recordId), stored);
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    // The store reports; showing the message is the window's part.
    void updateOfDeletedEntryIsReportedNotShown() {
        TimeEntry e = fullEntry();
        TimeEntries entries(db());
        QVERIFY(entries.add(e, 3) == WriteResult::Written);
        // Another window of the program deletes it meanwhile.
        QVERIFY(m_env->store().objectStore()->deleteRecord(db().databaseId(), e.recordId));
        QCOMPARE(entries.update(e, 3), WriteResult::NotFound);
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    void removeDeletesTheRecordOnce() {
        TimeEntry e = fullEntry();
        TimeEntries entries(db());
        QVERIFY(entries.add(e, 3) == WriteResult::Written);
        QCOMPARE(entries.remove(e.recordId), WriteResult::Written);
        QCOMPARE(m_env->store().entryCount(), 0);
        QVERIFY(!entries.find(e.recordId));
        QCOMPARE(entries.remove(e.recordId), WriteResult::NotFound);
    }
};

TEMPOLATCH_TEST(TimeEntryTest);
#include "TimeEntryTest.moc"
