#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QTabWidget>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "records/EntryCriteria.h"
#include "records/FilterChoices.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "views/EntryCriteriaSheet.h"

using namespace tempolatch;

Q_DECLARE_METATYPE(tempolatch::CriteriaMode)

namespace {

struct BoxState {
    bool checked;
    bool enabled;
};

QList<BoxState> boxStates(QDialog* sheet) {
    QList<BoxState> states;
    for (const char* name : {"unpaid", "billed", "paid", "nonBillable"}) {
        auto* box = sheet->findChild<QCheckBox*>(QString::fromLatin1(name));
        states.append(box ? BoxState{box->isChecked(), box->isEnabled()} : BoxState{false, false});
    }
    return states;
}

}  // namespace

class EntryCriteriaSheetTest : public test::EnvironmentTest {
    Q_OBJECT

    // Runs the sheet on the week of 2026-12-07, lets `drive` work its
    // widgets, presses OK and gives what the sheet wrote.
    std::optional<EntryFilter> run(CriteriaMode mode, const std::function<void(QDialog*)>& drive) {
        test::onNextModal([drive](QDialog* sheet) {
            drive(sheet);
            sheet->accept();
        });
        EntryFilter criteria;
        criteria.client = QStringLiteral("left over");
        if (!runEntryCriteria(m_env->context(), nullptr, mode, test::localTime(2026, 12, 6, 0, 0),
                              test::localTime(2026, 12, 12, 23, 59), criteria))
            return std::nullopt;
        return criteria;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // Marking billed takes Billable entries only, marking paid Billable and
    // Billed ones; the boxes the mode fixes cannot be changed, and OK keeps
    // the preset even when something changed them.
    void statusPresetsPerMode_data() {
        QTest::addColumn<CriteriaMode>("mode");
        QTest::addColumn<QString>("shown");    // checked boxes: unpaid billed paid nonBillable
        QTest::addColumn<QString>("enabled");  // enabled boxes, same order
        QTest::addColumn<QString>("passes");   // statuses that pass after OK: 0..3
        QTest::newRow("any") << CriteriaMode::Any << "1111"
                             << "1111"
                             << "0123";
        QTest::newRow("mark paid") << CriteriaMode::MarkPaid << "1100"
                                   << "1100"
                                   << "12";
        QTest::newRow("mark billed") << CriteriaMode::MarkBilled << "1000"
                                     << "0000"
                                     << "1";
    }
    void statusPresetsPerMode() {
        QFETCH(CriteriaMode, mode);
        QFETCH(QString, shown);
        QFETCH(QString, enabled);
        QFETCH(QString, passes);
        QString checkedSeen;
        QString enabledSeen;
        const auto criteria = run(mode, [&](QDialog* sheet) {
            auto* pages = sheet->findChild<QTabWidget*>(QStringLiteral("pages"));
            QStringList titles;
            for (int i = 0; i < pages->count(); ++i)
                titles.append(pages->tabText(i));
            QCOMPARE(titles, (QStringList{"Criteria", "Status", "More Choices"}));
            for (const BoxState& state : boxStates(sheet)) {
                checkedSeen += state.checked ? u'1' : u'0';
                enabledSeen += state.enabled ? u'1' : u'0';
            }
            // A disabled box changed anyway must not widen the choice.
            for (auto* box : sheet->findChildren<QCheckBox*>())
                box->setChecked(true);
        });
        QVERIFY(criteria);
        QCOMPARE(checkedSeen, shown);
        QCOMPARE(enabledSeen, enabled);
        QString passing;
        for (int status = 0; status <= 3; ++status) {
            TimeEntry entry;
            entry.date = test::at(2026, 12, 7, 9);
            entry.status = EntryStatus(status);
            if (criteria->matches(entry))
                passing += QString::number(status);
        }
        QCOMPARE(passing, passes);
    }

    // The range is the period's first day from midnight to the end of its
    // last day, the other criteria "(All)" whatever the caller's filter held.
    void presetRangeAndNothingElse() {
        QString start;
        QString end;
        const auto criteria = run(CriteriaMode::Any, [&](QDialog* sheet) {
            start =
                sheet->findChild<QDateEdit*>(QStringLiteral("start"))->date().toString(Qt::ISODate);
            end = sheet->findChild<QDateEdit*>(QStringLiteral("end"))->date().toString(Qt::ISODate);
        });
        QVERIFY(criteria);
        QCOMPARE(start, QStringLiteral("2026-12-06"));
        QCOMPARE(end, QStringLiteral("2026-12-12"));
        EntryFilter expected;
        expected.startDate = test::localTime(2026, 12, 6);
        expected.endDate = test::localTime(2026, 12, 12, 23, 59, 59);
        QCOMPARE(criteria->client, QString());
        QVERIFY(*criteria == expected);
    }

    void cancelledSheetLeavesTheCriteria() {
        test::onNextModal([](QDialog* sheet) { sheet->reject(); });
        EntryFilter criteria;
        criteria.client = QStringLiteral("kept");
        QVERIFY(!runEntryCriteria(m_env->context(), nullptr, CriteriaMode::MarkPaid,
                                  test::localTime(2026, 12, 6), test::localTime(2026, 12, 12),
                                  criteria));
        QCOMPARE(criteria.client, QStringLiteral("kept"));
    }

    // The lists of the chosen client, the task among them, and a new end
    // day; an entry in the last minute of that day is chosen, one a second
    // later is not.
    void okWritesTheChoices() {
        ClientStructureStore& structure = m_env->store().clientStructure();
        Client acme;
        acme.name = QStringLiteral("Acme");
        addClient(structure.clients, acme);
        Client zeta;
        zeta.name = QStringLiteral("Zeta");
        addClient(structure.clients, zeta);
        addTask(structure.tasks, zeta.clientId, QStringLiteral("Audit"));
        addProjectTask(structure.projects, zeta.clientId, QStringLiteral("Shop"),
                       QStringLiteral("Sell"));
        QStringList tasks;
        const auto criteria = run(CriteriaMode::MarkPaid, [&](QDialog* sheet) {
            auto* client = sheet->findChild<QComboBox*>(QStringLiteral("client"));
            client->setCurrentIndex(2);
            Q_EMIT client->activated(2);
            auto* task = sheet->findChild<QComboBox*>(QStringLiteral("task"));
            for (int i = 0; i < task->count(); ++i)
                tasks.append(task->itemText(i));
            task->setCurrentIndex(1);
            sheet->findChild<QDateEdit*>(QStringLiteral("end"))->setDate(QDate(2026, 12, 20));
            sheet->findChild<QComboBox*>(QStringLiteral("rateType"))->setCurrentIndex(1);
        });
        QVERIFY(criteria);
        QCOMPARE(tasks, (QStringList{"(All)", "Audit"}));
        QCOMPARE(criteria->client, QStringLiteral("Zeta"));
        QCOMPARE(criteria->task, QStringLiteral("Audit"));
        QCOMPARE(criteria->rateType, 0);

        TimeEntries entries(m_env->store());
        auto add = [&](platform::FileTime when) {
            TimeEntry e;
            e.client = QStringLiteral("Zeta");
            e.task = QStringLiteral("Audit");
            e.status = EntryStatus::Billable;
            e.date = when;
            entries.add(e);
            return e.recordId;
        };
        const quint32 lastMinute = add(test::at(2026, 12, 20, 23, 59, 30));
        add(test::at(2026, 12, 21, 0, 0, 0));
        add(test::at(2026, 12, 5, 23, 59, 59));
        QList<quint32> chosen;
        forEachChosenEntry(m_env->store(), *criteria, [&](const TimeEntry& e) {
            chosen.append(e.recordId);
            return true;
        });
        QCOMPARE(chosen, QList<quint32>{lastMinute});
    }
};

TEMPOLATCH_TEST(EntryCriteriaSheetTest);
#include "EntryCriteriaSheetTest.moc"
