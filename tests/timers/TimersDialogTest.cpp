#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "editing/ClientFieldLists.h"
#include "editing/EntryCommands.h"
#include "editing/EntryEditor.h"
#include "notes/FakeAudio.h"
#include "notes/InkControl.h"
#include "notes/InkSurface.h"
#include "notes/NoteCommands.h"
#include "notes/NoteData.h"
#include "notes/NoteTestSupport.h"
#include "notes/VoiceCodec.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "timers/AddTimerDialog.h"
#include "timers/EntryTimer.h"
#include "timers/TimerCommands.h"
#include "timers/TimerKeeper.h"
#include "timers/TimersDialog.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

// The next modal dialog of type T.
template <typename T>
void onNext(std::function<void(T*)> handle) {
    onNextModalOf<T>(std::move(handle));
}

// Types the texts into Add Timer and presses OK.
void fillAddTimer(AddTimerDialog* d, const QString& client, const QString& task,
                  const QString& project = {}, const QString& phase = {}) {
    d->lists()->client()->setEditText(client);
    d->lists()->project()->setEditText(project);
    d->lists()->phase()->setEditText(phase);
    d->lists()->task()->setEditText(task);
    d->accept();
}

void setClock(int hour, int minute, int second = 0) {
    platform::Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(hour, minute, second)));
}

QStringList rowTexts(const QTreeWidget* list, int row) {
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts.append(list->topLevelItem(row)->text(c));
    return texts;
}

}  // namespace

class TimersDialogTest : public test::EnvironmentTest {
    Q_OBJECT

    EntryTimerTable m_table;
    std::unique_ptr<TimerKeeper> m_keeper;
    EntryTimerTable& table() { return m_keeper->table(); }

    // Add Timer in the dialog, answered with these texts.
    void addTimer(TimersDialog& dialog, const QString& client, const QString& task = "Design") {
        onNext<AddTimerDialog>([=](AddTimerDialog* d) { fillAddTimer(d, client, task); });
        QVERIFY(dialog.execute(TimersDialog::AddTimer));
    }

    TimerCommandHost host() {
        return {&m_env->context(), nullptr, m_keeper.get(), [] { return 0u; }, {}};
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_table.clearAll();
        m_keeper =
            std::make_unique<TimerKeeper>(m_table, m_env->filePath(QStringLiteral("timers.dat")));
    }
    void cleanup() {
        m_keeper.reset();
        EnvironmentTest::cleanup();
    }

