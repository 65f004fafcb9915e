#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>

#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/StoreIds.h"
#include "store/TimeEntries.h"
#include "views/EntryList.h"
#include "views/PeriodRecords.h"
#include "views/PeriodView.h"

using namespace tempolatch;
using platform::SystemTime;

namespace {

// Here a date-time is the view's local time, not the store's.
SystemTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
    return test::localTime(y, m, d, h, min, s);
}

// A list that only records what the view put in it.
class RecordingList : public EntryList {
public:
    QList<quint32> ids;
    QList<bool> selected;
    int sortedBy = -1;

    int style() const override { return Simple; }
    void deleteAll() override {
        ids.clear();
        selected.clear();
    }
    void setRedraw(bool) override {}
    void addRow(const EntryRow& row, bool select) override {
        ids.append(row.recordId);
        selected.append(select);
    }
    bool hasSelection() const override { return false; }
    quint32 selectedRecordId() const override { return 0; }
    QList<quint32> selectedRecordIds() const override { return {}; }
    void rememberSelection() override {}
    void restoreSelection() override {}
    void deleteSelected() override {}
    void sort(int arrangeBy) override { sortedBy = arrangeBy; }
    QList<quint32> recordIds() const override { return ids; }
};

// Every record of the entries database, unfiltered.
class AllRecords : public PeriodRecords {
public:
    QList<RowContext> contexts;
    bool walk(platform::FileTime from, platform::FileTime to,
              const RecordAccess::Visit& visit) override {
        TimeEntries(test::TestEnvironment::current().store()).forEachStoredInRange(from, to, visit);
        return true;
    }
    void addRecord(const platform::PropertyList&, quint32 recordId, bool select,
                   const RowContext& context, EntryList& list) override {
        contexts.append(context);
        EntryRow row;
        row.recordId = recordId;
        list.addRow(row, select);
    }
    int arrangeBy() const override { return 4; }
};

}  // namespace

class PeriodViewTest : public test::EnvironmentTest {
    Q_OBJECT

    void setFlag(StyleFlag flag, bool on) { m_env->settings().setFlag(flag, on); }
    quint32 addDated(const SystemTime& st) {
        return m_env->store().entries().addProperties(
            {platform::Property::fileTime(prop::EntryDate, *platform::toFileTime(st))});
    }

private Q_SLOTS:

    void dayOfWeekFromTheDate() {
        for (QDate d(1899, 12, 25); d < QDate(2101, 1, 10); d = d.addDays(13))
            QCOMPARE(periodmath::dayOfWeek(d.year(), d.month(), d.day()), d.dayOfWeek() % 7);
    }

