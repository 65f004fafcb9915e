#include <QHeaderView>
#include <QStyle>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseRows.h"
#include "platform/Registry.h"
#include "views/ColumnLayout.h"
#include "views/EntryRowModel.h"
#include "views/SimpleEntryList.h"

using namespace tempolatch;

namespace {

const QString kKey = QStringLiteral("Software\\Tempolatch");

// Texts as the time entry rows give them, the longest of a real week.
const QStringList kCells = {"12/17/2026",
                            "Northwind Traders",
                            "Kitchen remodel",
                            "Design",
                            "Site visit",
                            "10.75",
                            "10:45 AM",
                            "Accounts",
                            "PO-2201",
                            "T-17",
                            "Room 4",
                            "11:30 PM",
                            "USD",
                            "185.00",
                            "Overtime",
                            "1,988.75"};

EntryRow rowOf(quint32 id, int columns) {
    EntryRow r;
    r.recordId = id;
    r.status = 1;
    r.keys = {QString(), QString()};
    r.cells = kCells.mid(0, columns);
    return r;
}

void fill(SimpleEntryList& list, int rows, int columns = 16) {
    list.setRedraw(false);
    list.deleteAll();
    for (int i = 1; i <= rows; ++i)
        list.addRow(rowOf(quint32(i), columns), false);
    list.setRedraw(true);
}

// Whether `text` is drawn whole in the column: its advance and the margins
// the style leaves on both sides of an item's text.
bool fits(const SimpleEntryList& list, const QFontMetrics& metrics, const QString& text,
          int column) {
    const int margin =
        list.QTreeView::style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    return metrics.horizontalAdvance(text) + 2 * margin <= list.columnWidth(column);
}

}  // namespace

class SimpleListWidthsTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // In a small, the usual and a large font, every title and every cell is
    // shown whole, and no column is narrower than its 96-dpi width.
    void columnsFitTitlesAndRows_data() {
        QTest::addColumn<bool>("expenses");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("rows");
        QTest::newRow("7 pt") << false << 7 << 3;
        QTest::newRow("10 pt") << false << 10 << 3;
        QTest::newRow("20 pt") << false << 20 << 3;
        QTest::newRow("20 pt, no rows") << false << 20 << 0;
        QTest::newRow("expenses, 10 pt") << true << 10 << 3;
        QTest::newRow("expenses, 20 pt") << true << 20 << 3;
    }
    void columnsFitTitlesAndRows() {
        QFETCH(bool, expenses);
        QFETCH(int, points);
        QFETCH(int, rows);
        const ColumnLayout& columns =
            expenses ? ExpenseRows::columns() : ColumnLayout::timeEntries();
        SimpleEntryList list(columns, m_env->registry());
        QFont font = list.font();
        font.setPointSize(points);
        list.setListFont(font);
        fill(list, rows, columns.count());
        const QFontMetrics metrics(font);
        for (int c = 0; c < columns.count(); ++c) {
            const QString title = list.model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(fits(list, list.header()->fontMetrics(), title, c), qPrintable(title));
            if (rows > 0)
                QVERIFY2(fits(list, metrics, kCells[c], c), qPrintable(kCells[c]));
            QVERIFY(list.columnWidth(c) >= columns.columns[c].width * list.logicalDpiX() / 96);
            QVERIFY(!list.hasChosenWidth(c));
        }
    }

    // A width the user stored or dragged stays, however large the font;
    // only those are written back.
    void theUsersWidthsAreKept() {
        platform::Registry& registry = m_env->registry();
        registry.createKey(kKey);
        registry.writeNumber(kKey, QStringLiteral("Column5"), 30);
        {
            SimpleEntryList list(ColumnLayout::timeEntries(), m_env->registry());
            QFont font = list.font();
            font.setPointSize(20);
            list.setListFont(font);
            fill(list, 2);
            QCOMPARE(list.columnWidth(5), 30);
            QVERIFY(list.hasChosenWidth(5));
            // The user drags the Client column narrower.
            list.header()->resizeSection(1, 120);
            fill(list, 2);
            QCOMPARE(list.columnWidth(1), 120);
        }
        QCOMPARE(registry.readNumber(kKey, QStringLiteral("Column5")), std::optional<quint32>(30));
        QCOMPARE(registry.readNumber(kKey, QStringLiteral("Column1")), std::optional<quint32>(120));
        QCOMPARE(registry.readNumber(kKey, QStringLiteral("Column0")), std::nullopt);
        QCOMPARE(registry.readNumber(kKey, QStringLiteral("Column15")), std::nullopt);
    }
};

TEMPOLATCH_TEST(SimpleListWidthsTest);
#include "SimpleListWidthsTest.moc"
