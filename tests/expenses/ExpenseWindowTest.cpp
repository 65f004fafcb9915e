#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <QtEndian>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/PopupMenu.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseActions.h"
#include "expenses/ExpenseSamples.h"
#include "expenses/ExpenseWindow.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "records/ExpenseFilter.h"
#include "settings/Settings.h"
#include "store/StoreTestSupport.h"
#include "views/DefaultEntryList.h"
#include "views/EntryRowModel.h"
#include "views/PeriodView.h"
#include "views/SearchBox.h"
#include "views/SimpleEntryList.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/EntryContextMenu.h"
#include "widgets/Mnemonics.h"

using namespace tempolatch;

namespace {

const QString kKey = QStringLiteral("Software\\Tempolatch");

QByteArray indices(const QList<int>& values) {
    QByteArray out(4 * values.size(), '\0');
    for (int i = 0; i < values.size(); ++i)
        qToLittleEndian(qint32(values[i]), out.data() + 4 * i);
    return out;
}

RowEntryList& rowsOf(ExpenseWindow& window) {
    return *dynamic_cast<RowEntryList*>(window.entryList());
}

}  // namespace

class ExpenseWindowTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(test::prepareExpenseTest());
    }

    // The rows follow the expense window's own period type, not the main
    // window's.
    void dayLayoutWhileMainWindowIsOnWeek() {
        Settings& s = m_env->settings();
        s.view = PeriodView::Week;
        s.expView = PeriodView::Day;
        ExpenseEntry e = test::mileageExpense(35, 120);
        test::storeExpense(e);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        QCOMPARE(window.periodView()->type(), int(PeriodView::Day));
        QVERIFY(dynamic_cast<DefaultEntryList*>(window.entryList()));
        QCOMPARE(dynamic_cast<DefaultEntryList*>(window.entryList())->linesPerRow(), 3);
        const EntryRow& row = rowsOf(window).rowModel().rowAt(0);
        QCOMPARE(row.lines.value(0), QStringLiteral("120"));
        QCOMPARE(row.line1Right, QStringLiteral("42.00"));
        QCOMPARE(window.totalsLine()->text(), QStringLiteral("1 expense, USD 42.00"));

        window.onCommand(cmd::PeriodWeek);
        QCOMPARE(s.expView, quint32(PeriodView::Week));
        QCOMPARE(s.view, quint32(PeriodView::Week));
        QCOMPARE(rowsOf(window).rowModel().rowAt(0).lines.value(0), QStringLiteral("12/7/26 "));
    }

    // Several selected expenses are marked, deleted or copied at once: one
    // question for Delete, one word in the status line; Edit > Undo names
    // the step and takes all of it back.
    void commandsActOnEverySelectedExpense_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("status");  // -1: deleted
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("undo");
        QTest::newRow("mark billed")
            << int(cmd::MarkAsBilled) << int(EntryStatus::Billed) << "2 expenses marked Billed."
            << "Undo Mark 2 Expenses Billed";
        QTest::newRow("mark paid")
            << int(cmd::MarkAsPaid) << int(EntryStatus::Paid) << "2 expenses marked Paid."
            << "Undo Mark 2 Expenses Paid";
        QTest::newRow("delete") << int(cmd::Delete) << -1 << "2 expenses deleted."
                                << "Undo Delete 2 Expenses";
        // Monday's to Tuesday to Friday, Tuesday's to Wednesday to Friday.
        QTest::newRow("copy") << int(cmd::Copy) << int(EntryStatus::Billable) << "7 copies made."
                              << "Undo Copy";
    }
    void commandsActOnEverySelectedExpense() {
        QFETCH(int, command);
        QFETCH(int, status);
        QFETCH(QString, notice);
        QFETCH(QString, undo);
        m_env->settings().expView = PeriodView::Week;
        QList<quint32> ids;
        for (int i = 0; i < 2; ++i) {
            ExpenseEntry e = test::generalExpense(100 + i, QStringLiteral("Fuel"));
            e.status = EntryStatus::Billable;
            e.date = test::at(2026, 12, 7 + i);
            ids << test::storeExpense(e);
        }
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.show();
        auto* list = dynamic_cast<QWidget*>(window.entryList());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(window.entryList()->selectedRecordIds().size(), 2);
        m_env->ui().queueAnswer(platform::Answer::Yes);
        if (command == cmd::Copy)
            test::onNextModal([](QDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Copy 2 Expenses"));
                dialog->findChild<QRadioButton*>(QStringLiteral("restOfWeek"))->click();
                dialog->accept();
            });
        QVERIFY(window.onCommand(command));
        QCOMPARE(m_env->ui().shown().size(), command == cmd::Delete ? 1 : 0);
        QCOMPARE(m_env->ui().notices(), QStringList{notice});
        for (const quint32 id : std::as_const(ids)) {
            const auto stored = expenseactions::read(m_env->store(), id);
            QCOMPARE(stored ? int(stored->status) : -1, status);
        }
        QCOMPARE(window.entryList()->recordIds().size(), command == cmd::Copy ? 9
                                                         : status < 0         ? 0
                                                                              : 2);

        QMenu* edit = window.commandBar()->findChild<QMenu*>(QStringLiteral("editMenu"));
        Q_EMIT edit->aboutToShow();
        QCOMPARE(mnemonics::plain(window.command(cmd::Undo)->text()), undo);
        QVERIFY(window.command(cmd::Undo)->isEnabled());
        window.command(cmd::Undo)->trigger();
        for (const quint32 id : std::as_const(ids))
            QCOMPARE(expenseactions::read(m_env->store(), id)->status, EntryStatus::Billable);
        QCOMPARE(window.entryList()->recordIds().size(), 2);
    }

    // A stored period type the window does not have becomes Month.
    void unknownPeriodTypeShowsMonth() {
        m_env->settings().expView = PeriodView::Custom;
        m_env->settings().expListStyle = EntryList::Tree;
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        QCOMPARE(window.periodView()->type(), int(PeriodView::Month));
        QCOMPARE(window.entryList()->style(), int(EntryList::Default));
    }

    void arrangeBy_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<quint32>>("order");
        QTest::newRow("bill to") << 40113 << QList<quint32>{1, 2, 0};
        QTest::newRow("custom 2") << 40115 << QList<quint32>{2, 0, 1};
        QTest::newRow("category") << 40111 << QList<quint32>{0, 1, 2};
    }

    void arrangeBy() {
        QFETCH(int, command);
        QFETCH(QList<quint32>, order);
        const char* billTo[] = {"Cy", "Ann", "Bob"};
        const char* custom2[] = {"mike", "zulu", "alpha"};
        const char* category[] = {"Fuel", "Meals", "Parking"};
        QList<quint32> ids;
        for (int i = 0; i < 3; ++i) {
            ExpenseEntry e = test::generalExpense(100 + i, QString::fromLatin1(category[i]));
            e.billTo = QString::fromLatin1(billTo[i]);
            e.custom2 = QString::fromLatin1(custom2[i]);
            e.date = test::at(2026, 12, 1 + i);
            ids << test::storeExpense(e);
        }
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        QCOMPARE(window.entryList()->recordIds(), ids);
        QVERIFY(window.onCommand(command));
        QCOMPARE(m_env->settings().expSort, quint16(command - 40108));
        QList<quint32> expected;
        for (quint32 i : order)
            expected << ids[int(i)];
        QCOMPARE(window.entryList()->recordIds(), expected);
        // A reload keeps the order.
        window.periodView()->reload(0, 0);
        QCOMPARE(window.entryList()->recordIds(), expected);
        // The window has no "Task" order.
        QVERIFY(!window.commands().has(40112));
        QVERIFY(!window.command(40112));
    }

    void menusGreyWhatHasNoHandler() {
        m_env->settings().expenseCustom1 = QStringLiteral("Trip");
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        for (int id : {40275, 40276, 104, 105, 106, 42001, 42002, 42003, 42100, 42101})
            QVERIFY2(window.command(id) && window.command(id)->isEnabled(),
                     qPrintable(QString::number(id)));
        for (int id : {40218, 40278, 40279, 40280, 40281})
            QVERIFY2(window.command(id) && !window.command(id)->isEnabled(),
                     qPrintable(QString::number(id)));
        QVERIFY(!window.command(42004));
        QVERIFY(!window.command(42102));
        QMenu* menu = window.commandBar()->findChild<QMenu*>(QStringLiteral("menu"));
        QVERIFY(menu);
        Q_EMIT menu->aboutToShow();
        QCOMPARE(mnemonics::plain(window.command(40114)->text()), QStringLiteral("Trip"));
        // Every item of the menu opens with a letter of its own.
        QString letters;
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) {
                const QChar letter = mnemonics::of(action->text());
                QVERIFY2(!letter.isNull() && !letters.contains(letter), qPrintable(action->text()));
                letters += letter;
            }
        QVERIFY(window.command(42003)->isChecked());
        QVERIFY(window.command(40108)->isChecked());
        QVERIFY(!window.command(311)->isEnabled());  // nothing selected
    }

    // "Custom..." with only "Receipt:" on "With Receipt": fExpReceipt 1 is
    // stored and only expenses with a receipt are shown.
    void receiptFilter() {
        ExpenseEntry with = test::generalExpense(100);
        with.receipt = true;
        ExpenseEntry without = test::mileageExpense(35, 10);
        test::storeExpense(with);
        test::storeExpense(without);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        QCOMPARE(window.entryList()->recordIds().size(), 2);
        test::onNextModal([](QDialog* sheet) {
            auto* receipt = sheet->findChild<QComboBox*>(QStringLiteral("receipt"));
            QVERIFY(receipt);
            QCOMPARE(receipt->count(), 3);
            receipt->setCurrentIndex(1);
            sheet->accept();
        });
        window.onCommand(cmd::FilterCustom);
        QCOMPARE(window.entryList()->recordIds(), QList<quint32>{with.recordId});
        const platform::Registry& reg = m_env->registry();
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpReceipt")), std::optional<quint32>(1));
        QVERIFY(window.totalsLine()->text().contains(QStringLiteral("with receipt")));

        // The sheet shows the filter in effect; Clear puts every list back.
        test::onNextModal([](QDialog* sheet) {
            auto* receipt = sheet->findChild<QComboBox*>(QStringLiteral("receipt"));
            QCOMPARE(receipt->currentIndex(), 1);
            QMetaObject::invokeMethod(sheet, "clear");
            QCOMPARE(receipt->currentIndex(), 0);
            sheet->accept();
        });
        window.onCommand(cmd::FilterCustom);
        QCOMPARE(window.entryList()->recordIds().size(), 2);
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpReceipt")), std::optional<quint32>(2));
    }

    void unpaidOnlyAndShowAll() {
        ExpenseEntry paid = test::generalExpense(100);
        paid.status = EntryStatus::Paid;
        ExpenseEntry billable = test::generalExpense(200);
        test::storeExpense(paid);
        test::storeExpense(billable);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.onCommand(cmd::FilterUnpaidOnly);
        QCOMPARE(window.entryList()->recordIds(), QList<quint32>{billable.recordId});
        const platform::Registry& reg = m_env->registry();
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpFlags")), std::optional<quint32>(0x21));
        window.onCommand(cmd::FilterShowAll);
        QCOMPARE(window.entryList()->recordIds().size(), 2);
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpFlags")), std::optional<quint32>(0x35));
    }

    // Ctrl+F is the search box, which narrows the month to the expenses
    // whose description, client, project or note hold the words; Ctrl+Shift+F
    // the filter sheet. The words stay for the next opening, in the box.
    void searchNarrowsTheMonth() {
        ExpenseEntry taxi = test::generalExpense(100);
        taxi.description = QStringLiteral("Taxi");
        taxi.note = QStringLiteral("to the airport");
        ExpenseEntry lunch = test::generalExpense(200);
        test::storeExpense(taxi);
        test::storeExpense(lunch);
        ExpenseFilter filter;
        auto window =
            std::make_unique<ExpenseWindow>(m_env->context(), QFont(), QFont(), nullptr, &filter);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), window->searchBox());
        QTest::keyClicks(window->searchBox(), QStringLiteral("AIRPORT acme"));
        QTRY_COMPARE(window->entryList()->recordIds(), QList<quint32>{taxi.recordId});
        QString opened;
        test::onNextModal([&opened](QDialog* sheet) {
            opened = sheet->objectName();
            sheet->reject();
        });
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(!opened.isEmpty());
        window->onCommand(cmd::FilterShowAll);
        QCOMPARE(window->entryList()->recordIds(), QList<quint32>{taxi.recordId});

        window =
            std::make_unique<ExpenseWindow>(m_env->context(), QFont(), QFont(), nullptr, &filter);
        QCOMPARE(window->searchBox()->text(), QStringLiteral("AIRPORT acme"));
        QCOMPARE(window->entryList()->recordIds(), QList<quint32>{taxi.recordId});
    }

    // A stored order of eleven columns gets 11 to 14 in order; the list
    // stores all fifteen (60 bytes) and its widths when it goes.
    void columnLayoutPersists() {
        Settings& s = m_env->settings();
        s.expListStyle = EntryList::Simple;
        s.expenseCustom2 = QStringLiteral("Vehicle");
        platform::Registry& reg = m_env->registry();
        reg.createKey(kKey);
        reg.writeBytes(kKey, QStringLiteral("ExpColOrder"),
                       indices({10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
        reg.writeNumber(kKey, QStringLiteral("ExpColumn3"), 123);
        QList<int> expected = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 11, 12, 13, 14};
        {
            ExpenseWindow window(m_env->context(), QFont(), QFont());
            auto* list = dynamic_cast<SimpleEntryList*>(window.entryList());
            QVERIFY(list);
            QCOMPARE(list->columnOrder(), expected);
            QCOMPARE(list->columnWidth(3), 123);
            QCOMPARE(list->model()->headerData(14, Qt::Horizontal).toString(),
                     QStringLiteral("Vehicle"));
            QCOMPARE(list->model()->headerData(11, Qt::Horizontal).toString(),
                     QStringLiteral("Receipt"));
            list->header()->moveSection(list->header()->visualIndex(14), 0);
            list->setColumnWidth(1, 77);
        }
        expected.removeLast();
        expected.prepend(14);
        QCOMPARE(reg.readBytes(kKey, QStringLiteral("ExpColOrder")), indices(expected));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("ExpColumn1")), std::optional<quint32>(77));
        // The time entry list's layout is not touched.
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("ColOrder")));
    }

    void contextMenuByStatus_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("markEnabled");
        QTest::addColumn<bool>("billedChecked");
        QTest::addColumn<bool>("paidChecked");
        QTest::newRow("non billable") << 0 << false << false << false;
        QTest::newRow("billed") << 2 << true << true << false;
        QTest::newRow("paid") << 3 << true << true << true;
    }

    void contextMenuByStatus() {
        QFETCH(int, status);
        QFETCH(bool, markEnabled);
        QFETCH(bool, billedChecked);
        QFETCH(bool, paidChecked);
        ExpenseEntry e = test::generalExpense(100);
        e.status = EntryStatus(status);
        test::storeExpense(e);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        std::unique_ptr<EntryContextMenu> menu(window.createContextMenu(e.recordId));
        QCOMPARE(menu->command(cmd::MarkAsBilled)->isEnabled(), markEnabled);
        QCOMPARE(menu->command(cmd::MarkAsPaid)->isEnabled(), markEnabled);
        QCOMPARE(menu->command(cmd::MarkAsBilled)->isChecked(), billedChecked);
        QCOMPARE(menu->command(cmd::MarkAsPaid)->isChecked(), paidChecked);
        // Timers are for time entries.
        QVERIFY(!menu->command(cmd::CreateNewTimer)->isEnabled());
        for (int id : {310, 311, 312, 314, 317, 322})
            QVERIFY2(menu->command(id)->isEnabled(), qPrintable(QString::number(id)));
    }

    void markAndDelete() {
        ExpenseEntry e = test::generalExpense(100);
        test::storeExpense(e);
        ExpenseEntry other = test::generalExpense(300);
        test::storeExpense(other);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.periodView()->reload(1, e.recordId);
        QCOMPARE(window.entryList()->selectedRecordId(), e.recordId);

        const auto statusOf = [&] {
            return int(Expenses(m_env->store()).find(e.recordId)->status);
        };
        window.onCommand(cmd::MarkAsBilled);
        QCOMPARE(statusOf(), int(EntryStatus::Billed));
        window.onCommand(cmd::MarkAsPaid);
        QCOMPARE(statusOf(), int(EntryStatus::Paid));
        const platform::FileTime paidDate = Expenses(m_env->store()).find(e.recordId)->paidDate;
        QCOMPARE(paidDate, platform::Clock::nowFileTime());
        window.onCommand(cmd::MarkAsPaid);
        QCOMPARE(statusOf(), int(EntryStatus::Billed));
        QCOMPARE(Expenses(m_env->store()).find(e.recordId)->paidDate, paidDate);
        window.onCommand(cmd::MarkAsBilled);
        QCOMPARE(statusOf(), int(EntryStatus::Billable));
        QCOMPARE(window.entryList()->selectedRecordId(), e.recordId);

        m_env->ui().queueAnswer(test::Answer::No);
        window.onCommand(cmd::Delete);
        QVERIFY(Expenses(m_env->store()).find(e.recordId));
        QCOMPARE(m_env->ui().shown().last().text, resourceString(24));
        m_env->ui().queueAnswer(test::Answer::Yes);
        window.onCommand(cmd::Delete);
        QVERIFY(!Expenses(m_env->store()).find(e.recordId));
        QCOMPARE(window.entryList()->recordIds(), QList<quint32>{other.recordId});
    }

    // The window's filter is its own, kept by the command that opens it
    // from one opening to the next; another main window starts afresh.
    void filterStaysBetweenOpenings() {
        const auto totalsOf = [](QDialog* window) {
            return window->findChild<QLabel*>(QStringLiteral("expenseTotals"))->text();
        };
        CommandTable first;
        registerExpenseCommands(
            first, m_env->context(), nullptr, [] { return QFont(); }, [] { return QFont(); }, {});
        test::onNextModal([](QDialog* window) {
            static_cast<ExpenseWindow*>(window)->onCommand(cmd::FilterUnpaidOnly);
            window->reject();
        });
        QVERIFY(first.run(cmd::Expenses));
        QString shown;
        test::onNextModal([&](QDialog* window) {
            shown = totalsOf(window);
            window->reject();
        });
        QVERIFY(first.run(cmd::Expenses));
        QVERIFY2(shown.contains(QStringLiteral("(filter: ")), qPrintable(shown));

        CommandTable second;
        registerExpenseCommands(
            second, m_env->context(), nullptr, [] { return QFont(); }, [] { return QFont(); }, {});
        test::onNextModal([&](QDialog* window) {
            shown = totalsOf(window);
            window->reject();
        });
        QVERIFY(second.run(cmd::Expenses));
        QVERIFY2(!shown.contains(QStringLiteral("(filter: ")), qPrintable(shown));
    }

    // The selected expense's marks go the entries' way: a refused write says
    // the store's code and leaves the expense as it was.
    void refusedMarkSaysWhy_data() {
        QTest::addColumn<int>("command");
        QTest::newRow("billed") << int(cmd::MarkAsBilled);
        QTest::newRow("paid") << int(cmd::MarkAsPaid);
    }
    void refusedMarkSaysWhy() {
        QFETCH(int, command);
        ExpenseEntry e = test::generalExpense(100);
        test::storeExpense(e);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.periodView()->reload(1, e.recordId);
        QVERIFY(test::refuseRewriteOf(*m_env->store().objectStore(), e.recordId));
        window.onCommand(command);
        QCOMPARE(m_env->ui().shownTexts().size(), 1);
        QVERIFY(m_env->ui().shownTexts().first().startsWith(QStringLiteral("Error: ")));
        QVERIFY(m_env->ui().shownTexts().first() != QStringLiteral("Error: 0"));
        QCOMPARE(Expenses(m_env->store()).find(e.recordId)->status, e.status);
        QCOMPARE(window.entryList()->selectedRecordId(), e.recordId);
    }

    // Every way to the context menu acts on the selected expense: the keys
    // on the current row, a right click on the row it selects first.
    void contextMenuActsOnTheSelectedExpense_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<test::MenuPath>("path");
        for (const int style : {int(EntryList::Default), int(EntryList::Simple)}) {
            for (const test::MenuPath path : test::AllMenuPaths)
                QTest::addRow("%s, %s", style == EntryList::Default ? "default" : "simple",
                              test::menuPathName(path))
                    << style << path;
        }
    }
    void contextMenuActsOnTheSelectedExpense() {
        QFETCH(int, style);
        QFETCH(test::MenuPath, path);
        m_env->settings().expListStyle = quint32(style);
        for (const int amount : {100, 200, 300}) {
            ExpenseEntry e = test::generalExpense(amount);
            test::storeExpense(e);
        }
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        RowEntryList& list = rowsOf(window);
        const QList<quint32> ids = list.recordIds();
        QCOMPARE(ids.size(), 3);
        auto* view = qobject_cast<QAbstractItemView*>(window.entryList()->widget());
        view->setFocus();
        for (int i = 0; i < 4 && list.selectedRecordId() != ids[2]; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(list.selectedRecordId(), ids[2]);

        const QPoint second = view->visualRect(view->model()->index(1, 0)).center();
        const bool click = path == test::MenuPath::RightClick;
        const quint32 target = click ? ids[1] : ids[2];
        auto shown = std::make_shared<bool>(false);
        m_env->ui().queueAnswer(test::Answer::Yes);
        test::chooseInNextPopup(cmd::Delete, shown);
        test::requestContextMenu(view, path, second);
        QTRY_VERIFY(*shown);
        QTRY_VERIFY(!Expenses(m_env->store()).find(target));
        QCOMPARE(list.recordIds().size(), 2);
        QVERIFY(!list.recordIds().contains(target));
    }

    // The main window's Expenses... opens the window with its list font.
    void openedFromTheMainWindow() {
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        bool opened = false;
        test::onNextModal([&opened](QDialog* dialog) {
            auto* window = qobject_cast<ExpenseWindow*>(dialog);
            QVERIFY(window);
            QVERIFY(window->isSizeGripEnabled());
            QCOMPARE(window->entryList()->widget()->font(),
                     qobject_cast<QWidget*>(dialog->parent())
                         ->findChild<QWidget*>(QStringLiteral("defaultList"))
                         ->font());
            opened = true;
            window->reject();
        });
        QVERIFY(frame.onCommand(cmd::Expenses));
        QVERIFY(opened);
    }

    void exportNoteWritesThePlainText() {
        ExpenseEntry e = test::generalExpense(100);
        e.note = QStringLiteral("Taxi from the airport\nand back");
        test::storeExpense(e);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.periodView()->reload(1, e.recordId);
        const QString path = m_env->filePath(QStringLiteral("note.txt"));
        m_env->ui().queueFile(path);
        m_env->ui().queueFilter(4);
        window.onCommand(cmd::ExportNote);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Taxi from the airport\r\nand back"));
    }
};

TEMPOLATCH_TEST(ExpenseWindowTest);
#include "ExpenseWindowTest.moc"
