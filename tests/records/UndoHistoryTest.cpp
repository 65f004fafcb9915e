#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/ServerStore.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "records/UndoHistory.h"
#include "store/RecordJournal.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

// The undo core without a window: what a journal notes, and how a step
// puts records back, on the profile's file and on a server store.
class UndoHistoryTest : public test::EnvironmentTest {
    Q_OBJECT

    TimeEntry m_entry;
    std::unique_ptr<test::ServerStore> m_server;

    TimeEntries entries() { return TimeEntries(m_env->store()); }

private Q_SLOTS:
    void initTestCase_data() {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        QTest::newRow("server") << true;
    }
    void init() {
        EnvironmentTest::init();
        QFETCH_GLOBAL(bool, server);
        if (server) {
            m_server = std::make_unique<test::ServerStore>();
            if (!m_server->isReady())
                QSKIP(qPrintable(m_server->why()));
            platform::Profile::setStore(m_server->address());
        }
        QVERIFY(m_env->store().openAll());
        m_entry = TimeEntry();
        m_entry.date = test::at(2026, 12, 7, 9);
        m_entry.client = QStringLiteral("Acme");
        m_entry.duration = 66;
        QCOMPARE(entries().add(m_entry), WriteResult::Written);
    }

    void cleanup() {
        m_env->store().close();
        platform::Profile::setStore({});
        m_server.reset();
        EnvironmentTest::cleanup();
    }

    // A deleted record comes back under its own id, so that older steps
    // that name it still find it; journals inside journals see the same.
    void deletedRecordComesBackUnderItsId() {
        const TimeEntry stored = *entries().find(m_entry.recordId);
        RecordJournal outer(m_env->store());
        {
            RecordJournal inner(m_env->store());
            QCOMPARE(entries().remove(m_entry.recordId), WriteResult::Written);
            QCOMPARE(inner.changes(), outer.changes());
        }
        const UndoStep step =
            stepOf(outer, m_env->store(), UndoAction::Delete, UndoRecords::Entries);
        QCOMPARE(step.name(), QStringLiteral("Delete Entry"));
        QCOMPARE(step.changes().size(), 1);
        QVERIFY(!step.changes().first().after);

        QCOMPARE(step.undo(m_env->store()), UndoResult::Done);
        const std::optional<TimeEntry> back = entries().find(m_entry.recordId);
        QVERIFY(back);
        QCOMPARE(*back, stored);
        QCOMPARE(step.redo(m_env->store()), UndoResult::Done);
        QVERIFY(!entries().find(m_entry.recordId));
        // Ids are never given again: a new entry gets another.
        TimeEntry next = m_entry;
        next.recordId = 0;
        QCOMPARE(entries().add(next), WriteResult::Written);
        QVERIFY(next.recordId > m_entry.recordId);
    }

    // Added and removed within one command: nothing to undo.
    void recordAddedAndRemovedIsNoStep() {
        RecordJournal journal(m_env->store());
        TimeEntry added = m_entry;
        added.recordId = 0;
        QCOMPARE(entries().add(added), WriteResult::Written);
        QCOMPARE(entries().remove(added.recordId), WriteResult::Written);
        QVERIFY(journal.changes().isEmpty());
    }

    // The history keeps its depth of steps and forgets the oldest.
    void historyKeepsItsDepth() {
        UndoHistory history;
        for (int i = 0; i < UndoHistory::Depth + 5; ++i) {
            RecordJournal journal(m_env->store());
            TimeEntry e = *entries().find(m_entry.recordId);
            e.duration = i;
            QCOMPARE(entries().update(e), WriteResult::Written);
            history.push(stepOf(journal, m_env->store(), UndoAction::Edit, UndoRecords::Entries));
        }
        QCOMPARE(history.undoCount(), UndoHistory::Depth);
        while (history.canUndo())
            QCOMPARE(history.undo(m_env->store()), UndoResult::Done);
        // Back to what the oldest step kept had before it.
        QCOMPARE(entries().find(m_entry.recordId)->duration, 4);
        QCOMPARE(history.undo(m_env->store()), UndoResult::Nothing);
    }
};

TEMPOLATCH_TEST(UndoHistoryTest);
#include "UndoHistoryTest.moc"
