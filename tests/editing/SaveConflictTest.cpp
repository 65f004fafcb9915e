#include <QComboBox>
#include <QTest>

#include "common/BackendTest.h"
#include "common/ModalDialog.h"
#include "common/ProgramRun.h"
#include "common/TestRegistry.h"
#include "editing/EntryEditor.h"
#include "editing/EntrySaver.h"
#include "expenses/ExpenseActions.h"
#include "store/Expenses.h"
#include "store/StoreFailure.h"
#include "store/TimeEntries.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

QComboBox* box(QWidget* editor, const char* name) {
    return editor->findChild<QComboBox*>(QString::fromLatin1(name));
}

TimeEntry sampleEntry() {
    TimeEntry entry;
    entry.client = QStringLiteral("Acme");
    entry.task = QStringLiteral("Design");
    entry.duration = 100;
    entry.date = platform::FileTime{134093664000000000};
    return entry;
}

}  // namespace

// Someone else (another window, another user of a shared store, another
// program) changes a record while it is open in an editor: saving never
// overwrites that change unasked.
class SaveConflictTest : public BackendTest {
    Q_OBJECT

    quint32 addStored(TimeEntry entry) {
        TimeEntries(m_env->store()).add(entry);
        return entry.recordId;
    }
    TimeEntry stored(quint32 id) {
        return TimeEntries(m_env->store()).find(id).value_or(TimeEntry());
    }
    // A write through a connection of its own, as another user's.
    static WriteResult changeElsewhere(quint32 id, const QString& task) {
        RecordStore other;
        if (!other.openAll())
            return WriteResult::Refused;
        TimeEntries entries(other);
        std::optional<TimeEntry> entry = entries.find(id);
        if (!entry)
            return WriteResult::NotFound;
        entry->task = task;
        return entries.update(*entry);
    }

private Q_SLOTS:
    // Cancel keeps the editor open with what was typed and the other's
    // change in the store; Overwrite then saves the typed entry over it.
    void keepEditingThenOverwrite() {
        const quint32 id = addStored(sampleEntry());
        const TimeEntry opened = stored(id);
        EntryEditor editor(m_env->context(), &opened, false, EntryEditor::GeneralPage);
        box(&editor, "duration")->setEditText(QStringLiteral("2.5"));
        QCOMPARE(changeElsewhere(id, QStringLiteral("Review")), WriteResult::Written);

        m_env->ui().queueChoice(-1);
        editor.accept();
        QVERIFY(!editor.saved());
        QCOMPARE(m_env->ui().offeredChoices(),
                 (QStringList{QStringLiteral("&Reload"), QStringLiteral("&Overwrite")}));
        QCOMPARE(stored(id).task, QStringLiteral("Review"));
        QCOMPARE(stored(id).duration, 100);
        QCOMPARE(box(&editor, "duration")->currentText(), QStringLiteral("2.5"));

        m_env->ui().queueChoice(1);
        editor.accept();
        QVERIFY(editor.saved());
        QCOMPARE(stored(id).task, QStringLiteral("Design"));
        QCOMPARE(stored(id).duration, 250);
        QCOMPARE(m_env->ui().shownTexts().size(), 2);  // the two questions, no error
    }

    // Reload opens the editor again on the entry as the other stored it;
    // nothing of the dropped edit is written.
    void reloadShowsTheStoredEntry() {
        const quint32 id = addStored(sampleEntry());
        QString reopenedTask;
        QString reopenedDuration;
        onNextModalOf<EntryEditor>([&](EntryEditor* editor) {
            box(editor, "duration")->setEditText(QStringLiteral("7"));
            QCOMPARE(changeElsewhere(id, QStringLiteral("Review")), WriteResult::Written);
            m_env->ui().queueChoice(0);
            onNextModalOf<EntryEditor>([&](EntryEditor* again) {
                reopenedTask = box(again, "task")->currentText();
                reopenedDuration = box(again, "duration")->currentText();
                again->reject();
            });
            editor->accept();
        });
        const TimeEntry opened = stored(id);
        QVERIFY(!EntryEditor::edit(m_env->context(), nullptr, &opened, false,
                                   EntryEditor::GeneralPage));
        QCOMPARE(reopenedTask, QStringLiteral("Review"));
        QCOMPARE(reopenedDuration, QStringLiteral("1.00"));
        QCOMPARE(stored(id).duration, 100);
    }

    // The check itself, for entries and expenses: a record unchanged since
    // it was read is saved, a changed one is not, one deleted meanwhile is
    // written anew (nothing of the user's is lost).
    void savedOnlyWhenUnchangedSinceRead() {
        const quint32 id = addStored(sampleEntry());
        EntrySaver saver(m_env->store());
        const TimeEntry asRead = stored(id);
        TimeEntry edited = asRead;
        edited.duration = 300;
        QCOMPARE(saver.save(edited, asRead), WriteResult::Written);
        // asRead is stale now: this window's own save changed the record.
        TimeEntry again = asRead;
        QCOMPARE(saver.save(again, asRead), WriteResult::Refused);
        QCOMPARE(saver.error(), ErrorChangedElsewhere);
        QCOMPARE(stored(id).duration, 300);

        const TimeEntry current = stored(id);
        QCOMPARE(TimeEntries(m_env->store()).remove(id), WriteResult::Written);
        TimeEntry orphan = current;
        QCOMPARE(saver.save(orphan, current), WriteResult::Written);
        QVERIFY(orphan.recordId != id);
        QCOMPARE(stored(orphan.recordId).duration, 300);

        ExpenseEntry expense = expenseactions::fresh(ExpenseType::General, QStringLiteral("$"));
        expense.client = QStringLiteral("Acme");
        expense.amount = 1000;
        ExpenseSaver expenses(m_env->store());
        QCOMPARE(expenses.save(expense), WriteResult::Written);
        const std::optional<ExpenseEntry> expenseRead =
            expenseactions::read(m_env->store(), expense.recordId);
        QVERIFY(expenseRead);
        ExpenseEntry other = *expenseRead;
        other.amount = 2000;
        QCOMPARE(Expenses(m_env->store()).update(other), WriteResult::Written);
        ExpenseEntry mine = *expenseRead;
        mine.amount = 3000;
        QCOMPARE(expenses.save(mine, expenseRead), WriteResult::Refused);
        QCOMPARE(expenses.error(), ErrorChangedElsewhere);
        QCOMPARE(expenseactions::read(m_env->store(), expense.recordId)->amount, 2000);
        QCOMPARE(expenses.save(mine), WriteResult::Written);
        QCOMPARE(expenseactions::read(m_env->store(), expense.recordId)->amount, 3000);
    }

    // The other writer is another process: the program's own replace-text
    // command, run while the entry is open in the editor.
    void anotherProcessChangesTheEntry() {
        const quint32 id = addStored(sampleEntry());
        const TimeEntry opened = stored(id);
        EntryEditor editor(m_env->context(), &opened, false, EntryEditor::GeneralPage);
        QStringList args{QStringLiteral("replace-text"), QStringLiteral("task"),
                         QStringLiteral("Design"), QStringLiteral("Drafting")};
        if (onServer())
            args = QStringList{QStringLiteral("--store"), storeAddress()} + args;
        Program other(m_env->folder(), args);
        QVERIFY(other.finish());
        QCOMPARE(other.exitCode(), 0);
        m_env->ui().queueChoice(-1);
        editor.accept();
        QVERIFY(!editor.saved());
        QCOMPARE(stored(id).task, QStringLiteral("Drafting"));
    }
};

TEMPOLATCH_TEST(SaveConflictTest);
#include "SaveConflictTest.moc"
