#include <QTest>
#include <algorithm>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "views/EntryListWidget.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;

// Shift/Ctrl+click and Ctrl+A select several entries in every list style,
// and the entry commands act on all of them at once: one question, one
// transaction, one word in the status line.
class SelectManyTest : public test::EnvironmentTest {
    Q_OBJECT

    QList<quint32> m_ids;

    void addEntries(int count) {
        for (int i = 0; i < count; ++i) {
            TimeEntry e;
            e.date = test::at(2026, 12, 7 + i, 9);
            e.status = EntryStatus::Billable;
            e.client = QStringLiteral("Acme");
            e.task = QStringLiteral("Work");
            QCOMPARE(TimeEntries(m_env->store()).add(e), WriteResult::Written);
            m_ids.append(e.recordId);
        }
    }

    static void useListStyle(quint32 style) {
        platform::Registry& reg = platform::Registry::user();
        const QString key = QString::fromLatin1(platform::Registry::AppKey);
        reg.createKey(key);
        reg.writeNumber(key, QStringLiteral("tlVersion"), Settings::CurrentVersion);
        reg.writeNumber(key, QStringLiteral("View"), 2);  // the week
        reg.writeNumber(key, QStringLiteral("ListStyle"), style);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_ids.clear();
        QVERIFY(m_env->store().openAll());
    }

    void commandsActOnEverySelectedEntry_data() {
        QTest::addColumn<quint32>("style");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("status");  // -1: deleted
        QTest::addColumn<QString>("notice");
        const char* styles[] = {"default", "simple", "tree"};
        for (quint32 style = 0; style < 3; ++style) {
            QTest::addRow("%s, mark billed", styles[style])
                << style << int(cmd::MarkAsBilled) << int(EntryStatus::Billed)
                << "3 entries marked Billed.";
            QTest::addRow("%s, mark paid", styles[style])
                << style << int(cmd::MarkAsPaid) << int(EntryStatus::Paid)
                << "3 entries marked Paid.";
            QTest::addRow("%s, delete", styles[style])
                << style << int(cmd::Delete) << -1 << "3 entries deleted.";
        }
    }
    void commandsActOnEverySelectedEntry() {
        QFETCH(quint32, style);
        QFETCH(int, command);
        QFETCH(int, status);
        QFETCH(QString, notice);
        addEntries(3);
        TimeEntry elsewhere;  // a week later: not shown, not selected
        elsewhere.date = test::at(2026, 12, 15, 9);
        elsewhere.status = EntryStatus::Billable;
        elsewhere.client = QStringLiteral("Acme");
        elsewhere.task = QStringLiteral("Work");
        QCOMPARE(TimeEntries(m_env->store()).add(elsewhere), WriteResult::Written);
        useListStyle(style);
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* list = dynamic_cast<QWidget*>(frame.entryList());
        QVERIFY(list);
        QCOMPARE(frame.entryList()->recordIds().size(), 3);
        frame.periodView()->reload(1, m_ids[1]);
        QCOMPARE(frame.entryList()->selectedRecordIds(), QList<quint32>{m_ids[1]});
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QList<quint32> selected = frame.entryList()->selectedRecordIds();
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selected, m_ids);

        m_env->ui().queueAnswer(platform::Answer::Yes);
        QVERIFY(frame.onCommand(command));
        // One question for all of them, and only for Delete.
        QCOMPARE(m_env->ui().shown().size(), command == cmd::Delete ? 1 : 0);
        QCOMPARE(m_env->ui().notices(), QStringList{notice});
        TimeEntries entries(m_env->store());
        for (const quint32 id : std::as_const(m_ids)) {
            const std::optional<TimeEntry> entry = entries.find(id);
            QCOMPARE(entry ? int(entry->status) : -1, status);
        }
        QCOMPARE(entries.find(elsewhere.recordId)->status, EntryStatus::Billable);
        QCOMPARE(frame.entryList()->recordIds().size(), status < 0 ? 0 : 3);
    }
};

TEMPOLATCH_TEST(SelectManyTest);
#include "SelectManyTest.moc"
