#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QToolButton>
#include <algorithm>

#include "app/AboutDialog.h"
#include "app/MainFrame.h"
#include "app/MenuBar.h"
#include "clients/DropListsDialog.h"
#include "clients/ReplaceTextDialog.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "reports/SummaryDialog.h"
#include "settings/OptionsSheet.h"
#include "settings/Settings.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "timers/EntryTimer.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/EntryContextMenu.h"
#include "widgets/HelpWindow.h"
#include "widgets/Mnemonics.h"

using namespace tempolatch;

namespace {

QStringList checkedIds(const QMenu* menu) {
    QStringList ids;
    for (const QAction* a : menu->actions()) {
        if (a->isChecked())
            ids.append(QString::number(a->data().toInt()));
    }
    return ids;
}

// Every command item a user can reach from these actions: bar buttons, the
// popups they open and their submenus.
void collectCommands(const QList<QAction*>& actions, const QToolBar* bar, QList<QAction*>& found) {
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        QMenu* menu = action->menu();
        if (!menu && bar) {
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
                menu = button->menu();
        }
        if (menu)
            collectCommands(menu->actions(), nullptr, found);
        else if (action->data().isValid())
            found.append(action);
    }
}

QList<int> idsOf(const QList<QAction*>& actions) {
    QList<int> ids;
    for (const QAction* action : actions)
        ids.append(action->data().toInt());
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

bool addAcme() {
    auto& clients = test::TestEnvironment::current().store().clientStructure().clients;
    return clients.addProperties({platform::Property::string(0x03EA001F, QStringLiteral("Acme")),
                                  platform::Property::ui4(0x04B10013, 1)}) != 0;
}

void storeSoftKeys(bool on) {
    // The window loads the settings itself: give it current ones with this
    // flags word.
    platform::Registry& reg = test::TestEnvironment::current().registry();
    const QString key = QString::fromLatin1(platform::Registry::AppKey);
    reg.createKey(key);
    reg.writeNumber(key, QStringLiteral("tlVersion"), Settings::CurrentVersion);
    reg.writeNumber(key, QStringLiteral("DefNewStyles"), on ? quint32(SoftKeyMenus) : 0u);
}

}  // namespace

class MainFrameTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<MainFrame> m_frame;

    // standIns: commands not built yet, given a handler that does nothing so
    // that the rules which grey them can be seen.
    // `standIns` get a handler that does nothing, `removed` lose theirs.
    MainFrame& createFrame(bool softKeys, std::initializer_list<int> standIns = {},
                           std::initializer_list<int> removed = {}) {
        storeSoftKeys(softKeys);
        m_frame = std::make_unique<MainFrame>(m_env->context());
        m_frame->commands().add(standIns, [](int) {});
        m_frame->commands().add(removed, {});
        if (!m_frame->create())
            qWarning("the main window could not be created");
        return *m_frame;
    }

    void openPopup(MainFrame& frame, int buttonId) {
        QMenu* popup = frame.commandBar()->popup(buttonId);
        QVERIFY2(popup, "this bar has no such popup");
        Q_EMIT popup->aboutToShow();
    }

