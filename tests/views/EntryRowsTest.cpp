#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "records/EntryFilter.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "views/PeriodView.h"
#include "views/SimpleEntryList.h"
#include "views/TimeEntryRows.h"
#include "views/TreeEntryList.h"

using namespace tempolatch;
using platform::SystemTime;

namespace {

using test::at;

TimeEntry entry(EntryStatus status, bool startTime) {
    TimeEntry e;
    e.status = status;
    e.rateType = RateType::Overtime;
    e.client = QStringLiteral("Acme");
    e.project = QStringLiteral("Site");
    e.phase = QStringLiteral("Design");
    e.task = QStringLiteral("Drawing");
    e.currency = QStringLiteral("EUR");
    e.date = startTime ? at(2026, 12, 7, 9, 30, 1) : at(2026, 12, 7);
    e.duration = 150;
    e.rate = 6000;
    return e;
}

// en_US short times.
const QString kStart = QStringLiteral("9:30 AM");
const QString kEnd = QStringLiteral("11:00 AM");

}  // namespace

class EntryRowsTest : public test::EnvironmentTest {
    Q_OBJECT

    Settings m_settings;

    EntryRow build(const TimeEntry& e, int style, bool dayView = false) {
        return TimeEntryRows::build(e, RowContext{style, dayView}, m_settings);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_settings = Settings();
        m_settings.treeOptions = 0x1F;
    }

