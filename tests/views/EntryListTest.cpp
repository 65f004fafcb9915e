#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QtEndian>
#include <functional>

#include "common/EnvironmentTest.h"
#include "common/PopupMenu.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "views/ColumnLayout.h"
#include "views/DefaultEntryList.h"
#include "views/EntryListWidget.h"
#include "views/EntryRowModel.h"
#include "views/SimpleEntryList.h"
#include "views/TreeEntryList.h"

using namespace tempolatch;

namespace {

const QString kKey = QStringLiteral("Software\\Tempolatch");

EntryRow row(quint32 id, const QString& key, int day, const QString& task = {}) {
    EntryRow r;
    r.recordId = id;
    r.keys = {QString(), key};
    r.date = platform::FileTime{quint64(day) * platform::FileTime::TicksPerDay};
    r.tieText = task;
    r.lines = {QStringLiteral("line %1").arg(id), task, key};
    for (int c = 0; c < 16; ++c)
        r.cells.append(QStringLiteral("%1/%2").arg(id).arg(c));
    return r;
}

QByteArray indices(const QList<int>& values) {
    QByteArray out(4 * values.size(), '\0');
    for (int i = 0; i < values.size(); ++i)
        qToLittleEndian(qint32(values[i]), out.data() + 4 * i);
    return out;
}

// What a reload does to a list: the same steps in the same order.
void reload(EntryList& list, const QList<EntryRow>& rows, quint32 select = 0, int arrange = 0) {
    list.setRedraw(false);
    list.rememberSelection();
    list.deleteAll();
    for (const EntryRow& r : rows)
        list.addRow(r, r.recordId == select);
    list.sort(arrange);
    list.restoreSelection();
    list.setRedraw(true);
}

}  // namespace

class EntryListTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void arrangeByKeyThenDateThenTie() {
        EntryRowModel model;
        model.append(row(1, QStringLiteral("beta"), 5, QStringLiteral("b")));
        model.append(row(2, QStringLiteral("alpha"), 9, QStringLiteral("a")));
        model.append(row(3, QStringLiteral("beta"), 3, QStringLiteral("z")));
        model.append(row(4, QStringLiteral("beta"), 3, QStringLiteral("c")));
        model.sortRows(1);
        QCOMPARE(model.recordIds(), (QList<quint32>{2, 4, 3, 1}));
        model.sortRows(0);
        QCOMPARE(model.recordIds(), (QList<quint32>{4, 3, 1, 2}));
        QCOMPARE(model.data(model.index(0, 0), EntryRowModel::RecordIdRole).toUInt(), 4u);
    }

    // Rows loaded in date order are arranged within each day, rows out of
    // date order as a whole; rows already in order move nowhere and the
    // views are not told of a new layout.
    void arrangeByDateAfterALoad_data() {
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<QStringList>("ties");
        QTest::addColumn<QList<int>>("expected");
        QTest::addColumn<bool>("moves");
        QTest::newRow("in order") << QList<int>{1, 2, 2, 3} << QStringList{"a", "a", "b", "a"}
                                  << QList<int>{1, 2, 3, 4} << false;
        QTest::newRow("ties reversed in a day")
            << QList<int>{1, 2, 2, 2, 3} << QStringList{"x", "c", "b", "a", "x"}
            << QList<int>{1, 4, 3, 2, 5} << true;
        QTest::newRow("a later day first")
            << QList<int>{3, 1, 1, 2} << QStringList{"a", "b", "a", "a"} << QList<int>{3, 2, 4, 1}
            << true;
        QTest::newRow("equal rows keep their order")
            << QList<int>{1, 1, 1} << QStringList{"a", "a", "a"} << QList<int>{1, 2, 3} << false;
        QTest::newRow("one day, last tie first")
            << QList<int>{5, 5, 5, 5} << QStringList{"b", "c", "d", "a"} << QList<int>{4, 1, 2, 3}
            << true;
        QTest::newRow("last day out of its run")
            << QList<int>{1, 1, 2, 2, 1} << QStringList{"a", "b", "a", "b", "a"}
            << QList<int>{1, 5, 2, 3, 4} << true;
    }
    void arrangeByDateAfterALoad() {
        QFETCH(QList<int>, days);
        QFETCH(QStringList, ties);
        QFETCH(QList<int>, expected);
        QFETCH(bool, moves);
        SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
        auto& model = static_cast<EntryRowModel&>(*list.model());
        QList<EntryRow> rows;
        for (int i = 0; i < days.size(); ++i)
            rows << row(quint32(i + 1), {}, days[i], ties[i]);
        QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
        reload(list, rows, 2);
        QCOMPARE(layouts.size(), moves ? 1 : 0);
        QList<int> ids;
        for (quint32 id : model.recordIds())
            ids << int(id);
        QCOMPARE(ids, expected);
        list.sort(0);
        QCOMPARE(layouts.size(), moves ? 1 : 0);  // arranged already
        QCOMPARE(list.selectedRecordId(), 2u);
    }

    // The selection survives a reload; a row added with the select flag wins.
    void selectionAcrossReloads() {
        DefaultEntryList list(m_env->settings());
        const QList<EntryRow> rows = {row(1, {}, 1), row(2, {}, 2), row(3, {}, 3)};
        reload(list, rows);
        QVERIFY(!list.hasSelection());
        QCOMPARE(list.selectedRecordId(), 0u);
        reload(list, rows, 2);
        QCOMPARE(list.selectedRecordId(), 2u);
        reload(list, {rows[2], rows[1], rows[0]});
        QCOMPARE(list.selectedRecordId(), 2u);
        QCOMPARE(list.currentIndex().row(), 1);
        reload(list, rows, 3);
        QCOMPARE(list.selectedRecordId(), 3u);
        reload(list, {rows[0], rows[1]});
        QVERIFY(!list.hasSelection());
        reload(list, rows, 1);
        list.deleteSelected();
        QCOMPARE(list.recordIds(), (QList<quint32>{2, 3}));
    }

    void defaultListTapsAndRowHeight() {
        DefaultEntryList list(m_env->settings());
        list.resize(300, 400);
        list.show();
        reload(list, {row(1, {}, 1), row(2, {}, 2)});
        QCOMPARE(list.linesPerRow(), 4);
        const int textHeight = list.fontMetrics().height();
        QCOMPARE(list.visualRect(list.model()->index(0, 0)).height(), textHeight * 4 + 1);
        m_env->settings().viewCust[1] = 2;
        QCOMPARE(list.linesPerRow(), 3);

        QSignalSpy tapped(&list.events(), &EntryListEvents::entryTapped);
        QSignalSpy menu(&list.events(), &EntryListEvents::contextMenuRequested);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(tapped.count(), 0);  // nothing selected yet
        const QRect second = list.visualRect(list.model()->index(1, 0));
        // A click selects, a double-click or Enter opens.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(tapped.count(), 0);
        QCOMPARE(list.selectedRecordId(), 2u);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(tapped.count(), 1);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(tapped.count(), 2);

        const QRect first = list.visualRect(list.model()->index(0, 0));
        Q_EMIT list.customContextMenuRequested(first.center());
        QCOMPARE(menu.count(), 1);
        QCOMPARE(list.selectedRecordId(), 1u);
        QCOMPARE(menu.first().first().toPoint(), list.viewport()->mapToGlobal(first.center()));
        // Below the last row there is nothing to open a menu on.
        Q_EMIT list.customContextMenuRequested(QPoint(10, 390));
        QCOMPARE(menu.count(), 1);
    }

    // Shift+arrows select several rows; a right click on one of them keeps
    // them all for the menu, on another row it selects that row alone.
    void severalRowsAndTheMenu() {
        SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
        list.resize(600, 300);
        list.show();
        reload(list, {row(1, {}, 1), row(2, {}, 2), row(3, {}, 3)}, 1);
        QCOMPARE(list.selectedRecordIds(), QList<quint32>{1});
        QTest::keyClick(&list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(list.selectedRecordIds(), (QList<quint32>{1, 2}));
        QCOMPARE(list.selectedRecordId(), 2u);  // the current one
        QSignalSpy menu(&list.events(), &EntryListEvents::contextMenuRequested);
        Q_EMIT list.customContextMenuRequested(list.visualRect(list.model()->index(0, 1)).center());
        QCOMPARE(menu.count(), 1);
        QCOMPARE(list.selectedRecordIds(), (QList<quint32>{1, 2}));
        QCOMPARE(list.selectedRecordId(), 1u);
        Q_EMIT list.customContextMenuRequested(list.visualRect(list.model()->index(2, 1)).center());
        QCOMPARE(list.selectedRecordIds(), QList<quint32>{3});
        QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
        list.deleteSelected();
        QVERIFY(list.recordIds().isEmpty());
    }

    // The custom fields' columns are titled with the names the user gave them.
    void simpleListTitlesTheCustomFields() {
        m_env->settings().custom2 = QStringLiteral("Ticket");
        std::unique_ptr<EntryListWidget> list(EntryListWidget::create(
            EntryList::Simple, ColumnLayout::timeEntries(), m_env->context(), nullptr));
        auto* view = dynamic_cast<SimpleEntryList*>(list.get());
        QVERIFY(view);
        QCOMPARE(view->model()->headerData(8, Qt::Horizontal).toString(),
                 QStringLiteral("Custom 1"));
        QCOMPARE(view->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Ticket"));
        QCOMPARE(view->model()->headerData(12, Qt::Horizontal).toString(),
                 QStringLiteral("Currency"));
    }

    void simpleListColumns() {
        SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
        QHeaderView* header = list.header();
        QCOMPARE(header->count(), 16);
        const QStringList titles = {"Entry Date", "Client",   "Project",    "Phase",
                                    "Task",       "Duration", "Start Time", "Bill To",
                                    "Custom 1",   "Custom 2", "Custom 3",   "End Time",
                                    "Currency",   "Rate",     "Rate Type",  "Amount"};
        for (int c = 0; c < 16; ++c)
            QCOMPARE(list.model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        // The 96-dpi widths are the least (the fitting is SimpleListWidthsTest's).
        const int dpi = list.logicalDpiX();
        QVERIFY(list.columnWidth(0) >= 80 * dpi / 96);
        QVERIFY(list.columnWidth(14) >= 70 * dpi / 96);
        QVERIFY(header->sectionsMovable());
        QCOMPARE(list.model()->data(list.model()->index(0, 5), Qt::TextAlignmentRole), QVariant());
        reload(list, {row(7, {}, 1)});
        QCOMPARE(list.model()->index(0, 3).data().toString(), QStringLiteral("7/3"));
        QCOMPARE(list.model()->index(0, 15).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));

        QSignalSpy command(&list.events(), &EntryListEvents::commandRequested);
        list.show();
        const QPoint cell = list.visualRect(list.model()->index(0, 1)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(command.count(), 0);
        QCOMPARE(list.selectedRecordId(), 7u);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(command.count(), 1);
        QCOMPARE(command.first().first().toInt(), 40063);
    }

    void columnOrderFromOlderVersion() {
        platform::Registry& reg = m_env->registry();
        reg.createKey(kKey);
        reg.writeBytes(kKey, QStringLiteral("ColOrder"),
                       indices({10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
        reg.writeNumber(kKey, QStringLiteral("Column3"), 0x00070000 | 123);
        QList<int> expected = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 11, 12, 13, 14, 15};
        {
            SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
            QCOMPARE(list.columnOrder(), expected);
            QCOMPARE(list.columnWidth(3), 123);
            list.header()->moveSection(list.header()->visualIndex(15), 0);
            list.setColumnWidth(2, 77);
        }
        expected.removeLast();
        expected.prepend(15);
        const auto stored = reg.readBytes(kKey, QStringLiteral("ColOrder"));
        QVERIFY(stored);
        QCOMPARE(*stored, indices(expected));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("Column2")), std::optional<quint32>(77));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("Column3")), std::optional<quint32>(123));
    }

    void unusableColumnOrderKeepsDefaults_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("repeated column") << indices({0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        QTest::newRow("out of range") << indices({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 99});
        QTest::newRow("odd size") << QByteArray(45, '\0');
        QTest::newRow("too long") << indices(QList<int>(17, 0));
        QTest::newRow("empty") << QByteArray();
    }
    void unusableColumnOrderKeepsDefaults() {
        QFETCH(QByteArray, bytes);
        platform::Registry& reg = m_env->registry();
        reg.createKey(kKey);
        reg.writeBytes(kKey, QStringLiteral("ColOrder"), bytes);
        SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
        QList<int> identity;
        for (int c = 0; c < 16; ++c)
            identity.append(c);
        QCOMPARE(list.columnOrder(), identity);
    }

    void treeSharesGroupNodes() {
        TreeEntryList tree;
        auto treeRow = [](quint32 id, QList<TreeNodeText> groups, const QString& task) {
            EntryRow r;
            r.recordId = id;
            r.groups = groups;
            r.node = {task, TreeImageTask};
            r.details = {{QStringLiteral("1.50"), TreeImageStatus + 1}};
            return r;
        };
        const TreeNodeText date{QStringLiteral("12/7/26"), TreeImageDate};
        const TreeNodeText acme{QStringLiteral("Acme"), TreeImageClient};
        const TreeNodeText zeta{QStringLiteral("Zeta"), TreeImageClient};
        const TreeNodeText site{QStringLiteral("Site"), TreeImageProject};
        reload(tree,
               {treeRow(1, {date, zeta, site}, QStringLiteral("Paint")),
                treeRow(2, {date, acme, site}, QStringLiteral("Wire")),
                treeRow(3, {date, zeta, site}, QStringLiteral("Clean")),
                treeRow(4, {date, zeta}, QStringLiteral("Call"))},
               3);
        QCOMPARE(tree.topLevelItemCount(), 1);
        QTreeWidgetItem* day = tree.topLevelItem(0);
        QCOMPARE(day->childCount(), 2);
        QCOMPARE(day->child(0)->text(0), QStringLiteral("Acme"));
        QTreeWidgetItem* zetaNode = day->child(1);
        QCOMPARE(zetaNode->childCount(), 2);
        QCOMPARE(zetaNode->child(0)->text(0), QStringLiteral("Call"));
        QCOMPARE(zetaNode->child(1)->text(0), QStringLiteral("Site"));
        QCOMPARE(zetaNode->child(1)->childCount(), 2);
        QCOMPARE(zetaNode->child(1)->child(0)->text(0), QStringLiteral("Clean"));
        QCOMPARE(tree.itemOf(1)->child(0)->text(0), QStringLiteral("1.50"));
        QCOMPARE(tree.selectedRecordId(), 3u);
        QCOMPARE(tree.recordIds(), (QList<quint32>{2, 4, 3, 1}));

        tree.deleteSelected();
        QCOMPARE(tree.recordIds(), (QList<quint32>{2, 4, 1}));
        tree.setCurrentItem(tree.itemOf(2));
        tree.deleteSelected();
        QCOMPARE(day->childCount(), 1);  // Acme went with its last record

        QVERIFY(tree.runCommand(351));
        QVERIFY(!day->isExpanded());
        QVERIFY(tree.runCommand(350));
        QVERIFY(tree.itemOf(1)->isExpanded());
    }

    // Every way to the context menu acts on the selected row: the Menu key
    // and Shift+F10 on the current row wherever the pointer is (the Simple
    // list's header once moved it to the row above), a right click on the
    // row under the pointer, which it selects first.
    void contextMenuActsOnTheSelectedRow_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<test::MenuPath>("path");
        const std::pair<int, const char*> styles[] = {{EntryList::Default, "default"},
                                                      {EntryList::Simple, "simple"},
                                                      {EntryList::Tree, "tree"}};
        for (const auto& [style, name] : styles) {
            for (const test::MenuPath path : test::AllMenuPaths)
                QTest::addRow("%s, %s", name, test::menuPathName(path)) << style << path;
        }
    }
    void contextMenuActsOnTheSelectedRow() {
        QFETCH(int, style);
        QFETCH(test::MenuPath, path);
        std::unique_ptr<EntryListWidget> list(
            EntryListWidget::create(style, ColumnLayout::timeEntries(), m_env->context(), nullptr));
        auto* view = qobject_cast<QAbstractItemView*>(list->widget());
        QVERIFY(view);
        view->resize(500, 400);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QList<EntryRow> rows;
        for (quint32 id = 1; id <= 6; ++id) {
            EntryRow r = row(id, {}, int(id));
            r.groups = {{QStringLiteral("12/7/26"), TreeImageDate}};
            r.node = {QStringLiteral("Task %1").arg(id), TreeImageTask};
            rows << r;
        }
        reload(*list, rows, 1);
        view->setFocus();
        for (int i = 0; i < 10 && list->selectedRecordId() != 4; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(list->selectedRecordId(), 4u);

        QModelIndex second;
        if (dynamic_cast<TreeEntryList*>(list.get()))
            second = view->model()->index(1, 0, view->model()->index(0, 0));
        else
            second = view->model()->index(1, 0);
        const QPoint pointer = view->visualRect(second).center();
        QSignalSpy menu(&list->events(), &EntryListEvents::contextMenuRequested);
        test::requestContextMenu(view, path, pointer);
        QCOMPARE(menu.count(), 1);
        const bool click = path == test::MenuPath::RightClick;
        QCOMPARE(list->selectedRecordId(), click ? 2u : 4u);
        // The menu opens at the row it is for.
        const QRect chosen = view->visualRect(view->currentIndex());
        QVERIFY(chosen.contains(view->viewport()->mapFromGlobal(menu.first().first().toPoint())));
    }

    // Groups are opened once the list is filled; the tree must come out
    // as it did when each group opened as it was made: the same nodes in
    // the same order, every group open, records closed over their details.
    // A row added on its own (no reload around it) opens its groups at once.
    void treeRowsAndExpansionAfterAReload() {
        auto row = [](quint32 id, const QStringList& groups, const QString& task) {
            EntryRow r;
            r.recordId = id;
            const int images[] = {TreeImageDate, TreeImageClient, TreeImageProject};
            for (int i = 0; i < groups.size(); ++i)
                r.groups.append({groups[i], images[i]});
            r.node = {task, TreeImageTask};
            r.details = {{QStringLiteral("1.50"), TreeImageStatus + 1},
                         {QStringLiteral("Note"), TreeImageStatus + 2}};
            return r;
        };
        const QString d1 = QStringLiteral("12/7/26");
        const QString d2 = QStringLiteral("12/8/26");
        const QList<EntryRow> rows = {
            row(1, {d1, QStringLiteral("Zeta"), QStringLiteral("Site")}, QStringLiteral("Paint")),
            row(2, {d1, QStringLiteral("Acme"), QStringLiteral("Web")}, QStringLiteral("Wire")),
            row(3, {d2, QStringLiteral("Zeta")}, QStringLiteral("Call")),
            row(4, {d1, QStringLiteral("Zeta"), QStringLiteral("Site")}, QStringLiteral("Clean")),
            row(5, {d2, QStringLiteral("\u00c4rzte"), QStringLiteral("Praxis")},
                QStringLiteral("Visit")),
            row(6, {d1, QStringLiteral("Acme"), QStringLiteral("App")}, QStringLiteral("Test"))};
        const QStringList expected = {
            QStringLiteral("12/7/26 +"),    QStringLiteral(". Acme +"),
            QStringLiteral(". . App +"),    QStringLiteral(". . . Test"),
            QStringLiteral(". . . . 1.50"), QStringLiteral(". . . . Note"),
            QStringLiteral(". . Web +"),    QStringLiteral(". . . Wire"),
            QStringLiteral(". . . . 1.50"), QStringLiteral(". . . . Note"),
            QStringLiteral(". Zeta +"),     QStringLiteral(". . Site +"),
            QStringLiteral(". . . Clean"),  QStringLiteral(". . . . 1.50"),
            QStringLiteral(". . . . Note"), QStringLiteral(". . . Paint"),
            QStringLiteral(". . . . 1.50"), QStringLiteral(". . . . Note"),
            QStringLiteral("12/8/26 +"),    QStringLiteral(". \u00c4rzte +"),
            QStringLiteral(". . Praxis +"), QStringLiteral(". . . Visit"),
            QStringLiteral(". . . . 1.50"), QStringLiteral(". . . . Note"),
            QStringLiteral(". Zeta +"),     QStringLiteral(". . Call"),
            QStringLiteral(". . . 1.50"),   QStringLiteral(". . . Note")};
        auto listing = [](const TreeEntryList& tree) {
            QStringList lines;
            std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* item,
                                                                        int depth) {
                lines << QStringLiteral(". ").repeated(depth) + item->text(0) +
                             (item->isExpanded() ? QStringLiteral(" +") : QString());
                for (int i = 0; i < item->childCount(); ++i)
                    walk(item->child(i), depth + 1);
            };
            for (int i = 0; i < tree.topLevelItemCount(); ++i)
                walk(tree.topLevelItem(i), 0);
            return lines;
        };

        TreeEntryList reloaded;
        reload(reloaded, rows, 4);
        QCOMPARE(listing(reloaded), expected);
        QCOMPARE(reloaded.selectedRecordId(), 4u);
        // A second reload starts from nothing and ends the same.
        reload(reloaded, rows, 4);
        QCOMPARE(listing(reloaded), expected);

        TreeEntryList oneByOne;
        for (const EntryRow& r : rows)
            oneByOne.addRow(r, false);
        QCOMPARE(listing(oneByOne), expected);
    }

    void treeGestures() {
        TreeEntryList tree;
        tree.resize(300, 300);
        tree.show();
        EntryRow r;
        r.recordId = 9;
        r.groups = {{QStringLiteral("12/7/26"), TreeImageDate}};
        r.node = {QStringLiteral("Task"), TreeImageTask};
        reload(tree, {r});
        QSignalSpy command(&tree.events(), &EntryListEvents::commandRequested);
        QSignalSpy menu(&tree.events(), &EntryListEvents::contextMenuRequested);
        const QRect task = tree.visualItemRect(tree.itemOf(9));
        QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, task.center());
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, task.center());
        QCOMPARE(command.count(), 1);
        QCOMPARE(command.first().first().toInt(), 40063);
        tree.clearSelection();
        Q_EMIT tree.customContextMenuRequested(task.center());
        QCOMPARE(menu.count(), 1);
        QCOMPARE(tree.selectedRecordId(), 9u);
        std::unique_ptr<QMenu> own(tree.createTreeMenu(nullptr));
        QCOMPARE(own->actions().size(), 2);
        QCOMPARE(own->actions().at(0)->text(), QStringLiteral("Expand All"));
        QCOMPARE(own->actions().at(1)->text(), QStringLiteral("Collapse All"));
    }
};

TEMPOLATCH_TEST(EntryListTest);
#include "EntryListTest.moc"