    void barsOfBothVariants_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("tool bar") << false << QStringList{"Draw",          "Add Timer",    "Pause",
                                                          "Task Complete", "Cancel Timer", "",
                                                          "Note"};
        QTest::newRow("soft keys") << true << QStringList{"Timer", "", "Menu"};
    }
    void barsOfBothVariants() {
        QFETCH(bool, softKeys);
        m_env->settings().setFlag(SoftKeyMenus, softKeys);
        TimersDialog dialog(m_env->context(), *m_keeper);
        QStringList texts;
        for (QAction* a : dialog.bar()->actions())
            texts.append(a->text());
        QTEST(texts, "buttons");
        QCOMPARE(dialog.list()->columnCount(), 6);
        QCOMPARE(dialog.list()->headerItem()->text(0), QStringLiteral("Duration"));
        QCOMPARE(dialog.list()->headerItem()->text(5), QStringLiteral("Task"));
        // Nothing to act on: only Add Timer.
        QVERIFY(dialog.command(TimersDialog::AddTimer)->isEnabled());
        for (int id : {int(TimersDialog::Pause), int(TimersDialog::CompleteTimer),
                       int(TimersDialog::CancelTimer)})
            QVERIFY(!dialog.command(id)->isEnabled());
        QVERIFY(!dialog.note()->isEnabled());

        // The note commands, greyed until there is a timer's note to edit.
        auto* notes = dialog.findChild<QMenu*>(QStringLiteral("noteMenu"));
        QVERIFY(notes);
        auto writingMode = [&] {
            Q_EMIT notes->aboutToShow();
            for (QAction* a : notes->actions())
                if (a->text() == QStringLiteral("Writing Mode"))
                    return a;
            return static_cast<QAction*>(nullptr);
        };
        QVERIFY(writingMode());
        QVERIFY(!writingMode()->isEnabled());
        addTimer(dialog, "Acme");
        QVERIFY(writingMode()->isEnabled());
        writingMode()->trigger();
        QCOMPARE(dialog.note()->view(), InkControl::View::Writing);
    }

    // Four timers leave no slot for Add Timer; cancelling one (after a No
    // that changes nothing) makes room again.
    void fourSlotsDisableAddTimer() {
        TimersDialog dialog(m_env->context(), *m_keeper);
        for (const char* client : {"A", "B", "C", "D"})
            addTimer(dialog, client);
        QCOMPARE(dialog.list()->topLevelItemCount(), 4);
        QVERIFY(!dialog.command(TimersDialog::AddTimer)->isEnabled());
        QVERIFY(!dialog.execute(TimersDialog::AddTimer));
        QCOMPARE(dialog.currentSlot(), 3);

        m_env->ui().queueAnswer(Answer::No);
        QVERIFY(dialog.execute(TimersDialog::CancelTimer));
        QCOMPARE(table().countInUse(), 4);
        m_env->ui().queueAnswer(Answer::Yes);
        dialog.list()->setCurrentItem(dialog.list()->topLevelItem(1));
        QCOMPARE(dialog.currentSlot(), 1);
        QVERIFY(dialog.execute(TimersDialog::CancelTimer));
        QCOMPARE(m_env->ui().shownTexts(),
                 QStringList(2, resourceString(str::CancelTimerQuestion)));
        QCOMPARE(table().countInUse(), 3);
        QVERIFY(!table().slot(1).inUse());
        QCOMPARE(dialog.list()->topLevelItemCount(), 3);
        QCOMPARE(dialog.currentSlot(), 0);
        QVERIFY(dialog.command(TimersDialog::AddTimer)->isEnabled());
        // The free slot is taken first, its row in slot order.
        addTimer(dialog, "E");
        QCOMPARE(dialog.list()->topLevelItem(1)->text(TimersDialog::ClientColumn), "E");
        QCOMPARE(table().slot(1).client, QStringLiteral("E"));
    }

    // A paused timer gains nothing while the clock goes on.
    void pauseStopsTheCount() {
        setClock(10, 0);
        TimersDialog dialog(m_env->context(), *m_keeper);
        addTimer(dialog, "Acme");
        QCOMPARE(rowTexts(dialog.list(), 0),
                 QStringList({"00:00:00", "10:00 AM", "Acme", "", "", "Design"}));
        for (int s = 0; s <= 90; ++s) {
            platform::Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(10, 0)).addSecs(s));
            m_keeper->tick();
        }
        QCOMPARE(dialog.list()->topLevelItem(0)->text(0), "00:01:31");
        QVERIFY(dialog.execute(TimersDialog::Pause));
        QVERIFY(dialog.command(TimersDialog::Pause)->isChecked());
        for (int s = 91; s <= 700; s += 10) {
            platform::Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(10, 0)).addSecs(s));
            m_keeper->tick();
        }
        QCOMPARE(dialog.list()->topLevelItem(0)->text(0), "00:01:31");
        QVERIFY(dialog.execute(TimersDialog::Pause));
        QVERIFY(!dialog.command(TimersDialog::Pause)->isChecked());
        QCOMPARE(table().slot(0).state, EntryTimer::Running);
    }

    // OK in Add Timer adds what the client structure and the phases lack.
    void addTimerWritesTheStructure() {
        TimersDialog dialog(m_env->context(), *m_keeper);
        onNext<AddTimerDialog>(
            [](AddTimerDialog* d) { fillAddTimer(d, "Acme", "Design", "Web", "Build"); });
        QVERIFY(dialog.execute(TimersDialog::AddTimer));
        onNext<AddTimerDialog>([](AddTimerDialog* d) { fillAddTimer(d, "Acme", "Support"); });
        QVERIFY(dialog.execute(TimersDialog::AddTimer));
        ClientStructureStore& s = m_env->store().clientStructure();
        const quint32 acme = findClientId(s.clients, "Acme");
        QVERIFY(acme != NoClientId);
        QCOMPARE(listProjectTasks(s.projects, acme, "Web"), QStringList{"Design"});
        QCOMPARE(listTasks(s.tasks, acme), QStringList{"Support"});
        QCOMPARE(Lists(m_env->store().objectStore()).texts(ListKind::Phase), QStringList{"Build"});
        // A cancelled Add Timer starts nothing.
        onNext<AddTimerDialog>([](AddTimerDialog* d) { d->reject(); });
        QVERIFY(dialog.execute(TimersDialog::AddTimer));
        QCOMPARE(table().countInUse(), 2);
    }

    // A start given in Add Timer counts from then; one still to come is
    // refused, and the dialog stays open.
    void givenStartInAddTimer_data() {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("elapsed");
        QTest::newRow("an hour ago") << QTime(9, 0) << false << 3600;
        QTest::newRow("this minute") << QTime(10, 0) << false << 0;
        QTest::newRow("next minute") << QTime(10, 1) << true << 0;
    }
    void givenStartInAddTimer() {
        QFETCH(QTime, start);
        QFETCH(bool, refused);
        setClock(10, 0);
        TimersDialog dialog(m_env->context(), *m_keeper);
        bool stayedOpen = false;
        onNext<AddTimerDialog>([&](AddTimerDialog* d) {
            QVERIFY(!d->findChild<QTimeEdit*>("startTime")->isEnabled());
            d->findChild<QCheckBox*>("startBox")->setChecked(true);
            d->findChild<QTimeEdit*>("startTime")->setTime(start);
            fillAddTimer(d, "Acme", "Design");
            stayedOpen = d->isVisible();
        });
        QVERIFY(dialog.execute(TimersDialog::AddTimer));
        QCOMPARE(stayedOpen, refused);
        QCOMPARE(m_env->ui().shownTexts().contains(resourceString(str::FutureTimerStart)), refused);
        QCOMPARE(table().slot(0).inUse(), !refused);
        QTEST(table().slot(0).elapsedSeconds, "elapsed");
        if (!refused)
            QCOMPARE(dialog.list()->topLevelItem(0)->text(TimersDialog::StartColumn),
                     QLocale(QLocale::English, QLocale::UnitedStates).toString(start, "h:mm AP"));
    }

    // Each timer keeps its own note when another is shown.
    void notesStayWithTheirTimers() {
        TimersDialog dialog(m_env->context(), *m_keeper);
        addTimer(dialog, "A");
        QTest::keyClicks(dialog.note()->surface(), "first");
        addTimer(dialog, "B");
        QVERIFY(!table().slot(0).note.isEmpty());
        QVERIFY(dialog.note()->noteData().isEmpty());
        QTest::keyClicks(dialog.note()->surface(), "second");
        dialog.list()->setCurrentItem(dialog.list()->topLevelItem(0));
        QCOMPARE(dialog.currentSlot(), 0);
        QCOMPARE(dialog.note()->noteData(), table().slot(0).note);
        QCOMPARE(dialog.note()->note().content().text.toPlainText(), QStringLiteral("first"));
        dialog.accept();
        QCOMPARE(NoteData::fromBytes(table().slot(1).note).content().text.toPlainText(),
                 QStringLiteral("second"));
        // A click beside the rows keeps the shown timer chosen.
        TimersDialog again(m_env->context(), *m_keeper);
        again.list()->clearSelection();
        QCOMPARE(again.list()->selectedItems().size(), 1);
        QCOMPARE(again.currentSlot(), 0);
    }

    void listBesideNoteWhenWide_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("beside");
        QTest::newRow("wide") << QSize(640, 360) << true;
        QTest::newRow("tall") << QSize(360, 640) << false;
        QTest::newRow("square") << QSize(500, 500) << false;
        QTest::newRow("one wider") << QSize(501, 500) << true;
    }
    void listBesideNoteWhenWide() {
        QFETCH(QSize, size);
        TimersDialog dialog(m_env->context(), *m_keeper);
        dialog.show();
        dialog.resize(size);
        QTRY_COMPARE(dialog.size(), size);
        QTEST(dialog.sideBySide(), "beside");
        const QWidget* list = dialog.list();
        const QWidget* note = dialog.note();
        if (dialog.sideBySide())
            QTRY_VERIFY(list->geometry().right() < note->geometry().left());
        else
            QTRY_VERIFY(list->geometry().bottom() < note->geometry().top());
    }

    // Beside the note the list is as wide as its columns need: no name is
    // cut, and the note keeps a useful width.
    void longNamesAreNotCut() {
        TimerStart start;
        start.client = QStringLiteral("Northwind Traders");
        start.project = QStringLiteral("Relaunch");
        start.phase = QStringLiteral("Configuration");
        start.task = QStringLiteral("Review");
        QVERIFY(table().start(start, std::nullopt, platform::Clock::now()) >= 0);
        TimersDialog dialog(m_env->context(), *m_keeper);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.sideBySide());
        const QTreeWidget* list = dialog.list();
        const QAbstractItemView* view = list;  // where the texts' width is public
        for (int c = 0; c < list->columnCount(); ++c)
            QTRY_VERIFY2(list->columnWidth(c) >= view->sizeHintForColumn(c),
                         qPrintable(list->headerItem()->text(c)));
        QVERIFY(dialog.note()->width() >= 250);
    }

    // Complete Timer hands the slot to the entry editor; cancelling the
    // editor puts the timer back, paused, with its time and note, and it
    // can be completed again.
    void cancelledEditorKeepsTheTimer() {
        setClock(9, 15);
        TimersDialog dialog(m_env->context(), *m_keeper);
        addTimer(dialog, "Acme");
        table().slot(0).elapsedSeconds = 5400;
        QTest::keyClicks(dialog.note()->surface(), "call notes");
        QVERIFY(dialog.execute(TimersDialog::CompleteTimer));
        QCOMPARE(dialog.completedSlot(), 0);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(table().slot(0).state, EntryTimer::Completed);
        const QByteArray note = table().slot(0).note;
        QVERIFY(!note.isEmpty());

        onNext<EntryEditor>([](EntryEditor* editor) { editor->reject(); });
        QVERIFY(!timercommands::completeTimer(m_env->context(), nullptr, *m_keeper, 0));
        QCOMPARE(table().slot(0).state, EntryTimer::Paused);
        QCOMPARE(table().slot(0).elapsedSeconds, 5400);
        QCOMPARE(table().slot(0).note, note);
        QCOMPARE(table().slot(0).client, QStringLiteral("Acme"));
        QCOMPARE(TimerKeeper::load(m_keeper->path())->table.slot(0).state, EntryTimer::Paused);

        // Again, through the dialog, and saved this time.
        setClock(11, 0);
        onNext<TimersDialog>([](TimersDialog* d) {
            QVERIFY(d->command(TimersDialog::Pause)->isChecked());
            QVERIFY(d->execute(TimersDialog::CompleteTimer));
        });
        quint32 saved = 0;
        auto waitEditor = [&] {
            onNext<EntryEditor>([&](EntryEditor* editor) {
                QCOMPARE(editor->windowTitle(), QStringLiteral("New Time Entry"));
                editor->accept();
            });
        };
        waitEditor();
        const std::optional<quint32> id = timercommands::openTimers(host(), nullptr, false);
        QVERIFY(id);
        saved = *id;
        QVERIFY(!table().anyInUse());
        QVERIFY(!QFile::exists(m_keeper->path()));
        const TimeEntry entry =
            entrycommands::readStoredEntry(m_env->store(), saved).value_or(TimeEntry());
        QCOMPARE(entry.client, QStringLiteral("Acme"));
        QCOMPARE(entry.duration, 150);
        QCOMPARE(entry.note, note);
        QCOMPARE(entry.date, at(2026, 12, 7, 9, 15, 1));
    }

    // A clip recorded in a timer's note goes into timers.dat with the note
    // and into the entry the timer becomes, the very bytes the coder made
    // of the sound; also when Complete Timer ends the recording itself.
    void recordedClipReachesTheEntry_data() {
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("stopped, then completed") << true;
        QTest::newRow("completed while recording") << false;
    }
    void recordedClipReachesTheEntry() {
        QFETCH(bool, stopFirst);
        setClock(9, 15);
        test::FakeAudioDevices devices;
        TimersDialog dialog(m_env->context(), *m_keeper);
        dialog.note()->setAudioDevices(devices);
        addTimer(dialog, "Acme");
        table().slot(0).elapsedSeconds = 1800;
        QTest::keyClicks(dialog.note()->surface(), "agreed: ");
        QVERIFY(dialog.note()->execute(NoteCommand::Record));
        QVERIFY(devices.recording);
        const QList<qint16> sound = test::tone(1.5);
        for (qsizetype at = 0; at < sound.size(); at += 1600)
            devices.recording->push(sound.mid(at, 1600));
        if (stopFirst)
            QVERIFY(dialog.note()->execute(NoteCommand::StopVoice));
        VoiceEncoder encoder;
        encoder.push(sound);
        const NoteClip made = encoder.finish();

        QVERIFY(dialog.execute(TimersDialog::CompleteTimer));
        QVERIFY(!devices.recording);
        const QByteArray note = table().slot(0).note;
        QCOMPARE(NoteData::fromBytes(note).content().clips, QList<NoteClip>{made});
        QCOMPARE(TimerKeeper::load(m_keeper->path())->table.slot(0).note, note);

        onNext<EntryEditor>([](EntryEditor* editor) { editor->accept(); });
        const std::optional<quint32> id =
            timercommands::completeTimer(m_env->context(), nullptr, *m_keeper, 0);
        QVERIFY(id);
        const TimeEntry entry =
            entrycommands::readStoredEntry(m_env->store(), *id).value_or(TimeEntry());
        QCOMPARE(entry.note, note);
        const NoteContent stored = NoteData::fromBytes(entry.note).content();
        QCOMPARE(stored.clips, QList<NoteClip>{made});
        QCOMPARE(stored.toPlainText(), QStringLiteral("agreed: [voice note 0:02]"));
    }

    // A note over 65,000 bytes is warned about and goes on to the editor.
    void largeNoteWarned_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("warned");
        QTest::newRow("65000") << 65000 << false;
        QTest::newRow("65001") << 65001 << true;
    }
    void largeNoteWarned() {
        QFETCH(int, size);
        table().start({"Acme", {}, {}, "Design", {}}, std::nullopt, platform::Clock::now());
        table().slot(0).note = QByteArray(size, 'x');
        bool editorOpened = false;
        onNext<EntryEditor>([&](EntryEditor* editor) {
            editorOpened = true;
            editor->reject();
        });
        timercommands::completeTimer(m_env->context(), nullptr, *m_keeper, 0);
        QVERIFY(editorOpened);
        QTEST(m_env->ui().shownTexts().contains(resourceString(str::TimerNoteTooLarge)), "warned");
    }

    // Create New Timer on a paid entry: Add Timer opens at once with the
    // entry's texts; the template is billable, and the entry the timer
    // becomes takes the new-entry status again.
    void createNewTimerFromPaidEntry() {
        TimeEntry paid;
        paid.client = "Acme";
        paid.project = "Web";
        paid.task = "Design";
        paid.status = EntryStatus::Paid;
        paid.billTo = "Jane";
        paid.date = at(2026, 12, 1, 0);
        QCOMPARE(TimeEntries(m_env->store()).add(paid), WriteResult::Written);
        m_env->settings().setFlag(NewEntriesBillable, false);

        onNext<TimersDialog>([&](TimersDialog* d) {
            onNext<AddTimerDialog>([](AddTimerDialog* add) {
                QCOMPARE(add->lists()->client()->currentText(), QStringLiteral("Acme"));
                QCOMPARE(add->lists()->project()->currentText(), QStringLiteral("Web"));
                QCOMPARE(add->lists()->task()->currentText(), QStringLiteral("Design"));
                add->accept();
            });
            QTRY_VERIFY(table().slot(0).inUse());
            QVERIFY(table().slot(0).templateEntry);
            QCOMPARE(table().slot(0).templateEntry->status, EntryStatus::Billable);
            QCOMPARE(d->list()->topLevelItemCount(), 1);
            table().slot(0).elapsedSeconds = 3600;
            onNext<EntryEditor>([](EntryEditor* editor) { editor->accept(); });
            QVERIFY(d->execute(TimersDialog::CompleteTimer));
        });
        const std::optional<quint32> id = timercommands::createTimerFrom(host(), paid.recordId);
        QVERIFY(id);
        const TimeEntry entry =
            entrycommands::readStoredEntry(m_env->store(), *id).value_or(TimeEntry());
        QCOMPARE(entry.status, EntryStatus::NonBillable);
        QCOMPARE(entry.billTo, QStringLiteral("Jane"));
        QCOMPARE(entry.duration, 100);
        QCOMPARE(TimeEntries(m_env->store()).find(paid.recordId)->status, EntryStatus::Paid);
    }
};

TEMPOLATCH_TEST(TimersDialogTest);
#include "TimersDialogTest.moc"
