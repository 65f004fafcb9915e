#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "records/EntryFilter.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/StoreWatcher.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "timers/EntryTimer.h"
#include "views/CustomPeriodDialog.h"
#include "views/CustomizeDefaultView.h"
#include "views/DefaultEntryList.h"
#include "views/FilterSheet.h"
#include "views/NavigationBar.h"
#include "views/PeriodView.h"
#include "views/SearchBox.h"
#include "views/SimpleEntryList.h"
#include "views/TreeEntryList.h"
#include "views/ViewIds.h"
#include "widgets/CommandIds.h"
#include "widgets/EntryContextMenu.h"

Q_DECLARE_METATYPE(tempolatch::platform::SystemTime)

using namespace tempolatch;
using platform::SystemTime;

namespace {

const QString kKey = QString::fromLatin1(platform::Registry::AppKey);

using test::at;
using test::day;

void storeSettings(quint32 view, quint32 listStyle) {
    platform::Registry& reg = test::TestEnvironment::current().registry();
    reg.createKey(kKey);
    reg.writeNumber(kKey, QStringLiteral("tlVersion"), Settings::CurrentVersion);
    reg.writeNumber(kKey, QStringLiteral("DefNewStyles"), 0);
    reg.writeNumber(kKey, QStringLiteral("View"), view);
    reg.writeNumber(kKey, QStringLiteral("ListStyle"), listStyle);
}

}  // namespace

class MainFrameViewsTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<MainFrame> m_frame;
    QList<quint32> m_ids;

    // Entries of the week of 2026-12-07: Billable Acme, Non Billable Zeta,
    // Paid Acme, Billed Beta; and one a month earlier.
    void addEntries() {
        QVERIFY(m_env->store().openAll());
        struct Sample {
            platform::FileTime when;
            EntryStatus status;
            const char* client;
        };
        const Sample samples[] = {
            {at(2026, 12, 7, 9), EntryStatus::Billable, "Acme"},
            {at(2026, 12, 8, 9), EntryStatus::NonBillable, "Zeta"},
            {at(2026, 12, 6, 9), EntryStatus::Paid, "Acme"},
            {at(2026, 12, 12, 9), EntryStatus::Billed, "Beta"},
            {at(2026, 11, 2, 9), EntryStatus::Billable, "Acme"},
        };
        for (const Sample& sample : samples) {
            TimeEntry e;
            e.date = sample.when;
            e.status = sample.status;
            e.client = QString::fromLatin1(sample.client);
            e.task = QStringLiteral("Work");
            QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
            m_ids.append(e.recordId);
        }
    }

    MainFrame& createFrame(quint32 view = 2, quint32 listStyle = 1) {
        storeSettings(view, listStyle);
        m_frame = std::make_unique<MainFrame>(m_env->context());
        if (!m_frame->create())
            qWarning("the main window could not be created");
        return *m_frame;
    }

    QList<quint32> shown() const { return m_frame->entryList()->recordIds(); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_ids.clear();
        addEntries();
    }
    void cleanup() {
        m_frame.reset();
        EnvironmentTest::cleanup();
    }

    void startsWithTheStoredStyleAndPeriod() {
        MainFrame& frame = createFrame(3, 2);
        QVERIFY(dynamic_cast<TreeEntryList*>(frame.entryList()));
        QCOMPARE(frame.periodView()->type(), int(PeriodView::Month));
        QCOMPARE(frame.navigationBar()->titleText(), QStringLiteral("December 2026"));
        QCOMPARE(shown().size(), 4);
        QVERIFY(frame.viewArea()->isAncestorOf(frame.entryList()->widget()));
    }

    void unknownStoredValuesFallBack() {
        MainFrame& frame = createFrame(9, 7);
        QVERIFY(dynamic_cast<DefaultEntryList*>(frame.entryList()));
        QCOMPARE(frame.periodView()->type(), int(PeriodView::Week));
        QCOMPARE(m_env->settings().view, 2u);
        QCOMPARE(m_env->settings().listStyle, 0u);
    }

    // Each type shows the period holding the previous one's start.
    void periodTypesKeepThePeriod() {
        MainFrame& frame = createFrame();
        QCOMPARE(frame.periodView()->start(), day(2026, 12, 6));
        QCOMPARE(shown(), (QList<quint32>{m_ids[2], m_ids[0], m_ids[1], m_ids[3]}));
        frame.onCommand(cmd::PeriodMonth);
        QCOMPARE(frame.periodView()->start(), day(2026, 12, 1));
        QCOMPARE(m_env->settings().view, 3u);
        frame.navigationBar()->runCommand(112);  // next month
        frame.onCommand(cmd::PeriodDay);
        QCOMPARE(frame.periodView()->start(), day(2027, 1, 1));
        QVERIFY(shown().isEmpty());
        frame.onCommand(cmd::PeriodWeek);
        QCOMPARE(frame.periodView()->start(), day(2026, 12, 27));
        QVERIFY(!QApplication::overrideCursor());
    }

    // A week view made anew after the week start changed keeps the day it
    // showed: today when it was in the week, else the week's middle day.
    void weekStartChangeKeepsTheShownDay_data() {
        QTest::addColumn<int>("weeksAhead");
        QTest::addColumn<SystemTime>("mondayAfter");
        QTest::newRow("this week") << 0 << day(2026, 12, 7);
        QTest::newRow("next week") << 1 << day(2026, 12, 14);
    }
    void weekStartChangeKeepsTheShownDay() {
        QFETCH(int, weeksAhead);
        QFETCH(SystemTime, mondayAfter);
        MainFrame& frame = createFrame();
        for (int i = 0; i < weeksAhead; ++i)
            frame.navigationBar()->runCommand(112);  // next week
        m_env->settings().setFlag(WeekStartsMonday, true);
        frame.onCommand(cmd::ListStyleSimple);
        QCOMPARE(frame.periodView()->start(), mondayAfter);
    }

    void listStylesKeepPeriodAndSelection() {
        MainFrame& frame = createFrame(2, 0);
        frame.periodView()->reload(1, m_ids[1]);
        frame.onCommand(cmd::ListStyleSimple);
        QVERIFY(dynamic_cast<SimpleEntryList*>(frame.entryList()));
        QCOMPARE(m_env->settings().listStyle, 1u);
        QCOMPARE(frame.periodView()->start(), day(2026, 12, 6));
        QCOMPARE(shown().size(), 4);
        frame.periodView()->reload(1, m_ids[3]);
        frame.onCommand(cmd::ListStyleTree);
        QVERIFY(dynamic_cast<TreeEntryList*>(frame.entryList()));
        QCOMPARE(frame.findChildren<NavigationBar*>().size(), 1);
        QCOMPARE(frame.viewArea()
                     ->findChildren<QAbstractItemView*>(QString(), Qt::FindDirectChildrenOnly)
                     .size(),
                 1);
    }

    void filterCommands() {
        MainFrame& frame = createFrame();
        auto* line = frame.findChild<QLabel*>(QStringLiteral("filterLine"));
        QVERIFY(line && line->isHidden());
        frame.onCommand(cmd::FilterUnpaidOnly);
        QCOMPARE(shown(), (QList<quint32>{m_ids[0], m_ids[3]}));
        // The filter in effect is named above the list, with a way out.
        QVERIFY(!line->isHidden());
        QVERIFY(line->text().contains(QStringLiteral("Billable, Billed only")));
        Q_EMIT line->linkActivated(QStringLiteral("all"));
        QVERIFY(line->isHidden());
        QCOMPARE(shown().size(), 4);
        frame.onCommand(cmd::FilterUnpaidOnly);
        QCOMPARE(m_env->registry().readNumber(kKey, QStringLiteral("fFlags")),
                 std::optional<quint32>(0x21));
        frame.onCommand(cmd::FilterShowAll);
        QCOMPARE(shown().size(), 4);
        QCOMPARE(m_env->registry().readNumber(kKey, QStringLiteral("fFlags")),
                 std::optional<quint32>(0x35));

        test::onNextModal([](QDialog* dialog) {
            auto* client = dialog->findChild<QComboBox*>(QStringLiteral("client"));
            QVERIFY(client);
            // The clients come from the client structure; type one in here.
            client->addItem(QStringLiteral("Acme"), 0u);
            client->setCurrentIndex(client->count() - 1);
            dialog->accept();
        });
        frame.onCommand(cmd::FilterCustom);
        QCOMPARE(shown(), (QList<quint32>{m_ids[2], m_ids[0]}));
        QVERIFY(line->text().startsWith(QStringLiteral("Filter: Acme")));
        QCOMPARE(m_env->registry().readString(kKey, QStringLiteral("fClient"), 256),
                 std::optional<QString>(QStringLiteral("Acme")));

        // A cancelled sheet changes nothing.
        test::onNextModal([](QDialog* dialog) {
            qobject_cast<FilterSheet*>(dialog)->clear();
            dialog->reject();
        });
        frame.onCommand(cmd::FilterCustom);
        QCOMPARE(shown().size(), 2);

        // The next start loads the stored filter.
        m_frame.reset();
        createFrame();
        QCOMPARE(shown().size(), 2);
    }

    void arrangeByReordersTheList() {
        MainFrame& frame = createFrame();
        frame.onCommand(cmd::ArrangeClient);
        QCOMPARE(m_env->settings().sort, quint16(1));
        QCOMPARE(shown(), (QList<quint32>{m_ids[2], m_ids[0], m_ids[3], m_ids[1]}));
        frame.onCommand(cmd::ArrangeDefault);
        QCOMPARE(shown(), (QList<quint32>{m_ids[2], m_ids[0], m_ids[1], m_ids[3]}));
    }

    void customPeriodCommand() {
        MainFrame& frame = createFrame();
        test::onNextModal([](QDialog* dialog) {
            auto* start = dialog->findChild<QDateEdit*>(QStringLiteral("start"));
            auto* end = dialog->findChild<QDateEdit*>(QStringLiteral("end"));
            // Never set: the dialog opens on the view's period.
            QCOMPARE(start->date(), QDate(2026, 12, 6));
            QCOMPARE(end->date(), QDate(2026, 12, 12));
            start->setDate(QDate(2026, 11, 1));
            end->setDate(QDate(2026, 12, 7));
            dialog->accept();
        });
        frame.onCommand(cmd::PeriodCustom);
        QCOMPARE(frame.periodView()->type(), int(PeriodView::Custom));
        QCOMPARE(m_env->settings().view, 4u);
        QCOMPARE(m_env->settings().periodStart, day(2026, 11, 1));
        QCOMPARE(shown(), (QList<quint32>{m_ids[4], m_ids[2], m_ids[0]}));

        // Now set: the dialog opens on the stored period; cancel keeps all.
        test::onNextModal([](QDialog* dialog) {
            QCOMPARE(dialog->findChild<QDateEdit*>(QStringLiteral("start"))->date(),
                     QDate(2026, 11, 1));
            dialog->reject();
        });
        frame.onCommand(cmd::PeriodWeek);
        frame.onCommand(cmd::PeriodCustom);
        QCOMPARE(frame.periodView()->type(), int(PeriodView::Week));
    }

    void customizeTheDefaultList() {
        MainFrame& frame = createFrame(2, 0);
        test::onNextModal([](QDialog* dialog) {
            QVERIFY(qobject_cast<CustomizeDefaultView*>(dialog));
            dialog->findChild<QComboBox*>(QStringLiteral("entryTime"))->setCurrentIndex(2);
            dialog->accept();
        });
        frame.onCommand(cmd::Customize);
        QCOMPARE(m_env->settings().viewCust[0], 2u);
        QCOMPARE(shown().size(), 4);
    }

    void tapsAndContextMenuOfTheLists() {
        MainFrame& frame = createFrame(2, 1);
        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        frame.periodView()->reload(1, m_ids[1]);
        // The tap opens the entry editor on the selected entry; leave it.
        QString opened;
        test::onNextModal([&opened](QDialog* dialog) { opened = dialog->objectName(); });
        Q_EMIT frame.entryList()->events().commandRequested(cmd::EditSelected);
        QTRY_COMPARE(routed.size(), 1);
        QTRY_COMPARE(opened, QStringLiteral("entryEditor"));
        QCOMPARE(routed.at(0).at(0).toInt(), cmd::EditSelected);
        // The context menu is that of the selected entry.
        std::unique_ptr<EntryContextMenu> menu(
            frame.createEntryContextMenu(frame.entryList()->selectedRecordId()));
        QVERIFY(menu);
        QCOMPARE(frame.entryList()->selectedRecordId(), m_ids[1]);
    }

    // The editor's commands: the saved entry is shown and selected.
    void newAndOpenByIdSelectTheSavedEntry() {
        MainFrame& frame = createFrame(2, 1);
        test::onNextModal([](QDialog* editor) {
            editor->findChild<QComboBox*>("client")->setEditText("Fresh");
            editor->findChild<QComboBox*>("task")->setEditText("Task");
            editor->findChild<QComboBox*>("duration")->setEditText("1");
            editor->accept();
        });
        frame.onCommand(cmd::New);
        const quint32 added = frame.entryList()->selectedRecordId();
        QVERIFY(added != 0 && !m_ids.contains(added));
        QVERIFY(shown().contains(added));

        test::onNextModal([this](QDialog* input) {
            input->findChild<QLineEdit*>()->setText(QString::number(m_ids[0], 16));
            test::onNextModal([](QDialog* editor) {
                QCOMPARE(editor->objectName(), QStringLiteral("entryEditor"));
                editor->findChild<QComboBox*>("duration")->setEditText("3");
                editor->accept();
            });
            input->accept();
        });
        frame.onCommand(cmd::OpenEntryById);
        QCOMPARE(frame.entryList()->selectedRecordId(), m_ids[0]);
        const TimeEntry edited = TimeEntries(m_env->store()).find(m_ids[0]).value_or(TimeEntry());
        QCOMPARE(edited.duration, 300);
    }

    // With another week shown, a new entry starts on that week's first day
    // and stays in sight; an entry saved outside the week shown brings the
    // view to its own week, selected.
    void savedEntriesStayInSight() {
        MainFrame& frame = createFrame(2, 1);
        frame.navigationBar()->runCommand(112);  // next week: 13-19 December
        test::onNextModal([](QDialog* editor) {
            editor->findChild<QComboBox*>("client")->setEditText("Fresh");
            editor->findChild<QComboBox*>("task")->setEditText("Later");
            editor->findChild<QComboBox*>("duration")->setEditText("1");
            editor->accept();
        });
        frame.onCommand(cmd::New);
        const quint32 added = frame.entryList()->selectedRecordId();
        QVERIFY(added != 0 && !m_ids.contains(added));
        const TimeEntry fresh = TimeEntries(m_env->store()).find(added).value();
        QCOMPARE(fresh.date, test::at(2026, 12, 13));
        QCOMPARE(frame.periodView()->start(), day(2026, 12, 13));

        test::onNextModal([this](QDialog* input) {
            input->findChild<QLineEdit*>()->setText(QString::number(m_ids[0], 16));
            test::onNextModal([](QDialog* editor) { editor->accept(); });
            input->accept();
        });
        frame.onCommand(cmd::OpenEntryById);
        QCOMPARE(frame.periodView()->start(), day(2026, 12, 6));
        QCOMPARE(frame.entryList()->selectedRecordId(), m_ids[0]);
    }

    // The window's keys, sent to the window as the user types them: the
    // command each one runs, or the period it moves to.
    void keyboardShortcuts_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("listStyle");
        QTest::addColumn<int>("command");   // routed; the period's run the navigation bar
        QTest::addColumn<QDate>("period");  // the week shown after the key
        const QDate week(2026, 12, 6);
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        const int alt = Qt::AltModifier;
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << ctrl << 1 << cmd::New << week;
        QTest::newRow("F2") << int(Qt::Key_F2) << none << 1 << cmd::Edit << week;
        QTest::newRow("Enter, default")
            << int(Qt::Key_Return) << none << 0 << cmd::EditSelected << week;
        QTest::newRow("Enter, simple")
            << int(Qt::Key_Return) << none << 1 << cmd::EditSelected << week;
        QTest::newRow("Enter, tree")
            << int(Qt::Key_Return) << none << 2 << cmd::EditSelected << week;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << none << 1 << cmd::Delete << week;
        QTest::newRow("Ctrl+Shift+F")
            << int(Qt::Key_F) << int(Qt::ControlModifier | Qt::ShiftModifier) << 1
            << cmd::FilterCustom << week;
        QTest::newRow("Ctrl+F, the search box") << int(Qt::Key_F) << ctrl << 1 << 0 << week;
        const int next = cmd::NextPeriod;
        const int previous = cmd::PreviousPeriod;
        QTest::newRow("Ctrl+Right") << int(Qt::Key_Right) << ctrl << 1 << next << week.addDays(7);
        QTest::newRow("Alt+Right") << int(Qt::Key_Right) << alt << 1 << next << week.addDays(7);
        QTest::newRow("Ctrl+Left")
            << int(Qt::Key_Left) << ctrl << 1 << previous << week.addDays(-7);
        QTest::newRow("Alt+Left") << int(Qt::Key_Left) << alt << 1 << previous << week.addDays(-7);
        QTest::newRow("Ctrl+T") << int(Qt::Key_T) << ctrl << 1 << int(cmd::GotoToday) << week;
    }
    void keyboardShortcuts() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, listStyle);
        QFETCH(int, command);
        QFETCH(QDate, period);
        MainFrame& frame = createFrame(2, quint32(listStyle));
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        if (key == Qt::Key_T)  // today comes back from another week
            frame.navigationBar()->runCommand(112);
        frame.periodView()->reload(1, m_ids[0]);
        frame.entryList()->widget()->setFocus();
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && frame.isAncestorOf(focus));

        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        QStringList opened;
        const bool opensDialog = command != 0 && command != cmd::NextPeriod &&
                                 command != cmd::PreviousPeriod && command != cmd::GotoToday;
        if (command == cmd::Delete)
            m_env->ui().queueAnswer(test::Answer::No);
        else if (opensDialog)
            test::onNextModal([&opened](QDialog* dialog) {
                opened << dialog->objectName();
                dialog->reject();
            });
        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (command == 0) {
            // A key of the lines above the list: the focus goes there.
            QTRY_VERIFY(frame.searchBox()->isAncestorOf(QApplication::focusWidget()) ||
                        QApplication::focusWidget() == frame.searchBox());
            QCOMPARE(routed.size(), 0);
        } else {
            QTRY_COMPARE(routed.size(), 1);
            QCOMPARE(routed.first().first().toInt(), command);
        }
        if (command == cmd::Delete) {
            // Asked about the selected entry; No keeps it.
            QCOMPARE(m_env->ui().shownTexts(),
                     QStringList{resourceString(str::DeleteItemQuestion)});
            QVERIFY(TimeEntries(m_env->store()).find(m_ids[0]));
        } else if (opensDialog) {
            QTRY_COMPARE(opened.size(), 1);
        }
        QCOMPARE(frame.periodView()->start(), day(period.year(), period.month(), period.day()));
    }

    // The status line adds up the period shown, and says when it is empty.
    void statusLineShowsThePeriodsTotals() {
        MainFrame& frame = createFrame(2, 1);
        auto* totals = frame.findChild<QLabel*>(QStringLiteral("periodTotals"));
        QVERIFY(totals);
        QVERIFY(totals->text().startsWith(QStringLiteral("0.00 h, 0.00 h billable")));
        frame.navigationBar()->runCommand(112);  // an empty week
        QCOMPARE(totals->text(), QStringLiteral("No entries this week"));
        frame.onCommand(cmd::PeriodMonth);
        QVERIFY(totals->text().startsWith(QStringLiteral("0.00 h")));
    }

    void editNoteAndPreviewOpenTheEditor() {
        MainFrame& frame = createFrame(2, 1);
        frame.periodView()->reload(1, m_ids[1]);
        int page = -1;
        test::onNextModal([&page](QDialog* editor) {
            page = editor->findChild<QTabWidget*>("pages")->currentIndex();
        });
        frame.onCommand(cmd::EditNote);
        QCOMPARE(page, 3);

        // Edit in the summary closes it and opens the editor on the entry.
        QString opened;
        test::onNextModal([&opened](QDialog* summary) {
            QCOMPARE(summary->objectName(), QStringLiteral("entrySummary"));
            test::onNextModal([&opened](QDialog* editor) { opened = editor->objectName(); });
            summary->findChild<QPushButton*>("editButton")->click();
        });
        frame.onCommand(cmd::Preview);
        QTRY_COMPARE(opened, QStringLiteral("entryEditor"));
        QCOMPARE(frame.entryList()->selectedRecordId(), m_ids[1]);
    }

    // The entry menu's commands on the selected entry, and a bulk command
    // that opens on the period shown.
    void entryCommandsOfTheWindow() {
        MainFrame& frame = createFrame(2, 1);
        frame.periodView()->reload(1, m_ids[0]);
        std::unique_ptr<EntryContextMenu> menu(frame.createEntryContextMenu(m_ids[0]));
        for (int id : {cmd::Copy, cmd::MarkAsBilled, cmd::MarkAsPaid, cmd::Delete})
            QVERIFY2(menu->command(id)->isEnabled(), qPrintable(QString::number(id)));
        menu->command(cmd::MarkAsPaid)->trigger();
        TimeEntries entries(m_env->store());
        QCOMPARE(entries.find(m_ids[0])->status, EntryStatus::Paid);
        QCOMPARE(shown().size(), 4);

        // Delete takes the row away and leaves the rest of the list alone:
        // an entry written meanwhile is not shown until the next reload. The
        // totals lose what the deleted entry added.
        auto* totals = frame.findChild<QLabel*>(QStringLiteral("periodTotals"));
        const QString totalsBefore = totals->text();
        TimeEntry billed = *entries.find(m_ids[3]);
        billed.duration = 150;
        billed.currency = QStringLiteral("EUR");
        billed.rate = 4000;
        QVERIFY(entries.update(billed) == WriteResult::Written);
        frame.periodView()->reload(1, m_ids[3]);
        QVERIFY(totals->text() != totalsBefore);
        TimeEntry unseen;
        unseen.date = at(2026, 12, 9, 9);
        unseen.client = QStringLiteral("Unseen");
        QVERIFY(entries.add(unseen) == WriteResult::Written);
        m_env->ui().queueAnswer(platform::Answer::Yes);
        frame.onCommand(cmd::Delete);
        QCOMPARE(totals->text(), totalsBefore);
        QVERIFY(!entries.find(m_ids[3]));
        QVERIFY(!shown().contains(m_ids[3]));
        QVERIFY(!shown().contains(unseen.recordId));
        QCOMPARE(shown().size(), 3);

        QString presetStart;
        test::onNextModal([&presetStart](QDialog* sheet) {
            presetStart =
                sheet->findChild<QDateEdit*>(QStringLiteral("start"))->date().toString(Qt::ISODate);
            sheet->reject();
        });
        frame.onCommand(cmd::MarkBilledEntries);
        QCOMPARE(presetStart, QStringLiteral("2026-12-06"));
    }

    // Another connection writes: the window shows it after one poll.
    void reloadsWhenAnotherProgramChangesTheStore() {
        MainFrame& frame = createFrame();
        QVERIFY(frame.storeWatcher() && frame.storeWatcher()->isActive());
        QCOMPARE(shown().size(), 4);
        {
            QString error;
            auto other = platform::ObjectStore::open(platform::Profile::storePath(),
                                                     platform::ObjectStore::Access::ReadWrite,
                                                     QStringLiteral("en_US"), &error);
            QVERIFY2(other, qPrintable(error));
            TimeEntryDatabase entries(other.get());
            QVERIFY(entries.open());
            TimeEntry e;
            e.date = at(2026, 12, 9, 15);
            e.status = EntryStatus::Billable;
            e.client = QStringLiteral("Other");
            QVERIFY(TimeEntries(entries).add(e) == WriteResult::Written);
        }
        QVERIFY(frame.storeWatcher()->check());
        QCOMPARE(shown().size(), 5);
    }
};

TEMPOLATCH_TEST(MainFrameViewsTest);
#include "MainFrameViewsTest.moc"
