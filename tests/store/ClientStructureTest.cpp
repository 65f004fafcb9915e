#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "store/Client.h"
#include "store/ClientIdCounter.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/ListsDatabase.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/StoreTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;

class ClientStructureTest : public test::EnvironmentTest {
    Q_OBJECT

    ClientStructureStore& structure() { return m_env->store().clientStructure(); }
    ClientsDatabase& clients() { return structure().clients; }
    ProjectsDatabase& projects() { return structure().projects; }
    RatesDatabase& rates() { return structure().rates; }

    quint32 newClient(const QString& name) {
        Client c{0, name, 0};
        return addClient(clients(), c) ? c.clientId : 0;
    }

    Rate rateOf(quint32 clientId, const QString& description, RateType type, qint32 value) {
        Rate r;
        r.clientId = clientId;
        r.description = description;
        r.rateType = type;
        r.rate = value;
        r.modified = test::at(2026, 12, 7, 10);
        return r;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // Adds tell a write from a value that was there already (or empty), so
    // that a save can tell both from a refusal.
    void addsReportWhetherTheyWrote() {
        ClientStructure s(structure());
        Client acme{0, QStringLiteral("Acme"), 0};
        QCOMPARE(s.addClient(acme), WriteResult::Written);
        Client again{0, QStringLiteral("Acme"), 0};
        QCOMPARE(s.addClient(again), WriteResult::Unchanged);
        QCOMPARE(again.clientId, acme.clientId);
        QCOMPARE(again.recordId, acme.recordId);
        Client none;
        QCOMPARE(s.addClient(none), WriteResult::Unchanged);
        QCOMPARE(none.clientId, 0u);

        const quint32 id = acme.clientId;
        QCOMPARE(s.addProjectTask(id, "Web", "Design"), WriteResult::Written);
        QCOMPARE(s.addProjectTask(id, "Web", "Design"), WriteResult::Unchanged);
        QCOMPARE(s.addProjectTask(id, QString(), "Design"), WriteResult::Unchanged);
        QCOMPARE(s.tasks().add(id, "Support"), WriteResult::Written);
        QCOMPARE(s.tasks().add(id, "Support"), WriteResult::Unchanged);
        QCOMPARE(s.contacts().add(id, QString()), WriteResult::Unchanged);
        QCOMPARE(s.contacts().add(id, "Ann"), WriteResult::Written);

        Lists lists(m_env->store().objectStore());
        QCOMPARE(lists.add(ListKind::Phase, "Draft"), WriteResult::Written);
        QCOMPARE(lists.add(ListKind::Phase, "Draft"), WriteResult::Unchanged);
        QCOMPARE(lists.add(ListKind::Currency, "Draft"), WriteResult::Written);
        QCOMPARE(lists.add(ListKind::Phase, QString()), WriteResult::Unchanged);
        QCOMPARE(lists.texts(ListKind::Phase), QStringList{"Draft"});
    }

    void recordsByIdAreFoundAndRewritten() {
        ClientStructure s(structure());
        Client acme{0, QStringLiteral("Acme"), 0};
        QCOMPARE(s.addClient(acme), WriteResult::Written);
        QCOMPARE(s.renameClient(acme.recordId, "Acme Ltd"), WriteResult::Written);
        QCOMPARE(s.findClient(acme.recordId)->name, QStringLiteral("Acme Ltd"));
        QVERIFY(!s.findClient(0));

        QCOMPARE(s.addProjectTask(acme.clientId, "Web", "Design"), WriteResult::Written);
        Project web = s.projectsOf(acme.clientId)->first();
        QCOMPARE(s.findProject(web.recordId)->task, QStringLiteral("Design"));
        web.task = "Build";
        QCOMPARE(s.updateProject(web), WriteResult::Written);
        QCOMPARE(s.findProject(web.recordId)->task, QStringLiteral("Build"));
        QVERIFY(projects().deleteRecord(web.recordId));
        QCOMPARE(s.updateProject(web), WriteResult::NotFound);

        Lists lists(m_env->store().objectStore());
        QCOMPARE(lists.add(ListKind::Custom1, "Blue"), WriteResult::Written);
        ListsByKind byKind(m_env->store().objectStore());
        QVERIFY(byKind.open());
        const ListItem blue = byKind.listAll(ListKind::Custom1).first();
        QCOMPARE(lists.find(blue.recordId)->text, QStringLiteral("Blue"));
        QCOMPARE(lists.update({QStringLiteral("Green"), blue.recordId}), WriteResult::Written);
        QCOMPARE(lists.texts(ListKind::Custom1), QStringList{"Green"});
        QCOMPARE(lists.remove(blue.recordId), WriteResult::Written);
        QVERIFY(!lists.find(blue.recordId));
        QCOMPARE(lists.remove(blue.recordId), WriteResult::NotFound);
    }

    void clientsGetGrowingIdsAndUniqueNames() {
        QCOMPARE(newClient(QStringLiteral("Zeta")), 1u);
        QCOMPARE(newClient(QStringLiteral("acme")), 2u);
        QCOMPARE(newClient(QStringLiteral("Acme")), 3u);

        Client dup{0, QStringLiteral("Acme"), 0};
        QCOMPARE(addClient(clients(), dup), 0u);
        QCOMPARE(dup.clientId, 0u);
        Client empty;
        QCOMPARE(addClient(clients(), empty), 0u);
        QCOMPARE(findClientId(clients(), QStringLiteral("Acme")), 3u);
        QCOMPARE(findClientId(clients(), QStringLiteral("ACME")), NoClientId);

        QStringList names;
        for (const Client& c : listClients(clients()))
            names.append(c.name);
        QCOMPARE(names, (QStringList{QStringLiteral("acme"), QStringLiteral("Acme"),
                                     QStringLiteral("Zeta")}));
        QCOMPARE(ClientIdCounter(m_env->store().objectStore()).peek(), 4u);
    }

    void clientRecordsAndRename() {
        Client c{0, QStringLiteral("Beta"), 0};
        const quint32 record = addClient(clients(), c);
        QVERIFY(record != 0);
        QCOMPARE(test::idsOf(test::rawRecord(clients(), record)),
                 (QList<quint32>{prop::ClientId, prop::ClientName}));
        QCOMPARE(clientIdOfRecord(clients(), record), c.clientId);
        QCOMPARE(clientIdOfRecord(clients(), record + 1000), 0u);
        QVERIFY(clients().seekRecord(record));
        QVERIFY(renameClient(clients(), QStringLiteral("Gamma")));
        QCOMPARE(findClientId(clients(), QStringLiteral("Gamma")), c.clientId);
        QCOMPARE(findClientId(clients(), QStringLiteral("Beta")), NoClientId);
    }

    void longNamesAreCutTo127() {
        const QString longName(200, QLatin1Char('x'));
        const quint32 id = newClient(longName);
        QCOMPARE(listClients(clients()).first().name.size(), 127);
        QCOMPARE(findClientId(clients(), longName), id);
        addContact(structure().contacts, id, longName);
        QVERIFY(contactExists(structure().contacts, id, longName));
        QCOMPARE(addContact(structure().contacts, id, longName.left(127)), 0u);
    }

    void missingCounterGivesNoClient() {
        ListsByKind lists(m_env->store().objectStore());
        QVERIFY(lists.open());
        QVERIFY(lists.seekFirst(Property::ui2(prop::ListKind, 0)) != 0);
        QVERIFY(lists.deleteCurrent());
        Client c{0, QStringLiteral("Orphan"), 0};
        QCOMPARE(addClient(clients(), c), 0u);
        QCOMPARE(c.clientId, 0u);
        QCOMPARE(clients().recordCount(), 0);
    }

    void firstClientAfterDeletingAllDataIsOne() {
        newClient(QStringLiteral("A"));
        newClient(QStringLiteral("B"));
        QVERIFY(m_env->store().deleteAllData());
        QCOMPARE(newClient(QStringLiteral("C")), 1u);
    }

    void projectTaskPairs() {
        const quint32 acme = newClient(QStringLiteral("Acme"));
        const quint32 other = newClient(QStringLiteral("Other"));
        const QString web = QStringLiteral("Web");
        QVERIFY(addProjectTask(projects(), acme, web, QStringLiteral("Design")) != 0);
        QCOMPARE(addProjectTask(projects(), acme, web, QStringLiteral("Design")), 0u);
        QVERIFY(addProjectTask(projects(), acme, web, QStringLiteral("design")) != 0);
        QVERIFY(addProjectTask(projects(), acme, web, QString()) != 0);
        QCOMPARE(addProjectTask(projects(), acme, web, QString()), 0u);
        QCOMPARE(addProjectTask(projects(), acme, QString(), QStringLiteral("Loose")), 0u);
        QVERIFY(addProjectTask(projects(), acme, QStringLiteral("WEB"), QString()) != 0);
        QVERIFY(addProjectTask(projects(), other, QStringLiteral("App"), QStringLiteral("Code")));
        QVERIFY(addProjectTask(projects(), other, web, QStringLiteral("Host")));
        QCOMPARE(projects().recordCount(), 6);

        QVERIFY(projectTaskExists(projects(), acme, web, QString()));
        QVERIFY(!projectTaskExists(projects(), other, web, QStringLiteral("Design")));
        QCOMPARE(listProjects(projects(), acme), (QStringList{web, QStringLiteral("WEB")}));
        QCOMPARE(listProjects(projects(), std::nullopt).size(), 3);
        QCOMPARE(listProjectTasks(projects(), acme, web),
                 (QStringList{QStringLiteral("Design"), QStringLiteral("design")}));

        QVERIFY(deleteProject(projects(), acme, web));
        QCOMPARE(listProjects(projects(), acme), QStringList{QStringLiteral("WEB")});
        QVERIFY(projectTaskExists(projects(), other, web, QStringLiteral("Host")));
        deleteProjectsOfClient(projects(), other);
        QCOMPARE(projects().recordCount(), 1);
    }

    // What an import adds to a client: each name it lacks once, whatever
    // another client has, the file's own repeats, empty names and names that
    // are the same once cut to the stored length.
    void addMissingAddsEachNameOnce() {
        ClientStructure s(structure());
        const quint32 acme = newClient(QStringLiteral("Acme"));
        const quint32 other = newClient(QStringLiteral("Other"));
        const QString longName = QString(MaxNameLength, QLatin1Char('L'));
        QVERIFY(s.tasks().add(acme, QStringLiteral("Admin")) == WriteResult::Written);
        QVERIFY(s.tasks().add(other, QStringLiteral("Travel")) == WriteResult::Written);
        QVERIFY(s.addProjectTask(acme, QStringLiteral("Web"), QStringLiteral("Design")) ==
                WriteResult::Written);
        QVERIFY(s.addProjectTask(other, QStringLiteral("Web"), QStringLiteral("Build")) ==
                WriteResult::Written);

        QCOMPARE(s.tasks().addMissing(acme, {"Admin", "Travel", "", "Travel", longName,
                                             longName + QStringLiteral("more")}),
                 WriteResult::Written);
        QCOMPARE(listTasks(structure().tasks, acme), (QStringList{"Admin", "Travel", longName}));
        QCOMPARE(s.tasks().addMissing(acme, {"Admin", "Travel"}), WriteResult::Unchanged);

        const QList<std::pair<QString, QString>> pairs{
            {"Web", "Design"}, {"Web", "Build"}, {"Web", ""}, {"", "Orphan"}, {"Web", "Build"}};
        QCOMPARE(s.addMissingProjectTasks(acme, pairs), WriteResult::Written);
        QCOMPARE(listProjectTasks(projects(), acme, QStringLiteral("Web")),
                 (QStringList{"Design", "Build"}));
        QCOMPARE(s.projectsOf(acme)->size(), 3);  // with the project-only record "Web"/""
        QCOMPARE(s.addMissingProjectTasks(acme, pairs), WriteResult::Unchanged);
        QCOMPARE(s.projectsOf(other)->size(), 1);
    }

    void projectRenamesTouchOneRecord() {
        const quint32 acme = newClient(QStringLiteral("Acme"));
        const quint32 id =
            addProjectTask(projects(), acme, QStringLiteral("Old"), QStringLiteral("T"));
        QVERIFY(projects().seekRecord(id));
        QVERIFY(renameProject(projects(), QStringLiteral("New")));
        QVERIFY(renameProjectTask(projects(), QStringLiteral("T2")));
        Project p;
        QCOMPARE(readProject(projects(), p), ReadResult::Read);
        QCOMPARE(p.project, QStringLiteral("New"));
        QCOMPARE(p.task, QStringLiteral("T2"));
        QVERIFY(updateProjectTask(projects(), acme, QStringLiteral("P3"), QString()));
        QCOMPARE(projectRecords(projects(), acme).first().project, QStringLiteral("P3"));
        QCOMPARE(test::idsOf(test::rawRecord(projects(), id)),
                 (QList<quint32>{prop::ClientId, prop::StructureName, prop::TaskName}));
    }

    void tasksAndContacts_data() {
        QTest::addColumn<bool>("contacts");
        QTest::newRow("tasks") << false;
        QTest::newRow("contacts") << true;
    }
    void tasksAndContacts() {
        QFETCH(bool, contacts);
        RecordDatabase& db = contacts ? static_cast<RecordDatabase&>(structure().contacts)
                                      : static_cast<RecordDatabase&>(structure().tasks);
        const quint32 a = newClient(QStringLiteral("A"));
        const quint32 b = newClient(QStringLiteral("B"));
        QVERIFY(clientnames::add(db, a, QStringLiteral("Jane")) != 0);
        QCOMPARE(clientnames::add(db, a, QStringLiteral("Jane")), 0u);
        QCOMPARE(clientnames::add(db, a, QString()), 0u);
        QVERIFY(clientnames::add(db, a, QStringLiteral("jane")) != 0);
        QVERIFY(clientnames::add(db, b, QStringLiteral("Jane")) != 0);
        QCOMPARE(clientnames::list(db, a),
                 (QStringList{QStringLiteral("Jane"), QStringLiteral("jane")}));
        QVERIFY(!clientnames::exists(db, b, QStringLiteral("jane")));

        const ClientName first = clientnames::records(db, a).first();
        QVERIFY(db.seekRecord(first.recordId));
        QVERIFY(clientnames::rename(db, QStringLiteral("John")));
        QVERIFY(clientnames::exists(db, a, QStringLiteral("John")));
        db.deleteAllOfClient(a);
        QVERIFY(clientnames::list(db, a).isEmpty());
        QCOMPARE(clientnames::list(db, b), QStringList{QStringLiteral("Jane")});
    }

    // A store from before names had their own sort order: opening it adds
    // the order and keys the names already there, so they are found.
    void olderStoresGetTheNameOrder() {
        const quint32 acme = newClient(QStringLiteral("Acme"));
        ObjectStore& objects = *m_env->store().objectStore();
        const quint32 tasksId = structure().tasks.databaseId();
        const quint32 projectsId = structure().projects.databaseId();
        for (quint32 db : {tasksId, projectsId})
            QVERIFY(objects.setSortOrders(db, {prop::ClientId}));
        QVERIFY(
            objects.writeRecord(tasksId, 0,
                                {Property::ui4(prop::ClientId, acme),
                                 Property::string(prop::StructureName, QStringLiteral("Jane"))}));
        QVERIFY(objects.writeRecord(projectsId, 0,
                                    {Property::ui4(prop::ClientId, acme),
                                     Property::string(prop::StructureName, QStringLiteral("Web")),
                                     Property::string(prop::TaskName, QStringLiteral("Design"))}));

        m_env->store().close();
        QVERIFY(m_env->store().openAll());
        for (quint32 db : {tasksId, projectsId})
            QCOMPARE(m_env->store().objectStore()->databaseInfo(db)->sortOrders,
                     (QList<quint32>{prop::ClientId, prop::StructureName}));
        QVERIFY(taskExists(structure().tasks, acme, QStringLiteral("Jane")));
        QCOMPARE(addTask(structure().tasks, acme, QStringLiteral("Jane")), 0u);
        QVERIFY(
            projectTaskExists(projects(), acme, QStringLiteral("Web"), QStringLiteral("Design")));
        QVERIFY(!projectTaskExists(projects(), acme, QStringLiteral("Web"), QString()));
        QCOMPARE(listTasks(structure().tasks, acme), QStringList{QStringLiteral("Jane")});
    }

    void rateRoundTripAndDefaultSet() {
        const quint32 acme = newClient(QStringLiteral("Acme"));
        Rate standard = rateOf(0, QStringLiteral("Standard"), RateType::Normal, 6000);
        Rate special = rateOf(acme, QStringLiteral("Special"), RateType::Fixed, 25000);
        special.flag = true;
        Rates all(rates());
        QCOMPARE(all.add(standard, 3), WriteResult::Written);
        QCOMPARE(all.add(special, 3), WriteResult::Written);
        QCOMPARE(test::idsOf(test::rawRecord(rates(), standard.recordId)),
                 (QList<quint32>{prop::RateKind, prop::Rate, prop::ClientId, prop::Description,
                                 prop::RateFlag, prop::Modified, prop::ChangeFlags}));
        const QList<Rate> defaults = listRates(rates(), 0);
        QCOMPARE(defaults.size(), 1);
        standard.changeFlags = 3;
        QCOMPARE(defaults.first(), standard);
        special.changeFlags = 3;
        QCOMPARE(listRates(rates(), acme), QList<Rate>{special});

        special.rate = 30000;
        QCOMPARE(all.update(special, 3), WriteResult::Written);
        const Rate back = all.find(special.recordId).value_or(Rate());
        QCOMPARE(back.rate, 30000);
        QCOMPARE(back.changeFlags, quint16(7));

        deleteRatesOfClient(rates(), acme);
        QCOMPARE(rates().recordCount(), 1);
    }

    void rateFlagIsTrueOnlyForOne_data() {
        QTest::addColumn<quint64>("stored");
        QTest::addColumn<bool>("flag");
        QTest::newRow("0") << quint64(0) << false;
        QTest::newRow("1") << quint64(1) << true;
        QTest::newRow("2") << quint64(2) << false;
        QTest::newRow("-1") << quint64(0xFFFFFFFF) << false;
    }
    void rateFlagIsTrueOnlyForOne() {
        QFETCH(quint64, stored);
        QFETCH(bool, flag);
        Property raw = Property::boolean(prop::RateFlag, false);
        raw.number = stored;
        const quint32 id =
            rates().addProperties({Property::ui4(prop::ClientId, 0),
                                   Property::string(prop::Description, QStringLiteral("R")), raw});
        const std::optional<Rate> r = Rates(rates()).find(id);
        QVERIFY(r);
        QCOMPARE(r->flag, flag);
    }

    void ratesSortByTypeThenDescription() {
        QList<Rate> list{rateOf(0, QStringLiteral("beta"), RateType::Overtime, 1),
                         rateOf(0, QStringLiteral("Beta"), RateType::Normal, 2),
                         rateOf(0, QStringLiteral("alpha"), RateType::Overtime, 3),
                         rateOf(0, QStringLiteral("Alpha"), RateType::Normal, 4)};
        for (Rate& r : list)
            QCOMPARE(Rates(rates()).add(r, 3), WriteResult::Written);
        auto stored = [this](const Rate& r) {
            return Rates(rates()).find(r.recordId).value_or(Rate());
        };
        QCOMPARE(compareRates(stored(list[0]), stored(list[2])), 1);
        QCOMPARE(compareRates(stored(list[1]), stored(list[0])), -1);
        QCOMPARE(compareRates(stored(list[3]), stored(list[3])), 0);
        sortRates(list);
        QList<qint32> order;
        for (const Rate& r : list)
            order.append(r.rate);
        QCOMPARE(order, (QList<qint32>{4, 2, 3, 1}));
    }
};

TEMPOLATCH_TEST(ClientStructureTest);
#include "ClientStructureTest.moc"
