#include "clients/ClientsTestSupport.h"
#include "clients/FieldReplacement.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"
#include "store/Lists.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

QString sortedJoin(QStringList items) {
    std::sort(items.begin(), items.end());
    return items.join(QStringLiteral(", "));
}

// The client structure and the lists the tests touch, one client a line:
// "name: project/task pairs | tasks | contacts | rate=value", then the
// phase and custom 1 lists.
QString structureText() {
    QStringList lines;
    for (const Client& c : listClients(structure().clients)) {
        QStringList rates;
        for (const Rate& r : listRates(structure().rates, c.clientId))
            rates.append(r.description + QLatin1Char('=') + QString::number(r.rate));
        lines.append(c.name + QStringLiteral(": ") + sortedJoin(projectPairs(c.clientId)) +
                     QStringLiteral(" | ") + sortedJoin(listTasks(structure().tasks, c.clientId)) +
                     QStringLiteral(" | ") +
                     sortedJoin(listContacts(structure().contacts, c.clientId)) +
                     QStringLiteral(" | ") + sortedJoin(rates));
    }
    Lists lists(TestEnvironment::current().store().objectStore());
    lines.append(QStringLiteral("Phase: ") + sortedJoin(lists.texts(ListKind::Phase)) +
                 QStringLiteral(" | Custom 1: ") + sortedJoin(lists.texts(ListKind::Custom1)));
    return lines.join(QLatin1Char('\n'));
}

// One field of every entry, in date order.
QString entryColumn(QString TimeEntry::*field) {
    QStringList values;
    for (const TimeEntry& e : allEntries())
        values.append(e.*field);
    return values.join(QLatin1Char(','));
}

void addEntry(int day, const QStringList& fields) {
    TimeEntry e;
    e.date = at(2026, 11, day, 9);
    e.client = fields.value(0);
    e.project = fields.value(1);
    e.task = fields.value(2);
    e.phase = fields.value(3);
    e.billTo = fields.value(4);
    e.custom1 = fields.value(5);
    e.modified = at(2026, 11, day, 18);
    QCOMPARE(TimeEntries(TestEnvironment::current().store()).add(e), WriteResult::Written);
}

const QString Baseline = QStringLiteral(
    "Acme: App/, Web/Build, Web/Design | Design, Support | Jane, Joe | Rush=9000, Std=6000\n"
    "Acme Inc: Web/Build, Web/Deploy | Support | Joe | Std=7000\n"
    "Bolt: Site/Design, Site/Test, Web/Design | Design | Jane | \n"
    "Phase: Alpha, Beta | Custom 1: c1");

}  // namespace

class FieldReplacementTest : public EnvironmentTest {
    Q_OBJECT

    void seed() {
        const Client acme = seedClient(QStringLiteral("Acme"), {"Web/Design", "Web/Build", "App"},
                                       {"Support", "Design"}, {"Jane", "Joe"});
        seedRate(acme.clientId, QStringLiteral("Std"), RateType::Normal, 6000);
        seedRate(acme.clientId, QStringLiteral("Rush"), RateType::Overtime, 9000);
        const Client inc = seedClient(QStringLiteral("Acme Inc"), {"Web/Build", "Web/Deploy"},
                                      {"Support"}, {"Joe"});
        seedRate(inc.clientId, QStringLiteral("Std"), RateType::Normal, 7000);
        seedClient(QStringLiteral("Bolt"), {"Web/Design", "Site/Design", "Site/Test"}, {"Design"},
                   {"Jane"});
        seedRate(0, QStringLiteral("Default"), RateType::Normal, 5000);
        Lists lists(m_env->store().objectStore());
        lists.add(ListKind::Phase, QStringLiteral("Alpha"));
        lists.add(ListKind::Phase, QStringLiteral("Beta"));
        lists.add(ListKind::Custom1, QStringLiteral("c1"));
        addEntry(2, {"Acme", "Web", "Design", "Alpha", "Jane", "c1"});
        addEntry(3, {"Bolt", "Web", "Design", "Beta", "Jane"});
        addEntry(4, {"Acme", "App", "Support", "Alpha", "Joe"});
        addEntry(5, {"acme", "web", "design", "alpha", "jane"});
        addEntry(6, {"Acme Inc", "Web", "Build", "Beta", "Joe"});
        QCOMPARE(structureText(), Baseline);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        seed();
    }

    // Which records take the new name, which merge, and which entries
    // change (exact, case-sensitive comparison).
    void replacing_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("structure");
        QTest::addColumn<QString>("entries");  // the replaced field of every entry
        QTest::addColumn<int>("changed");
        const auto F = [](ReplaceField f) { return int(f); };

