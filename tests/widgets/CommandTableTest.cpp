#include "common/TestRegistry.h"
#include "widgets/CommandTable.h"

using namespace tempolatch;

class CommandTableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each way of adding: which ids then run, and with which id the handler is called.
    void addedIdsRunWithTheirOwnId_data() {
        QTest::addColumn<int>("how");  // 0 one id, 1 a list, 2 a range
        QTest::addColumn<QList<int>>("handled");
        QTest::newRow("one id") << 0 << QList<int>{40004};
        QTest::newRow("list") << 1 << QList<int>{1, 1001};
        QTest::newRow("range") << 2 << QList<int>{42100, 42101, 42102};
    }
    void addedIdsRunWithTheirOwnId() {
        QFETCH(int, how);
        QFETCH(QList<int>, handled);
        CommandTable table;
        QList<int> ran;
        const CommandTable::Handler handler = [&ran](int id) { ran.append(id); };
        if (how == 0)
            table.add(handled.first(), handler);
        else if (how == 1)
            table.add({handled.first(), handled.last()}, handler);
        else
            table.addRange(handled.first(), handled.last(), handler);

        for (int id : handled) {
            QVERIFY(table.has(id));
            QVERIFY(table.run(id));
        }
        QCOMPARE(ran, handled);
        // Neighbours of the added ids stay without a handler.
        for (int id : {handled.first() - 1, handled.last() + 1}) {
            QVERIFY(!table.has(id));
            QVERIFY(!table.run(id));
        }
        QCOMPARE(ran, handled);
    }

    void addingAgainReplacesAndEmptyRemoves() {
        CommandTable table;
        QString ran;
        table.add(40003, [&ran](int) { ran += QLatin1Char('a'); });
        table.add(40003, [&ran](int) { ran += QLatin1Char('b'); });
        QVERIFY(table.run(40003));
        QCOMPARE(ran, QStringLiteral("b"));
        table.add(40003, {});
        QVERIFY(!table.has(40003));
        QVERIFY(!table.run(40003));
        QCOMPARE(ran, QStringLiteral("b"));
    }

    void aHandlerMayChangeTheTableWhileItRuns() {
        CommandTable table;
        int runs = 0;
        table.add(1, [&](int) {
            ++runs;
            table.add(1, {});
        });
        QVERIFY(table.run(1));
        QCOMPARE(runs, 1);
        QVERIFY(!table.run(1));
    }
};

TEMPOLATCH_TEST(CommandTableTest);
#include "CommandTableTest.moc"
