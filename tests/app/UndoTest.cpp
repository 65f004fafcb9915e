#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

#include "app/MainFrame.h"
#include "app/MenuBar.h"
#include "clients/ReplaceTextDialog.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "editing/EntryEditor.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "store/TimeEntries.h"
#include "views/EntryListWidget.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"
#include "widgets/Mnemonics.h"

using namespace tempolatch;

namespace {

// Every record of the store, ids and all: what undo must give back exactly.
QString storeText(RecordStore& store) {
    QString text;
    QTextStream out(&text);
    dumpStore(*store.objectStore(), out);
    return text;
}

// The time entries' part of it. The editor also adds the names and list
// values an entry brings (its currency...), which undoing the entry keeps.
QString entriesText(RecordStore& store) {
    const QString all = storeText(store);
    const qsizetype from = all.indexOf(QStringLiteral("database \"Tempolatch Data 1\""));
    const qsizetype to = all.indexOf(QStringLiteral("\ndatabase "), from);
    return all.mid(from, to < 0 ? -1 : to - from);
}

// What a command needs answered or filled in while it runs.
enum class Drive { Nothing, AnswerYes, CopyRestOfWeek, EditDuration, NewEntry, Replace };

}  // namespace

// Each command that changes entries leaves a step that Ctrl+Z takes back
// and Ctrl+Shift+Z brings again, named in the Edit menu; the store is then
// exactly as it was, record ids included.
class UndoTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<MainFrame> m_frame;
    QList<quint32> m_ids;

    void addEntries() {
        ClientStructure structure(m_env->store());
        for (const char* name : {"Acme", "Beta"}) {
            Client client;
            client.name = QString::fromLatin1(name);
            QCOMPARE(structure.addClient(client), WriteResult::Written);
            QVERIFY(succeeded(structure.tasks().add(client.clientId, QStringLiteral("Work"))));
        }
        for (int day = 7; day <= 9; ++day) {
            TimeEntry e;
            e.date = test::at(2026, 12, day, 9);
            e.duration = 150;
            e.status = EntryStatus::Billable;
            e.client = QStringLiteral("Acme");
            e.task = QStringLiteral("Work");
            QCOMPARE(TimeEntries(m_env->store()).add(e), WriteResult::Written);
            m_ids.append(e.recordId);
        }
    }

    MainFrame& openFrame() {
        platform::Registry& reg = m_env->registry();
        const QString key = QString::fromLatin1(platform::Registry::AppKey);
        reg.createKey(key);
        reg.writeNumber(key, QStringLiteral("tlVersion"), Settings::CurrentVersion);
        reg.writeNumber(key, QStringLiteral("View"), 2);  // the week
        m_frame = std::make_unique<MainFrame>(m_env->context());
        [&] { QVERIFY(m_frame->create()); }();
        m_frame->show();
        m_frame->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(m_frame.get())); }();
        return *m_frame;
    }

    void select(MainFrame& frame, int count) {
        frame.periodView()->reload(1, m_ids[0]);
        if (count > 1) {
            auto* list = dynamic_cast<QWidget*>(frame.entryList());
            list->setFocus();
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        }
        QCOMPARE(frame.entryList()->selectedRecordIds().size(), count);
    }

    void drive(Drive how) {
        switch (how) {
            case Drive::Nothing:
                break;
            case Drive::AnswerYes:
                m_env->ui().queueAnswer(platform::Answer::Yes);
                break;
            case Drive::CopyRestOfWeek:
                test::onNextModal([](QDialog* dialog) {
                    dialog->findChild<QRadioButton*>(QStringLiteral("restOfWeek"))->click();
                    dialog->accept();
                });
                break;
            case Drive::EditDuration:
            case Drive::NewEntry:
                test::onNextModalOf<EntryEditor>([how](EntryEditor* editor) {
                    if (how == Drive::NewEntry) {
                        editor->findChild<QComboBox*>(QStringLiteral("client"))
                            ->setEditText(QStringLiteral("Beta"));
                        editor->findChild<QComboBox*>(QStringLiteral("task"))
                            ->setEditText(QStringLiteral("Work"));
                    }
                    editor->findChild<QComboBox*>(QStringLiteral("duration"))
                        ->setEditText(QStringLiteral("3.25"));
                    editor->accept();
                });
                break;
            case Drive::Replace:
                m_env->ui().queueAnswer(platform::Answer::Yes);
                test::onNextModalOf<ReplaceTextDialog>([](ReplaceTextDialog* dialog) {
                    auto* find = dialog->findChild<QComboBox*>(QStringLiteral("find"));
                    find->setCurrentIndex(find->findText(QStringLiteral("Acme")));
                    // Beta exists: the two clients merge, and Acme's record goes.
                    dialog->findChild<QLineEdit*>(QStringLiteral("replaceWith"))
                        ->setText(QStringLiteral("Beta"));
                    dialog->accept();
                });
                break;
        }
    }

    QString undoItem(MainFrame& frame) {
        frame.preparePopup(cmd::EditButton);
        return mnemonics::plain(frame.commandBar()->command(cmd::Undo)->text());
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_ids.clear();
        QVERIFY(m_env->store().openAll());
        addEntries();
    }
    void cleanup() {
        m_frame.reset();
        EnvironmentTest::cleanup();
    }

    void undoAndRedoEachCommand_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("drive");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("delete one")
            << int(cmd::Delete) << 1 << int(Drive::AnswerYes) << "Undo Delete Entry";
        QTest::newRow("delete three")
            << int(cmd::Delete) << 3 << int(Drive::AnswerYes) << "Undo Delete 3 Entries";
        QTest::newRow("mark three paid")
            << int(cmd::MarkAsPaid) << 3 << int(Drive::Nothing) << "Undo Mark 3 Entries Paid";
        QTest::newRow("mark one billed")
            << int(cmd::MarkAsBilled) << 1 << int(Drive::Nothing) << "Undo Mark Entry Billed";
        QTest::newRow("copy three")
            << int(cmd::Copy) << 3 << int(Drive::CopyRestOfWeek) << "Undo Copy";
        QTest::newRow("edit") << int(cmd::Edit) << 1 << int(Drive::EditDuration)
                              << "Undo Edit Entry";
        QTest::newRow("new") << int(cmd::New) << 1 << int(Drive::NewEntry) << "Undo Edit Entry";
        QTest::newRow("replace, merging clients")
            << int(cmd::ReplaceFieldText) << 1 << int(Drive::Replace) << "Undo Replace Field Text";
    }
    void undoAndRedoEachCommand() {
        QFETCH(int, command);
        QFETCH(int, selected);
        QFETCH(int, drive);
        QFETCH(QString, undoText);
        const bool editor = Drive(drive) == Drive::EditDuration || Drive(drive) == Drive::NewEntry;
        const auto storeText = [&](RecordStore& store) {
            return editor ? entriesText(store) : ::storeText(store);
        };
        MainFrame& frame = openFrame();
        select(frame, selected);
        QCOMPARE(undoItem(frame), QStringLiteral("Undo"));
        QVERIFY(!frame.commandBar()->command(cmd::Undo)->isEnabled());

        const QString before = storeText(m_env->store());
        this->drive(Drive(drive));
        QVERIFY(frame.onCommand(command));
        QVERIFY(!QApplication::activeModalWidget());
        // The offscreen platform gives no window back the focus a dialog had.
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        const QString after = storeText(m_env->store());
        QVERIFY(after != before);
        QCOMPARE(undoItem(frame), undoText);

        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(storeText(m_env->store()), before);
        QCOMPARE(undoItem(frame), QStringLiteral("Undo"));
        QCOMPARE(mnemonics::plain(frame.commandBar()->command(cmd::Redo)->text()),
                 QStringLiteral("Redo ") + undoText.mid(5));
        // The list shows the store as it is again.
        QCOMPARE(frame.entryList()->recordIds().size(), m_ids.size());

        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(storeText(m_env->store()), after);
        QCOMPARE(undoItem(frame), undoText);
        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(storeText(m_env->store()), before);
        QTest::keyClick(&frame, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(storeText(m_env->store()), after);
        QVERIFY(m_env->ui().shownTexts().filter(QStringLiteral("not possible")).isEmpty());
    }

    // Another program changed a marked entry: undoing the marking would
    // overwrite that, so it says so and changes nothing at all.
    void undoOfRecordsChangedMeanwhileChangesNothing() {
        MainFrame& frame = openFrame();
        select(frame, 3);
        QVERIFY(frame.onCommand(cmd::MarkAsPaid));
        TimeEntries entries(m_env->store());
        TimeEntry changed = *entries.find(m_ids[1]);
        changed.custom1 = QStringLiteral("written elsewhere");
        QCOMPARE(entries.update(changed), WriteResult::Written);
        const QString before = storeText(m_env->store());

        QVERIFY(frame.onCommand(cmd::Undo));
        QCOMPARE(storeText(m_env->store()), before);
        QCOMPARE(m_env->ui().shown().size(), 1);
        QVERIFY(m_env->ui().shownTexts().first().startsWith(
            QStringLiteral("Undo Mark 3 Entries Paid is not possible")));
        // The step could never be taken: it is gone, the next one is offered.
        QCOMPARE(undoItem(frame), QStringLiteral("Undo"));
    }

    // Steps undo newest first, and a new command forgets what was undone.
    void stepsUndoInTurnAndANewCommandEndsRedo() {
        MainFrame& frame = openFrame();
        const QString start = storeText(m_env->store());
        select(frame, 1);
        QVERIFY(frame.onCommand(cmd::MarkAsBilled));
        const QString billed = storeText(m_env->store());
        select(frame, 3);
        QVERIFY(frame.onCommand(cmd::MarkAsPaid));
        QVERIFY(frame.onCommand(cmd::Undo));
        QCOMPARE(storeText(m_env->store()), billed);
        QCOMPARE(undoItem(frame), QStringLiteral("Undo Mark Entry Billed"));
        QVERIFY(frame.onCommand(cmd::Undo));
        QCOMPARE(storeText(m_env->store()), start);
        QVERIFY(frame.commandBar()->command(cmd::Redo)->isEnabled());
        select(frame, 1);
        m_env->ui().queueAnswer(platform::Answer::Yes);
        QVERIFY(frame.onCommand(cmd::Delete));
        QCOMPARE(mnemonics::plain(frame.commandBar()->command(cmd::Redo)->text()),
                 QStringLiteral("Redo"));
        QVERIFY(!frame.commandBar()->command(cmd::Redo)->isEnabled());
    }

    // The session keeps well over twenty steps.
    void twentyStepsComeBack() {
        MainFrame& frame = openFrame();
        const QString start = storeText(m_env->store());
        select(frame, 1);
        for (int i = 0; i < 25; ++i)
            QVERIFY(frame.onCommand(i % 2 ? cmd::MarkAsPaid : cmd::MarkAsBilled));
        for (int i = 0; i < 25; ++i)
            QVERIFY(frame.onCommand(cmd::Undo));
        QCOMPARE(storeText(m_env->store()), start);
        QCOMPARE(m_env->ui().notices().last(), QStringLiteral("Undo Mark Entry Billed: done."));
    }

    // Help lists the keys of the command table, and the menus show them.
    void keysAreListedAndShown() {
        MainFrame& frame = openFrame();
        QCOMPARE(frame.commandBar()->command(cmd::Undo)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(frame.commandBar()->command(cmd::HelpContents)->shortcut(),
                 QKeySequence(Qt::Key_F1));
        QStringList listed;
        test::onNextModal([&](QDialog* dialog) {
            auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("keys"));
            for (int row = 0; row < table->rowCount(); ++row)
                listed.append(table->item(row, 0)->text() + QLatin1Char('=') +
                              table->item(row, 1)->text());
            dialog->accept();
        });
        QVERIFY(frame.onCommand(cmd::KeyboardShortcuts));
        QVERIFY(listed.contains(QStringLiteral("Ctrl+Z=Undo")));
        QVERIFY(listed.contains(QStringLiteral("Ctrl+Shift+Z, Ctrl+Y=Redo")));
        QVERIFY(listed.contains(QStringLiteral("Del=Delete the selected entries (asks first)")));
        QVERIFY(listed.contains(QStringLiteral("F1=Help")));
    }
};

TEMPOLATCH_TEST(UndoTest);
#include "UndoTest.moc"