        QTest::newRow("client renamed")
            << F(ReplaceField::Client) << "Bolt"
            << "Volt" << QString(Baseline).replace(QStringLiteral("Bolt:"), QStringLiteral("Volt:"))
            << "Acme,Volt,Acme,acme,Acme Inc" << 1;
        QTest::newRow("client merged into existing")
            << F(ReplaceField::Client) << "Acme"
            << "Acme Inc"
            << "Acme Inc: App/, Web/Build, Web/Deploy, Web/Design | Design, Support | Jane, Joe | "
               "Rush=9000, Std=7000\n"
               "Bolt: Site/Design, Site/Test, Web/Design | Design | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Acme Inc,Bolt,Acme Inc,acme,Acme Inc" << 2;
        QTest::newRow("task: client tasks, not project tasks")
            << F(ReplaceField::Task) << "Design"
            << "Drafting"
            << "Acme: App/, Web/Build, Web/Design | Drafting, Support | Jane, Joe | Rush=9000, "
               "Std=6000\n"
               "Acme Inc: Web/Build, Web/Deploy | Support | Joe | Std=7000\n"
               "Bolt: Site/Design, Site/Test, Web/Design | Drafting | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Drafting,Drafting,Support,design,Build" << 2;
        QTest::newRow("project-task: project tasks, not client tasks")
            << F(ReplaceField::ProjectTask) << "Design"
            << "Drafting"
            << "Acme: App/, Web/Build, Web/Drafting | Design, Support | Jane, Joe | Rush=9000, "
               "Std=6000\n"
               "Acme Inc: Web/Build, Web/Deploy | Support | Joe | Std=7000\n"
               "Bolt: Site/Drafting, Site/Test, Web/Drafting | Design | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Drafting,Drafting,Support,design,Build" << 2;
        QTest::newRow("task merged where the client has it")
            << F(ReplaceField::Task) << "Support"
            << "Design"
            << "Acme: App/, Web/Build, Web/Design | Design | Jane, Joe | Rush=9000, Std=6000\n"
               "Acme Inc: Web/Build, Web/Deploy | Design | Joe | Std=7000\n"
               "Bolt: Site/Design, Site/Test, Web/Design | Design | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Design,Design,Design,design,Build" << 1;
        QTest::newRow("project-task merged where the pair exists")
            << F(ReplaceField::ProjectTask) << "Build"
            << "Design"
            << "Acme: App/, Web/Design | Design, Support | Jane, Joe | Rush=9000, Std=6000\n"
               "Acme Inc: Web/Deploy, Web/Design | Support | Joe | Std=7000\n"
               "Bolt: Site/Design, Site/Test, Web/Design | Design | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Design,Design,Support,design,Design" << 1;
        QTest::newRow("project renamed")
            << F(ReplaceField::Project) << "App"
            << "Mobile"
            << QString(Baseline).replace(QStringLiteral("App/"), QStringLiteral("Mobile/"))
            << "Web,Web,Mobile,web,Web" << 1;
        QTest::newRow("project merged, pairs kept once")
            << F(ReplaceField::Project) << "Web"
            << "Site"
            << "Acme: App/, Site/Build, Site/Design | Design, Support | Jane, Joe | Rush=9000, "
               "Std=6000\n"
               "Acme Inc: Site/Build, Site/Deploy | Support | Joe | Std=7000\n"
               "Bolt: Site/Design, Site/Test | Design | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Site,Site,App,web,Site" << 3;
        QTest::newRow("empty project merged into one with tasks")
            << F(ReplaceField::Project) << "App"
            << "Web" << QString(Baseline).replace(QStringLiteral("App/, "), QString())
            << "Web,Web,Web,web,Web" << 1;
        QTest::newRow("phase renamed") << F(ReplaceField::Phase) << "Alpha"
                                       << "Gamma"
                                       << QString(Baseline).replace(QStringLiteral("Alpha, Beta"),
                                                                    QStringLiteral("Beta, Gamma"))
                                       << "Gamma,Beta,Gamma,alpha,Beta" << 2;
        QTest::newRow("phase merged")
            << F(ReplaceField::Phase) << "Alpha"
            << "Beta"
            << QString(Baseline).replace(QStringLiteral("Alpha, Beta"), QStringLiteral("Beta"))
            << "Beta,Beta,Beta,alpha,Beta" << 2;
        QTest::newRow("value only the entries have")
            << F(ReplaceField::Phase) << "alpha"
            << "Delta" << Baseline << "Alpha,Beta,Alpha,Delta,Beta" << 1;
        QTest::newRow("bill to merged")
            << F(ReplaceField::BillTo) << "Joe"
            << "Jane"
            << "Acme: App/, Web/Build, Web/Design | Design, Support | Jane | Rush=9000, Std=6000\n"
               "Acme Inc: Web/Build, Web/Deploy | Support | Jane | Std=7000\n"
               "Bolt: Site/Design, Site/Test, Web/Design | Design | Jane | \n"
               "Phase: Alpha, Beta | Custom 1: c1"
            << "Jane,Jane,Jane,jane,Jane" << 2;
        QTest::newRow("custom 1") << F(ReplaceField::Custom1) << "c1"
                                  << "k1"
                                  << QString(Baseline).replace(QStringLiteral("Custom 1: c1"),
                                                               QStringLiteral("Custom 1: k1"))
                                  << "k1,,,," << 1;
        QTest::newRow("replacement cut to 127")
            << F(ReplaceField::Custom1) << "c1" << QString(130, QLatin1Char('k'))
            << QString(Baseline).replace(
                   QStringLiteral("Custom 1: c1"),
                   QStringLiteral("Custom 1: ") + QString(127, QLatin1Char('k')))
            << QString(127, QLatin1Char('k')) + QStringLiteral(",,,,") << 1;
    }
    void replacing() {
        QFETCH(int, field);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, structure);
        QFETCH(QString, entries);
        QFETCH(int, changed);
        const auto now = at(2026, 12, 7, 10);
        int walked = 0;
        const ReplaceOutcome outcome = replaceFieldText(m_env->store(), ReplaceField(field), find,
                                                        replacement, now, [&] { ++walked; });
        QVERIFY(outcome.ok);
        QCOMPARE(outcome.entriesChanged, changed);
        QCOMPARE(walked, 5);
        QCOMPARE(structureText(), structure);
        static QString TimeEntry::*const members[] = {&TimeEntry::client,
                                                      &TimeEntry::project,
                                                      &TimeEntry::phase,
                                                      &TimeEntry::task,
                                                      nullptr,
                                                      &TimeEntry::billTo,
                                                      &TimeEntry::custom1,
                                                      nullptr,
                                                      nullptr,
                                                      &TimeEntry::task};
        QCOMPARE(entryColumn(members[field]), entries);
        // Changed entries carry the time of the change; the others keep theirs.
        int stamped = 0;
        for (const TimeEntry& e : allEntries())
            stamped += e.modified == now ? 1 : 0;
        QCOMPARE(stamped, changed);
        // The default rate set belongs to no client and stays.
        QCOMPARE(rateDescriptions(0), QStringList{QStringLiteral("Default")});
    }

    void existingValues_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("client") << int(ReplaceField::Client)
                                << QStringList{"Acme", "Acme Inc", "Bolt"};
        QTest::newRow("project") << int(ReplaceField::Project) << QStringList{"App", "Site", "Web"};
        QTest::newRow("task") << int(ReplaceField::Task) << QStringList{"Design", "Support"};
        QTest::newRow("project-task")
            << int(ReplaceField::ProjectTask) << QStringList{"Build", "Deploy", "Design", "Test"};
        QTest::newRow("bill to") << int(ReplaceField::BillTo) << QStringList{"Jane", "Joe"};
        QTest::newRow("phase") << int(ReplaceField::Phase) << QStringList{"Alpha", "Beta"};
        QTest::newRow("currency") << int(ReplaceField::Currency) << QStringList();
    }
    void existingValues() {
        QFETCH(int, field);
        QFETCH(QStringList, expected);
        QCOMPARE(tempolatch::existingValues(m_env->store(), ReplaceField(field)), expected);
    }

    // A failure part-way, in the structure or in the walk over the
    // entries, leaves everything as it was.
    void failureChangesNothing_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("refusal");  // "rates": adding rates; else the nth entry
        QTest::newRow("merge refused at the rates") << int(ReplaceField::Client) << "Acme"
                                                    << "Acme Inc"
                                                    << "rates";
        QTest::newRow("third matching entry refused") << int(ReplaceField::Phase) << "Beta"
                                                      << "Gamma"
                                                      << "5";
        QTest::newRow("entry refused after structure renames")
            << int(ReplaceField::Task) << "Design"
            << "Drafting"
            << "2";
    }
    void failureChangesNothing() {
        QFETCH(int, field);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, refusal);
        platform::ObjectStore& objects = *m_env->store().objectStore();
        if (refusal == QLatin1String("rates")) {
            QVERIFY(refuseWrites(objects, "Tempolatch Rates"));
        } else {
            const quint32 refused = allEntries().at(refusal.toInt() - 1).recordId;
            QVERIFY(test::sqliteOf(objects).exec(
                QStringLiteral("CREATE TEMP TRIGGER refuse_one BEFORE UPDATE ON main.records "
                               "WHEN NEW.id = %1 BEGIN SELECT RAISE(ABORT, 'refused'); END;")
                    .arg(refused)
                    .toUtf8()
                    .constData()));
        }
        const QString before = storeSnapshot();
        const ReplaceOutcome outcome = replaceFieldText(m_env->store(), ReplaceField(field), find,
                                                        replacement, at(2026, 12, 7, 10));
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.error != 0);
        QCOMPARE(storeSnapshot(), before);
        QCOMPARE(structureText(), Baseline);
        QVERIFY(!objects.inBatch());
    }
};

TEMPOLATCH_TEST(FieldReplacementTest);
#include "FieldReplacementTest.moc"