    void monthArithmetic_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("step");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("jan+1") << 2026 << 1 << 1 << 1 << QDate(2026, 2, 1);
        QTest::newRow("mar-1") << 2026 << 3 << 1 << -1 << QDate(2026, 2, 1);
        QTest::newRow("dec+1") << 2026 << 12 << 1 << 1 << QDate(2027, 1, 1);
        QTest::newRow("jan-1") << 2026 << 1 << 1 << -1 << QDate(2025, 12, 1);
        QTest::newRow("31st to feb") << 2024 << 1 << 31 << 1 << QDate(2024, 2, 29);
        QTest::newRow("-13") << 2026 << 1 << 15 << -13 << QDate(2024, 12, 15);
        QTest::newRow("+25") << 2026 << 12 << 15 << 25 << QDate(2029, 1, 15);
    }
    void monthArithmetic() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, step);
        QFETCH(QDate, expected);
        const SystemTime moved = periodmath::addMonths(at(year, month, day), step);
        QCOMPARE(moved.date(), expected);
        QCOMPARE(int(moved.dayOfWeek), expected.dayOfWeek() % 7);
    }

    // Stepping a Month view: the start stays on the 1st, the period ends a
    // minute before midnight while loading reaches 23:59:59.
    void monthViewSteps() {
        auto view = PeriodView::make(PeriodView::Month, m_env->settings());
        view->setPeriod(at(2026, 1, 20, 15, 30), {});
        view->next();
        QCOMPARE(view->start(), at(2026, 2, 1));
        SystemTime start, end;
        view->getPeriod(start, end);
        QCOMPARE(end, at(2026, 2, 28, 23, 59, 0));
        QCOMPARE(view->loadEnd(), at(2026, 2, 28, 23, 59, 59));

        view->setPeriod(at(2026, 3, 31), {});
        view->previous();
        QCOMPARE(view->start(), at(2026, 2, 1));
        view->today();
        QCOMPARE(view->start(), at(2026, 12, 1));
        QCOMPARE(view->title(), QStringLiteral("December 2026"));
    }

    void weekStart_data() {
        QTest::addColumn<bool>("monday");
        QTest::addColumn<QDate>("expected");
        // 2026-12-13 is a Sunday.
        QTest::newRow("Monday start") << true << QDate(2026, 12, 7);
        QTest::newRow("Sunday start") << false << QDate(2026, 12, 13);
    }
    void weekStart() {
        QFETCH(bool, monday);
        QFETCH(QDate, expected);
        setFlag(WeekStartsMonday, monday);
        platform::Clock::setFixed(QDateTime(QDate(2026, 12, 13), QTime(18, 45)));
        auto view = PeriodView::make(PeriodView::Week, m_env->settings());
        view->next();
        view->today();
        QCOMPARE(view->start(), at(expected.year(), expected.month(), expected.day()));
        SystemTime start, end;
        view->getPeriod(start, end);
        const QDate last = expected.addDays(6);
        QCOMPARE(end, at(last.year(), last.month(), last.day(), 23, 59, 59));
    }

    void dayView() {
        auto view = PeriodView::make(PeriodView::Day, m_env->settings());
        view->setPeriod(at(2024, 2, 28, 13, 5), at(1999, 1, 1));
        view->next();
        QCOMPARE(view->start(), at(2024, 2, 29));
        view->next();
        QCOMPARE(view->start(), at(2024, 3, 1));
        view->previous();
        view->previous();
        view->previous();
        QCOMPARE(view->start(), at(2024, 2, 27));
        QCOMPARE(view->loadEnd(), at(2024, 2, 27, 23, 59, 59));
        view->today();
        QCOMPARE(view->title(), QStringLiteral("Monday, Dec 7, 2026"));
    }

    void customView() {
        auto view = PeriodView::make(PeriodView::Custom, m_env->settings());
        QVERIFY(!view->canStep());
        view->setPeriod(at(2026, 11, 3, 9), at(2026, 11, 20, 8));
        SystemTime start, end;
        view->getPeriod(start, end);
        QCOMPARE(start, at(2026, 11, 3));
        QCOMPARE(end, at(2026, 11, 20, 23, 59, 59));
        view->next();
        view->today();
        QCOMPARE(view->start(), at(2026, 11, 3));
        QCOMPARE(view->title(), QStringLiteral("Nov 3, 2026 - Nov 20, 2026"));
        // Reversed dates name the same range; dates never set fall back to today.
        view->setPeriod(at(2026, 11, 20), at(2026, 11, 3));
        view->getPeriod(start, end);
        QCOMPARE(start, at(2026, 11, 3));
        QCOMPARE(end, at(2026, 11, 20, 23, 59, 59));
        view->setPeriod(SystemTime{}, SystemTime{});
        view->getPeriod(start, end);
        QCOMPARE(start, at(2026, 12, 7));
        QCOMPARE(end, at(2026, 12, 7, 23, 59, 59));
    }

    // The view keeps the period containing the old start across types.
    void periodKeptAcrossTypes() {
        auto month = PeriodView::make(PeriodView::Month, m_env->settings());
        month->setPeriod(at(2026, 5, 1), {});
        SystemTime start, end;
        month->getPeriod(start, end);
        auto week = PeriodView::make(PeriodView::Week, m_env->settings());
        week->setPeriod(start, end);
        QCOMPARE(week->start(), at(2026, 4, 26));
        QCOMPARE(week->title(), QStringLiteral("Week Of Apr 26, 2026"));
    }

    void titlesWithQuotedLongFormat() {
        platform::Locale::set(QLocale(QLocale::Portuguese, QLocale::Brazil));
        QVERIFY(platform::Locale::longDateFormat().contains(QLatin1Char('\'')));
        auto view = PeriodView::make(PeriodView::Day, m_env->settings());
        QCOMPARE(view->title(), QStringLiteral("07/12/2026"));
        auto week = PeriodView::make(PeriodView::Week, m_env->settings());
        QVERIFY(week->title().endsWith(QStringLiteral("06/12/2026")));
    }

    void weekNumberShownWithFlag_data() {
        QTest::addColumn<bool>("monday");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("week");
        QTest::newRow("sun start, first days of 2027") << false << QDate(2027, 1, 2) << 53;
        QTest::newRow("mon start, 2027-01-04") << true << QDate(2027, 1, 4) << 1;
        QTest::newRow("sun start, 2027-01-03") << false << QDate(2027, 1, 3) << 1;
        QTest::newRow("mon start, 2026-12-31") << true << QDate(2026, 12, 31) << 53;
    }
    void weekNumberShownWithFlag() {
        QFETCH(bool, monday);
        QFETCH(QDate, day);
        QFETCH(int, week);
        setFlag(WeekStartsMonday, monday);
        auto view = PeriodView::make(PeriodView::Week, m_env->settings());
        view->setPeriod(at(day.year(), day.month(), day.day()), {});
        QCOMPARE(view->weekNumber(), 0);
        setFlag(ShowWeekNumbers, true);
        QCOMPARE(view->weekNumber(), week);
    }

    // The week numbers agree with the system's own calendar.
    void isoWeekNumbersAgreeWithDate() {
        QList<QDate> dates;
        for (int year = 1970; year <= 2060; ++year) {
            for (int d = 26; d <= 31; ++d)
                dates.append(QDate(year, 12, d));
            for (int d = 1; d <= 6; ++d)
                dates.append(QDate(year, 1, d));
        }
        for (QDate d(2023, 1, 1); d < QDate(2025, 1, 1); d = d.addDays(5))
            dates.append(d);
        QTemporaryFile file;
        QVERIFY(file.open());
        for (const QDate& d : dates)
            file.write(d.toString(Qt::ISODate).toLatin1() + "\n");
        file.flush();
        QProcess date;
        date.setProcessEnvironment([] {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
            return env;
        }());
        date.start(QStringLiteral("date"),
                   {QStringLiteral("-f"), file.fileName(), QStringLiteral("+%V")});
        QVERIFY(date.waitForFinished(30'000));
        const QList<QByteArray> lines = date.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), dates.size());
        QVERIFY(dates.size() > 300);
        for (int i = 0; i < dates.size(); ++i) {
            const QDate& d = dates[i];
            QCOMPARE(periodmath::isoWeekNumber(d.year(), d.month(), d.day()), lines[i].toInt());
        }
    }

    // The walk: from the first record at the start to the last one inside the
    // period, with the view's context, then sorted by the records' order.
    void reloadWalksThePeriod() {
        QVERIFY(m_env->store().openAll());
        const quint32 before = addDated(at(2026, 12, 6, 23, 59, 59));
        const quint32 atStart = addDated(at(2026, 12, 7));
        const quint32 inside = addDated(at(2026, 12, 7, 23, 59, 59));
        const quint32 nextDay = addDated(at(2026, 12, 8));
        Q_UNUSED(before);
        Q_UNUSED(nextDay);

        RecordingList list;
        AllRecords records;
        auto view = PeriodView::make(PeriodView::Day, m_env->settings());
        view->attach(&list, &records);
        QSignalSpy reloaded(view.get(), &PeriodView::reloaded);
        view->reload(1, inside);
        QCOMPARE(list.ids, (QList<quint32>{atStart, inside}));
        QCOMPARE(list.selected, (QList<bool>{false, true}));
        QCOMPARE(list.sortedBy, 4);
        QCOMPARE(reloaded.count(), 1);
        QVERIFY(records.contexts.first().dayView);
        QCOMPARE(records.contexts.first().listStyle, int(EntryList::Simple));

        // The Month view loads until 23:59:59 of its last day.
        const quint32 lastSecond = addDated(at(2026, 12, 31, 23, 59, 59));
        auto month = PeriodView::make(PeriodView::Month, m_env->settings());
        month->attach(&list, &records);
        month->reload(0, 0);
        QCOMPARE(list.ids.size(), 5);
        QCOMPARE(list.ids.last(), lastSecond);
        QVERIFY(!records.contexts.last().dayView);
    }
};

TEMPOLATCH_TEST(PeriodViewTest);
#include "PeriodViewTest.moc"