    void defaultFirstLine_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("startTime");
        QTest::addColumn<bool>("dayView");
        QTest::addColumn<QString>("line1");
        const QString& start = kStart;
        const QString& end = kEnd;
        for (int mode = 0; mode < 3; ++mode)
            QTest::addRow("no start time, mode %d", mode)
                << mode << false << false << QStringLiteral("12/7/26 1.50h");
        QTest::newRow("mode 0") << 0 << true << false
                                << QStringLiteral("12/7/26 1.50h (%1)").arg(start);
        QTest::newRow("mode 1") << 1 << true << false
                                << QStringLiteral("12/7/26 1.50h (%1 - %2)").arg(start, end);
        QTest::newRow("mode 2") << 2 << true << false
                                << QStringLiteral("12/7/26 %1 - %2").arg(start, end);
        QTest::newRow("day view") << 0 << true << true << QStringLiteral("1.50h (%1)").arg(start);
        QTest::newRow("unknown mode") << 9 << false << true << QStringLiteral("1.50h");
    }
    void defaultFirstLine() {
        QFETCH(int, mode);
        QFETCH(bool, startTime);
        QFETCH(bool, dayView);
        QFETCH(QString, line1);
        m_settings.viewCust[0] = quint32(mode);
        const EntryRow row = build(entry(EntryStatus::Billable, startTime), 0, dayView);
        QCOMPARE(row.lines.value(0), line1);
    }

    void defaultLines() {
        TimeEntry e = entry(EntryStatus::Paid, false);
        e.note = QByteArray("ink");
        EntryRow row = build(e, 0);
        QCOMPARE(row.lines.mid(1), (QStringList{"Drawing", "Site (Design)", "Acme"}));
        QVERIFY(row.hasNote && row.statusIcon);
        QCOMPARE(row.status, 3);
        e.phase.clear();
        m_settings.viewCust[1] = 0;
        row = build(e, 0);
        QCOMPARE(row.lines.mid(1), (QStringList{"Drawing", "Site"}));
        QVERIFY(!row.statusIcon);
    }

    void simpleCells() {
        TimeEntry e = entry(EntryStatus::Billable, true);
        e.billTo = QStringLiteral("Ann");
        e.custom2 = QStringLiteral("c2");
        EntryRow row = build(e, 1);
        QCOMPARE(row.cells.size(), 16);
        QCOMPARE(row.cells,
                 (QStringList{"12/7/26", "Acme", "Site", "Design", "Drawing", "1.50", kStart, "Ann",
                              "", "c2", "", kEnd, "EUR", "60.00", "Overtime Rate", "90.00"}));
        e.rate = 123456;
        QCOMPARE(build(e, 1).cells.at(13), QStringLiteral("1,234.56"));

        // Non Billable: no money cells.
        row = build(entry(EntryStatus::NonBillable, true), 1);
        for (int column = 12; column < 16; ++column)
            QVERIFY2(row.cells.at(column).isEmpty(), qPrintable(QString::number(column)));
        // Only the editor's own start-time marker shows times here.
        e.date = at(2026, 12, 7, 9, 30, 2);
        QVERIFY(e.hasStartTime());
        row = build(e, 1);
        QVERIFY(row.cells.at(6).isEmpty() && row.cells.at(11).isEmpty());
    }

    // Same date, client and project share nodes; without a project the task
    // hangs under the client, without clients under the date.
    void treePaths() {
        TreeEntryList tree;
        TimeEntry a = entry(EntryStatus::Billable, true);
        a.recordId = 1;
        TimeEntry b = entry(EntryStatus::NonBillable, false);
        b.recordId = 2;
        b.task = QStringLiteral("Calls");
        TimeEntry c = entry(EntryStatus::Billed, false);
        c.recordId = 3;
        c.project.clear();
        c.phase.clear();
        c.currency.clear();
        for (const TimeEntry& e : {a, b, c})
            tree.addRow(build(e, 2), false);
        QCOMPARE(tree.topLevelItemCount(), 1);
        QTreeWidgetItem* client = tree.topLevelItem(0)->child(0);
        QCOMPARE(tree.topLevelItem(0)->childCount(), 1);
        QCOMPARE(client->text(0), QStringLiteral("Acme"));
        QCOMPARE(client->childCount(), 2);
        QCOMPARE(tree.itemOf(3)->parent(), client);
        QTreeWidgetItem* phase = tree.itemOf(1)->parent();
        QCOMPARE(phase->text(0), QStringLiteral("Design"));
        QCOMPARE(tree.itemOf(2)->parent(), phase);
        QCOMPARE(phase->parent()->text(0), QStringLiteral("Site"));

        auto details = [&tree](quint32 id) {
            QStringList texts;
            for (int i = 0; i < tree.itemOf(id)->childCount(); ++i)
                texts.append(tree.itemOf(id)->child(i)->text(0));
            return texts;
        };
        QCOMPARE(details(1), (QStringList{"1.50", kStart + "-" + kEnd, "EUR 90.00"}));
        QCOMPARE(details(2), QStringList{"1.50"});
        QCOMPARE(details(3), (QStringList{"1.50", "90.00"}));

        m_settings.treeOptions = 0;
        const EntryRow bare = build(a, 2);
        QCOMPARE(bare.groups.size(), 1);
        QCOMPARE(bare.details.size(), 1);
        QCOMPARE(bare.details.first().image, TreeImageStatus + 1);
    }

    // The whole reload: walk, filter, arrange, rows.
    void reloadShowsTheFilteredPeriod() {
        QVERIFY(m_env->store().openAll());
        RecordStore& db = m_env->store();
        auto add = [&db](platform::FileTime when, const QString& client, const QString& task) {
            TimeEntry e = entry(EntryStatus::Billable, false);
            e.date = when;
            e.client = client;
            e.task = task;
            TimeEntries(db).add(e);
            return e.recordId;
        };
        const quint32 atStart = add(at(2026, 12, 7), QStringLiteral("Zeta"), QStringLiteral("T"));
        const quint32 evening =
            add(at(2026, 12, 7, 18, 0, 1), QStringLiteral("Acme"), QStringLiteral("T"));
        const quint32 other =
            add(at(2026, 12, 7, 12, 0, 1), QStringLiteral("acme"), QStringLiteral("T"));
        const quint32 nextDay = add(at(2026, 12, 8), QStringLiteral("Acme"), QStringLiteral("T"));

        SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
        EntryFilter filter;
        TimeEntryRecords records(filter, m_env->settings(), db);
        auto view = PeriodView::make(PeriodView::Day, m_env->settings());
        view->attach(&list, &records);
        view->reload(1, other);
        QCOMPARE(list.recordIds(), (QList<quint32>{atStart, other, evening}));
        QCOMPARE(list.selectedRecordId(), other);

        m_env->settings().sort = 1;
        view->reload(0, 0);
        QCOMPARE(list.recordIds(), (QList<quint32>{other, evening, atStart}));
        QCOMPARE(list.selectedRecordId(), other);

        filter.client = QStringLiteral("Acme");
        view->reload(0, 0);
        QCOMPARE(list.recordIds(), QList<quint32>{evening});
        QVERIFY(!list.hasSelection());

        view->next();
        QCOMPARE(list.recordIds(), QList<quint32>{nextDay});
    }
};

TEMPOLATCH_TEST(EntryRowsTest);
#include "EntryRowsTest.moc"