private Q_SLOTS:
    void cleanup() {
        m_frame.reset();
        if (HelpWindow* help = HelpWindow::current())
            delete help;
        EnvironmentTest::cleanup();
    }

    // Both bars open from the keyboard: Alt and a button's letter opens its
    // popup (or presses New), and inside every menu each item has a letter
    // of its own.
    void menuMnemonics_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("button");  // the popup that opens; 0: New runs
        QTest::newRow("classic, Alt+N") << false << int(Qt::Key_N) << 0;
        QTest::newRow("classic, Alt+V") << false << int(Qt::Key_V) << cmd::ViewButton;
        QTest::newRow("classic, Alt+T") << false << int(Qt::Key_T) << cmd::ToolsButton;
        QTest::newRow("classic, Alt+E") << false << int(Qt::Key_E) << cmd::EditButton;
        QTest::newRow("classic, Alt+H") << false << int(Qt::Key_H) << cmd::HelpButton;
        QTest::newRow("soft keys, Alt+N") << true << int(Qt::Key_N) << 0;
        QTest::newRow("soft keys, Alt+M") << true << int(Qt::Key_M) << cmd::MenuButton;
    }
    void menuMnemonics() {
        QFETCH(bool, softKeys);
        QFETCH(int, key);
        QFETCH(int, button);
        MainFrame& frame = createFrame(softKeys);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        MenuBar* bar = frame.commandBar();

        QString barLetters;
        for (const QToolButton* b : bar->findChildren<QToolButton*>()) {
            if (b->text().isEmpty() || !b->icon().isNull())
                continue;  // the image buttons show no text
            const QChar letter = mnemonics::of(b->text());
            QVERIFY2(!letter.isNull() && !barLetters.contains(letter), qPrintable(b->text()));
            barLetters.append(letter);
        }
        QList<QMenu*> menus;
        for (const int id : {cmd::EditButton, cmd::ViewButton, cmd::ToolsButton, cmd::HelpButton,
                             cmd::MenuButton}) {
            if (QMenu* popup = bar->popup(id))
                menus.append(popup);
        }
        QVERIFY(!menus.isEmpty());
        for (int m = 0; m < menus.size(); ++m) {
            QString letters;
            for (QAction* item : menus[m]->actions()) {
                if (item->isSeparator())
                    continue;
                const QChar letter = mnemonics::of(item->text());
                const QString where = menus[m]->title() + QStringLiteral(" > ") + item->text();
                QVERIFY2(!letter.isNull(), qPrintable(where));
                QVERIFY2(!letters.contains(letter), qPrintable(where));
                letters.append(letter);
                if (item->menu())
                    menus.append(item->menu());
            }
        }

        bool newRan = false;
        frame.commands().add(cmd::New, [&newRan](int) { newRan = true; });
        auto opened = std::make_shared<QMenu*>(nullptr);
        test::whenFound<QMenu>(
            [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
            [opened](QMenu* menu) {
                *opened = menu;
                menu->close();
            },
            button ? 3000 : 0);
        QTest::keyClick(&frame, Qt::Key(key), Qt::AltModifier);
        if (button) {
            QTRY_VERIFY(*opened);
            QCOMPARE(*opened, bar->popup(button));
        } else {
            QTRY_VERIFY(newRan);
        }
    }

    void startsWithTitleAndBarOfTheSetting_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::newRow("classic") << false;
        QTest::newRow("soft keys") << true;
    }
    void startsWithTitleAndBarOfTheSetting() {
        QFETCH(bool, softKeys);
        MainFrame& frame = createFrame(softKeys);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Tempolatch"));
        QVERIFY(m_env->settings().hasFlag(OwnerBlockOnInvoices));
        MenuBar* bar = frame.commandBar();
        QCOMPARE(bar->kind(), softKeys ? MenuBar::Kind::SoftKeys : MenuBar::Kind::Classic);
        QCOMPARE(frame.toolBarArea(bar), softKeys ? Qt::BottomToolBarArea : Qt::TopToolBarArea);
        if (softKeys) {
            QCOMPARE(mnemonics::plain(bar->command(cmd::BackupCreate)->text()),
                     QStringLiteral("Create Backup..."));
            QCOMPARE(mnemonics::plain(bar->command(cmd::SetupClients)->text()),
                     QStringLiteral("Clients..."));
            QCOMPARE(mnemonics::plain(bar->command(cmd::Timers)->text()),
                     QStringLiteral("Timers... (0)"));
        } else {
            QCOMPARE(mnemonics::plain(bar->command(cmd::BackupCreate)->text()),
                     QStringLiteral("Create..."));
            QCOMPARE(mnemonics::plain(bar->command(cmd::SetupClients)->text()),
                     QStringLiteral("Setup Clients..."));
            QCOMPARE(bar->command(cmd::Timers)->toolTip(), QStringLiteral("Entry Timers"));
            QCOMPARE(bar->command(cmd::QuickSummary)->toolTip(), QStringLiteral("Quick Summary"));
        }
    }

    // Where every rule would allow an item (a client, a billable entry, the
    // Default list), an item is enabled exactly when its command has a
    // handler; a greyed one cannot be triggered, and its command run
    // directly does nothing.
    void everyCommandItemHasAHandlerOrIsGreyed_data() { startsWithTitleAndBarOfTheSetting_data(); }
    void everyCommandItemHasAHandlerOrIsGreyed() {
        QFETCH(bool, softKeys);
        MainFrame& frame = createFrame(softKeys);
        QVERIFY(addAcme());
        TimeEntry entry;
        entry.status = EntryStatus::Billable;
        entry.date = platform::Clock::nowFileTime();
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Written);
        // A step to undo and one to redo.
        frame.periodView()->reload(1, entry.recordId);
        QVERIFY(frame.onCommand(cmd::MarkAsBilled));
        QVERIFY(frame.onCommand(cmd::MarkAsBilled));
        QVERIFY(frame.onCommand(cmd::Undo));
        MenuBar* bar = frame.commandBar();
        for (int button : {cmd::MenuButton, cmd::EditButton, cmd::ViewButton, cmd::ToolsButton}) {
            if (bar->popup(button))
                openPopup(frame, button);
        }
        QList<QAction*> items;
        collectCommands(bar->actions(), bar, items);
        const QList<int> barIds = idsOf(items);
        // Every command of the bar can be reached, and both bars offer the same.
        QList<int> offered = bar->commandIds();
        std::sort(offered.begin(), offered.end());
        QCOMPARE(barIds, offered);
        MenuBar other(softKeys ? MenuBar::Kind::Classic : MenuBar::Kind::SoftKeys,
                      frame.commands());
        QList<QAction*> otherItems;
        collectCommands(other.actions(), &other, otherItems);
        QCOMPARE(idsOf(otherItems), barIds);

        std::unique_ptr<EntryContextMenu> menu(frame.createEntryContextMenu(entry.recordId));
        collectCommands(menu->actions(), nullptr, items);
        // The ten items of the context menu join them.
        QCOMPARE(idsOf(items).size(), barIds.size() + 10);

        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        int greyed = 0;
        for (QAction* item : items) {
            const int id = item->data().toInt();
            QVERIFY2(item->isEnabled() == frame.commands().has(id), qPrintable(item->text()));
            if (item->isEnabled())
                continue;
            ++greyed;
            item->trigger();
            QCOMPARE(routed.size(), 0);
            QVERIFY(!frame.onCommand(id));
            routed.clear();
        }
        QVERIFY(greyed > 0);
        QVERIFY(m_env->ui().shown().isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void menuStatesFollowListStyleAndPeriod_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<int>("listStyle");
        QTest::addColumn<int>("period");
        for (bool soft : {false, true}) {
            for (int style = 0; style <= 2; ++style) {
                for (int period = 1; period <= 4; ++period) {
                    QTest::addRow("%s style %d period %d", soft ? "soft" : "classic", style, period)
                        << soft << style << period;
                }
            }
        }
    }
    void menuStatesFollowListStyleAndPeriod() {
        QFETCH(bool, softKeys);
        QFETCH(int, listStyle);
        QFETCH(int, period);
        MainFrame& frame = createFrame(softKeys);
        m_env->settings().listStyle = quint32(listStyle);
        m_env->settings().view = quint32(period);
        m_env->settings().sort = 4;
        openPopup(frame, softKeys ? cmd::MenuButton : cmd::ViewButton);

        MenuBar* bar = frame.commandBar();
        QMenu* view = bar->viewMenu();
        if (softKeys)
            QCOMPARE(bar->popup(cmd::MenuButton)->actions().at(4)->menu(), view);
        // Arrange By sits where the rest of the program expects it.
        QCOMPARE(view->actions().at(softKeys ? 9 : 11)->menu(), bar->arrangeByMenu());

        QStringList expected = {QString::number(42000 + period),
                                QString::number(42100 + listStyle)};
        QCOMPARE(checkedIds(view), expected);
        QCOMPARE(checkedIds(bar->arrangeByMenu()), QStringList{QStringLiteral("40112")});
        QCOMPARE(bar->command(cmd::Customize)->isEnabled(), listStyle != 1);
        QCOMPARE(bar->arrangeByMenu()->menuAction()->isEnabled(), listStyle != 2);
    }

    void arrangeByItemsCarryTheCustomFieldNames_data() { startsWithTitleAndBarOfTheSetting_data(); }
    void arrangeByItemsCarryTheCustomFieldNames() {
        QFETCH(bool, softKeys);
        MainFrame& frame = createFrame(softKeys);
        MenuBar* bar = frame.commandBar();
        QCOMPARE(mnemonics::plain(bar->command(cmd::ArrangeCustom1)->text()),
                 QStringLiteral("Custom 1"));
        m_env->settings().custom1 = QStringLiteral("Ticket");
        m_env->settings().custom2 = QStringLiteral("Site");
        m_env->settings().custom3 = QStringLiteral("R&D");  // an ampersand, not a letter mark
        openPopup(frame, softKeys ? cmd::MenuButton : cmd::ViewButton);
        QCOMPARE(mnemonics::plain(bar->command(cmd::ArrangeCustom1)->text()),
                 QStringLiteral("Ticket"));
        QCOMPARE(mnemonics::plain(bar->command(cmd::ArrangeCustom2)->text()),
                 QStringLiteral("Site"));
        QCOMPARE(mnemonics::plain(bar->command(cmd::ArrangeCustom3)->text()),
                 QStringLiteral("R&D"));
    }

    void clientSummaryNeedsAClientAndAHandler_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<bool>("handled");
        for (bool soft : {false, true}) {
            for (bool handled : {false, true}) {
                QTest::addRow("%s, %s", soft ? "soft" : "classic",
                              handled ? "handled" : "no handler")
                    << soft << handled;
            }
        }
    }
    void clientSummaryNeedsAClientAndAHandler() {
        QFETCH(bool, softKeys);
        QFETCH(bool, handled);
        MainFrame& frame =
            handled ? createFrame(softKeys) : createFrame(softKeys, {}, {cmd::ClientSummary});
        const int popup = softKeys ? cmd::MenuButton : cmd::ToolsButton;
        QAction* item = frame.commandBar()->command(cmd::ClientSummary);
        if (softKeys) {
            QMenu* data = frame.commandBar()->popup(popup)->actions().at(10)->menu();
            QVERIFY(data && data->actions().contains(item));
        }
        openPopup(frame, popup);
        QVERIFY(!item->isEnabled());

        QVERIFY(addAcme());
        openPopup(frame, popup);
        QCOMPARE(item->isEnabled(), handled);
    }

    // The classic bar's Quick Summary button sums what the list shows.
    void quickSummaryButtonSumsTheListedEntries() {
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        for (int day : {7, 8, 30}) {
            TimeEntry entry;
            entry.client = QStringLiteral("Acme");
            entry.task = QStringLiteral("T");
            entry.status = EntryStatus::Billable;
            entry.duration = 100;
            entry.date =
                *platform::toFileTime(platform::SystemTime{2026, 12, 0, quint16(day), 9, 0, 0, 0});
            QCOMPARE(entries.add(entry), WriteResult::Written);
        }
        MainFrame& frame = createFrame(false);
        QStringList shown;
        test::onNextModal([&](QDialog* dialog) {
            auto* summary = qobject_cast<SummaryDialog*>(dialog);
            QVERIFY(summary && summary->kind() == SummaryDialog::Kind::Quick);
            for (const QStringList& row : summary->rows())
                shown.append(row.value(0) + u'=' + row.value(1));
        });
        frame.commandBar()->command(cmd::QuickSummary)->trigger();
        // The week of Monday 2026-12-07 (the fixed today) lists two of the three.
        QVERIFY2(shown.contains(QStringLiteral("Number of Items:=2")),
                 qPrintable(shown.join(u',')));
        QVERIFY(shown.contains(QStringLiteral("Hours:=2.00h")));
        QVERIFY(shown.contains(QStringLiteral("Period Type:=Week")));
    }

    void commandsOfTheViewMenuChangeTheSettings() {
        MainFrame& frame = createFrame(false);
        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        frame.commandBar()->command(cmd::ListStyleTree)->trigger();
        frame.commandBar()->command(cmd::ArrangeBillTo)->trigger();
        frame.commandBar()->command(cmd::PeriodMonth)->trigger();
        QCOMPARE(m_env->settings().listStyle, 2u);
        QCOMPARE(m_env->settings().sort, quint16(5));
        QCOMPARE(m_env->settings().view, 3u);
        QCOMPARE(routed.size(), 3);
        QCOMPARE(routed.at(0).at(0).toInt(), cmd::ListStyleTree);
    }

    // The marks are greyed by the status, and every item by a missing handler.
    void contextMenuMarksFollowTheStatus_data() {
        QTest::addColumn<bool>("handled");
        QTest::addColumn<int>("status");  // -1: no entry
        QTest::addColumn<bool>("billedChecked");
        QTest::addColumn<bool>("billedEnabled");
        QTest::addColumn<bool>("paidChecked");
        QTest::addColumn<bool>("paidEnabled");
        QTest::newRow("non billable") << true << 0 << false << false << false << false;
        QTest::newRow("billable") << true << 1 << false << true << false << true;
        QTest::newRow("billed") << true << 2 << true << true << false << true;
        QTest::newRow("paid") << true << 3 << true << true << true << true;
        QTest::newRow("no entry") << true << -1 << false << false << false << false;
        QTest::newRow("billable, no handlers") << false << 1 << false << false << false << false;
        QTest::newRow("paid, no handlers") << false << 3 << true << false << true << false;
    }
    void contextMenuMarksFollowTheStatus() {
        QFETCH(bool, handled);
        QFETCH(int, status);
        QFETCH(bool, billedChecked);
        QFETCH(bool, billedEnabled);
        QFETCH(bool, paidChecked);
        QFETCH(bool, paidEnabled);
        CommandTable commands;
        if (handled)
            commands.addRange(cmd::ContextMenuFirst, cmd::ContextMenuLast, [](int) {});
        EntryContextMenu menu(status < 0 ? std::nullopt : std::optional<int>(status), commands);

        QStringList items;
        QString letters;  // chosen from the keyboard: one letter an item
        for (const QAction* a : menu.actions()) {
            items.append(a->isSeparator() ? QStringLiteral("-") : mnemonics::plain(a->text()));
            const QChar letter = mnemonics::of(a->text());
            QVERIFY(a->isSeparator() || (!letter.isNull() && !letters.contains(letter)));
            letters.append(letter);
        }
        QCOMPARE(items, QStringList({"Preview...", "Edit...", "Edit Note...", "-", "Create Copy...",
                                     "Create New Timer...", "Copy...", "Export Note...", "-",
                                     "Mark As Billed", "Mark As Paid", "-", "Delete"}));
        QCOMPARE(mnemonics::plain(menu.command(cmd::Delete)->text()), QStringLiteral("Delete"));
        QCOMPARE(menu.command(cmd::MarkAsBilled)->isChecked(), billedChecked);
        QCOMPARE(menu.command(cmd::MarkAsBilled)->isEnabled(), billedEnabled);
        QCOMPARE(menu.command(cmd::MarkAsPaid)->isChecked(), paidChecked);
        QCOMPARE(menu.command(cmd::MarkAsPaid)->isEnabled(), paidEnabled);
        QCOMPARE(menu.command(cmd::Delete)->isEnabled(), handled);

        QSignalSpy chosen(&menu, &EntryContextMenu::commandTriggered);
        menu.command(cmd::CreateCopy)->trigger();
        QCOMPARE(chosen.size(), handled ? 1 : 0);
        if (handled)
            QCOMPARE(chosen.at(0).at(0).toInt(), cmd::CreateCopy);
    }

    void contextMenuOfTheWindowReadsTheEntry_data() {
        QTest::addColumn<int>("status");
        QTest::newRow("non billable") << 0;
        QTest::newRow("paid") << 3;
    }
    void contextMenuOfTheWindowReadsTheEntry() {
        QFETCH(int, status);
        MainFrame& frame = createFrame(false, {cmd::MarkAsBilled, cmd::MarkAsPaid});
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        entry.status = EntryStatus(status);
        QVERIFY(TimeEntries(m_env->store()).add(entry) == WriteResult::Written);

        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        std::unique_ptr<EntryContextMenu> menu(frame.createEntryContextMenu(entry.recordId));
        QCOMPARE(menu->command(cmd::MarkAsPaid)->isChecked(), status == 3);
        QCOMPARE(menu->command(cmd::MarkAsPaid)->isEnabled(), status != 0);
        menu->command(cmd::Preview)->trigger();
        QCOMPARE(routed.size(), 1);
        QCOMPARE(routed.at(0).at(0).toInt(), cmd::Preview);

        // A record that is gone leaves nothing to mark.
        menu.reset(frame.createEntryContextMenu(entry.recordId + 1000));
        QVERIFY(!menu->command(cmd::MarkAsBilled)->isEnabled());
    }

    void olderDataIsRepairedOnceAtStart() {
        // Settings of a version before 261 (no tlVersion) and a Paid entry
        // without its paid date, as those versions wrote them.
        m_env->registry().createKey(QString::fromLatin1(platform::Registry::AppKey));
        QVERIFY(m_env->store().openAll());
        TimeEntry entry;
        entry.status = EntryStatus::Paid;
        QVERIFY(TimeEntries(m_env->store()).add(entry) == WriteResult::Written);
        auto paidDate = [&] {
            TimeEntries entries(m_env->store());
            return entries.find(entry.recordId).value_or(TimeEntry()).paidDate;
        };

        m_frame = std::make_unique<MainFrame>(m_env->context());
        QVERIFY(m_frame->create());
        QVERIFY(!paidDate().isNull());
        m_frame.reset();

        // The next start finds version 300 and leaves the entries alone.
        TimeEntryDatabase& db = m_env->store().entries();
        QCOMPARE(db.seekRecord(entry.recordId), entry.recordId);
        QVERIFY(db.updateProperties({platform::Property::remove(prop::PaidDate)}));
        QVERIFY(paidDate().isNull());
        m_env->settings() = Settings();
        m_frame = std::make_unique<MainFrame>(m_env->context());
        QVERIFY(m_frame->create());
        QVERIFY(paidDate().isNull());
    }

    void tapPreviewsOrEdits_data() {
        QTest::addColumn<bool>("previews");
        QTest::addColumn<int>("command");
        QTest::newRow("edit") << false << cmd::EditSelected;
        QTest::newRow("preview") << true << cmd::Preview;
    }
    void tapPreviewsOrEdits() {
        QFETCH(bool, previews);
        QFETCH(int, command);
        MainFrame& frame = createFrame(false);
        m_env->settings().setFlag(TapPreviews, previews);
        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        frame.entryTapped();
        // Posted: the list finishes with its tap first.
        QCOMPARE(routed.size(), 0);
        QTRY_COMPARE(routed.size(), 1);
        QCOMPARE(routed.at(0).at(0).toInt(), command);
    }

    // Only timers in use, with the setting on, are asked about; Cancel stays.
    void closeAsksOnlyWithRunningTimers_data() {
        QTest::addColumn<bool>("askClose");
        QTest::addColumn<bool>("timerInUse");
        QTest::addColumn<int>("choice");  // queued choice, when asked
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closes");
        QTest::newRow("ask off, no timer") << false << false << -1 << false << true;
        QTest::newRow("ask off, timer") << false << true << -1 << false << true;
        QTest::newRow("ask on, no timer") << true << false << -1 << false << true;
        QTest::newRow("ask on, timer, cancel") << true << true << -1 << true << false;
        QTest::newRow("ask on, timer, keep running") << true << true << 0 << true << true;
    }
    void closeAsksOnlyWithRunningTimers() {
        QFETCH(bool, askClose);
        QFETCH(bool, timerInUse);
        QFETCH(int, choice);
        QFETCH(bool, asked);
        QFETCH(bool, closes);
        MainFrame& frame = createFrame(false);
        frame.show();
        m_env->settings().askClose = askClose;
        if (timerInUse)
            frame.timerTable().slot(2).state = EntryTimer::Paused;
        m_env->ui().queueChoice(choice);
        QSignalSpy closed(&frame, &MainFrame::closed);

        QCOMPARE(frame.close(), closes);
        QCOMPARE(closed.size(), closes ? 1 : 0);
        QCOMPARE(frame.isVisible(), !closes);
        if (asked) {
            QCOMPARE(m_env->ui().shown().size(), 1);
            QVERIFY(m_env->ui().shown().first().text.startsWith(
                QStringLiteral("There are timers running.")));
            QCOMPARE(m_env->ui().offeredChoices(),
                     (QStringList{"&Keep Running", "&Pause", "&End Timers"}));
        } else {
            QVERIFY(m_env->ui().shown().isEmpty());
        }
    }

    void ctrlQAndCloseCommandClose_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Ctrl+Q") << true;
        QTest::newRow("command 1001") << false;
    }
    void ctrlQAndCloseCommandClose() {
        QFETCH(bool, byKey);
        MainFrame& frame = createFrame(false);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QSignalSpy closed(&frame, &MainFrame::closed);
        QSignalSpy routed(&frame, &MainFrame::commandRouted);
        if (byKey) {
            frame.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&frame));
            QTest::keyClick(&frame, Qt::Key_Q, Qt::ControlModifier);
        } else {
            frame.onCommand(cmd::Close);
        }
        QCOMPARE(routed.size(), 1);
        QCOMPARE(routed.at(0).at(0).toInt(), cmd::Close);
        QTRY_COMPARE(closed.size(), 1);
    }

    // The window comes back at the size and place it was left at.
    void windowGeometryIsKept() {
        MainFrame& first = createFrame(false);
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        first.setGeometry(40, 50, 610, 430);
        const QRect left = first.geometry();
        m_frame.reset();
        MainFrame& second = createFrame(false);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.geometry(), left);
    }

    void f1OpensTheHelpAtTheMainTopic() {
        MainFrame& frame = createFrame(false);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_F1);
        QVERIFY(HelpWindow::current());
        QCOMPARE(HelpWindow::current()->topic(), QStringLiteral("Main_Contents"));
        QVERIFY(HelpWindow::current()->browser()->toPlainText().contains(
            QStringLiteral("Tempolatch records the time")));
        // Closing the main window closes its help too.
        frame.close();
        QTRY_VERIFY(!HelpWindow::current());
    }

    void escapeClosesTheHelp() {
        HelpWindow* help = HelpWindow::showTopic(QStringLiteral("Main_Contents"));
        QVERIFY(help);
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help, Qt::Key_Escape);
        QTRY_VERIFY(!HelpWindow::current());
    }

    void helpFileHasEveryTopic() {
        initResources();
        QFile file(QStringLiteral(":/help/Tempolatch.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const char* anchor :
             {"Main_Contents", "options", "addnew", "copy", "replace", "editlist", "clientsetup",
              "ratesetup", "addexpense", "expensereports", "reports", "deldata", "expenses",
              "expensecriteria"}) {
            QVERIFY2(html.contains(QStringLiteral("<a name=\"%1\">").arg(QLatin1String(anchor))),
                     anchor);
        }
    }

    void timersIndicatorCountsSlotsInUse_data() { startsWithTitleAndBarOfTheSetting_data(); }
    void timersIndicatorCountsSlotsInUse() {
        QFETCH(bool, softKeys);
        MainFrame& frame = createFrame(softKeys);
        MenuBar* bar = frame.commandBar();
        frame.timerTable().slot(0).state = EntryTimer::Running;
        frame.timerTable().slot(3).state = EntryTimer::Completed;
        frame.updateTimersIndicator();
        if (softKeys)
            QCOMPARE(mnemonics::plain(bar->command(cmd::Timers)->text()),
                     QStringLiteral("Timers... (2)"));
        else
            QCOMPARE(bar->timersImage(), int(MenuBar::TimerRunning));
        frame.timerTable().clearAll();
        frame.updateTimersIndicator();
        if (softKeys)
            QCOMPARE(mnemonics::plain(bar->command(cmd::Timers)->text()),
                     QStringLiteral("Timers... (0)"));
        else
            QCOMPARE(bar->timersImage(), int(MenuBar::TimerIdle));
    }

    void optionsSoftKeySwitchRebuildsTheBar_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << true;
        QTest::newRow("cancelled") << false;
    }
    void optionsSoftKeySwitchRebuildsTheBar() {
        QFETCH(bool, accept);
        MainFrame& frame = createFrame(false);
        QPointer<MenuBar> oldBar = frame.commandBar();
        test::onNextModal([accept](QDialog* dialog) {
            QVERIFY(qobject_cast<OptionsSheet*>(dialog));
            dialog->findChild<QCheckBox*>(QStringLiteral("softKeys"))->setChecked(true);
            dialog->findChild<QCheckBox*>(QStringLiteral("bold"))->setChecked(false);
            accept ? dialog->accept() : dialog->reject();
        });
        frame.onCommand(cmd::Options);

        QCOMPARE(m_env->settings().hasFlag(SoftKeyMenus), accept);
        QCOMPARE(frame.commandBar()->kind(),
                 accept ? MenuBar::Kind::SoftKeys : MenuBar::Kind::Classic);
        QCOMPARE(frame.commandBar() != oldBar.data(), accept);
        if (accept) {
            QCOMPARE(frame.toolBarArea(frame.commandBar()), Qt::BottomToolBarArea);
            QTRY_VERIFY(!oldBar);  // the old bar is gone once control is back
        }
        // Saved either way, with the start's bit 9.
        platform::Registry& reg = m_env->registry();
        const auto stored = reg.readNumber(QString::fromLatin1(platform::Registry::AppKey),
                                           QStringLiteral("DefNewStyles"));
        QVERIFY(stored);
        QCOMPARE(bool(*stored & SoftKeyMenus), accept);
        QVERIFY(*stored & OwnerBlockOnInvoices);
    }

    void editDropListsOpensItsDialog() {
        MainFrame& frame = createFrame(false);
        bool opened = false;
        test::onNextModal(
            [&](QDialog* dialog) { opened = qobject_cast<DropListsDialog*>(dialog); });
        QVERIFY(frame.onCommand(cmd::EditDropLists));
        QVERIFY(opened);
    }

    void replaceFieldTextChangesTheEntries() {
        MainFrame& frame = createFrame(false);
        Client client{0, QStringLiteral("Acme"), 0};
        QVERIFY(succeeded(ClientStructure(m_env->store()).addClient(client)));
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        entry.date = platform::Clock::nowFileTime();
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Written);
        m_env->ui().queueAnswer(platform::Answer::Yes);
        test::onNextModal([](QDialog* dialog) {
            QVERIFY(qobject_cast<ReplaceTextDialog*>(dialog));
            dialog->findChild<QComboBox*>(QStringLiteral("find"))->setCurrentIndex(0);
            dialog->findChild<QLineEdit*>(QStringLiteral("replaceWith"))
                ->setText(QStringLiteral("Apex"));
            dialog->accept();
        });
        QVERIFY(frame.onCommand(cmd::ReplaceFieldText));
        QCOMPARE(TimeEntries(m_env->store()).find(entry.recordId)->client, QStringLiteral("Apex"));
    }

    void aboutShowsNameAndVersion() {
        MainFrame& frame = createFrame(false);
        QString name, version;
        test::onNextModal([&](QDialog* dialog) {
            QVERIFY(qobject_cast<AboutDialog*>(dialog));
            name = dialog->findChild<QLabel*>(QStringLiteral("name"))->text();
            version = dialog->findChild<QLabel*>(QStringLiteral("version"))->text();
            dialog->accept();
        });
        frame.onCommand(cmd::About);
        QCOMPARE(name, QStringLiteral("Tempolatch"));
        QVERIFY2(
            QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+")).match(version).hasMatch(),
            qPrintable(version));
    }

    void settingsAreSavedWhenTheWindowGoes() {
        createFrame(false);
        m_env->settings().custom2 = QStringLiteral("Room");
        m_frame.reset();
        Settings loaded;
        loaded.load(m_env->registry());
        QCOMPARE(loaded.custom2, QStringLiteral("Room"));
        QVERIFY(loaded.hasFlag(OwnerBlockOnInvoices));
        QCOMPARE(loaded.version, Settings::CurrentVersion);
    }

    void unusableStoreStopsTheStart() {
        QFile garbage(m_env->filePath(QStringLiteral("store.db")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
        garbage.close();
        // An older settings version: the repair of its data must still be due
        // when a later start gets at the store.
        m_env->registry().createKey(QString::fromLatin1(platform::Registry::AppKey));
        m_env->registry().writeNumber(QString::fromLatin1(platform::Registry::AppKey),
                                      QStringLiteral("tlVersion"), 250);

        auto frame = std::make_unique<MainFrame>(m_env->context());
        QVERIFY(!frame->create());
        QCOMPARE(m_env->ui().shown().size(), 1);
        QCOMPARE(m_env->ui().shown().first().text,
                 QStringLiteral("Tempolatch is unable to open the database!"));
        QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Stop);
        frame.reset();
        QCOMPARE(m_env->registry()
                     .readNumber(QString::fromLatin1(platform::Registry::AppKey),
                                 QStringLiteral("tlVersion"))
                     .value_or(0),
                 250u);
    }
};

TEMPOLATCH_TEST(MainFrameTest);
#include "MainFrameTest.moc"
