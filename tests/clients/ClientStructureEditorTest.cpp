#include "clients/ClientStructureEditor.h"
#include "clients/ClientTreeContent.h"
#include "clients/ClientTreeRules.h"
#include "clients/ClientsTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

using namespace tempolatch;
using namespace tempolatch::test;

using Kind = ClientItemKind;
using States = ClientCommandStates;
Q_DECLARE_METATYPE(ClientCommandStates)

class ClientStructureEditorTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<ClientStructureEditor> m_editor;

    ClientStructureEditor& editor() { return *m_editor; }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_editor = std::make_unique<ClientStructureEditor>(m_env->store());
    }
    void cleanup() {
        m_editor.reset();
        EnvironmentTest::cleanup();
    }

    void commandStates_data() {
        QTest::addColumn<int>("selected");  // -1: nothing
        QTest::addColumn<States>("expected");
        // addChild, modifyDelete, import, export
        QTest::newRow("nothing") << -1 << States{false, false, true, false};
        QTest::newRow("client") << int(Kind::Client) << States{true, true, true, true};
        QTest::newRow("project") << int(Kind::Project) << States{true, true, true, true};
        QTest::newRow("task") << int(Kind::Task) << States{true, true, false, false};
        QTest::newRow("contact") << int(Kind::Contact) << States{true, true, false, false};
        QTest::newRow("group") << int(Kind::Group) << States{true, false, false, true};
    }
    void commandStates() {
        QFETCH(int, selected);
        QFETCH(States, expected);
        const auto kind = selected < 0 ? std::nullopt : std::optional<Kind>(Kind(selected));
        QCOMPARE(clientCommandStates(kind), expected);
    }

    void newItemPlace_data() {
        QTest::addColumn<int>("newKind");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("taskOfProject");
        QTest::addColumn<int>("expected");
        const int project = int(Kind::Project), task = int(Kind::Task);
        QTest::newRow("task under selected project")
            << task << project << false << int(NewItemParent::Project);
        QTest::newRow("task beside a project's task")
            << task << task << true << int(NewItemParent::Project);
        QTest::newRow("task beside a client task")
            << task << task << false << int(NewItemParent::TasksGroup);
        QTest::newRow("task with the client selected")
            << task << int(Kind::Client) << false << int(NewItemParent::TasksGroup);
        QTest::newRow("task with a group selected")
            << task << int(Kind::Group) << false << int(NewItemParent::TasksGroup);
        QTest::newRow("project beside a project's task")
            << project << task << true << int(NewItemParent::ProjectsGroup);
        QTest::newRow("contact with a project selected")
            << int(Kind::Contact) << project << false << int(NewItemParent::ContactsGroup);
    }
    void newItemPlace() {
        QFETCH(int, newKind);
        QFETCH(int, selected);
        QFETCH(bool, taskOfProject);
        QFETCH(int, expected);
        QCOMPARE(int(newItemParent(Kind(newKind), Kind(selected), taskOfProject)), expected);
    }

    void deleteClientKeepsEntriesAndOtherClients() {
        const Client acme = seedClient(QStringLiteral("Acme"), {QStringLiteral("Web/Design")},
                                       {QStringLiteral("Admin")}, {QStringLiteral("Bob")});
        const Client other = seedClient(QStringLiteral("Other"), {QStringLiteral("Web/Design")},
                                        {QStringLiteral("Admin")}, {QStringLiteral("Bob")});
        seedRate(acme.clientId, QStringLiteral("Acme rate"), RateType::Normal, 100);
        seedRate(other.clientId, QStringLiteral("Other rate"), RateType::Normal, 100);
        seedRate(0, QStringLiteral("Default"), RateType::Normal, 100);
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        entry.project = QStringLiteral("Web");
        entry.task = QStringLiteral("Design");
        entry.date = platform::fileTimeOf(TestEnvironment::fixedNow());
        QVERIFY(TimeEntries(m_env->store()).add(entry) == WriteResult::Written);

        QVERIFY(editor().deleteClient(acme.recordId));

        QCOMPARE(findClientId(structure().clients, QStringLiteral("Acme")), NoClientId);
        QVERIFY(projectPairs(acme.clientId).isEmpty());
        QVERIFY(listTasks(structure().tasks, acme.clientId).isEmpty());
        QVERIFY(listContacts(structure().contacts, acme.clientId).isEmpty());
        QVERIFY(rateDescriptions(acme.clientId).isEmpty());
        QCOMPARE(projectPairs(other.clientId), QStringList{QStringLiteral("Web/Design")});
        QCOMPARE(rateDescriptions(other.clientId), QStringList{QStringLiteral("Other rate")});
        QCOMPARE(rateDescriptions(0), QStringList{QStringLiteral("Default")});
        QCOMPARE(m_env->store().entryCount(), 1);
        const auto stored = TimeEntries(m_env->store()).find(entry.recordId);
        QVERIFY(stored);
        QCOMPARE(stored->client, QStringLiteral("Acme"));
    }

    // A record that cannot be read gives client id 0, which owns the default
    // rates: they must survive.
    void deleteClientOfAMissingRecordDeletesNothing() {
        seedRate(0, QStringLiteral("Default"), RateType::Normal, 100);
        const Client acme = seedClient(QStringLiteral("Acme"));
        QVERIFY(!editor().deleteClient(acme.recordId + 1000));
        QCOMPARE(rateDescriptions(0), QStringList{QStringLiteral("Default")});
        QCOMPARE(listClients(structure().clients).size(), 1);
    }

    void renameProjectWithoutTasks() {
        const Client acme = seedClient(QStringLiteral("Acme"), {QStringLiteral("Web")});
        QVERIFY(
            editor().renameProject(acme.clientId, QStringLiteral("Web"), QStringLiteral("Site")));
        QCOMPARE(projectPairs(acme.clientId), QStringList{QStringLiteral("Site/")});
    }

    // No rename may give two items of one level the same name, nor an empty one.
    void renamesRefuseTakenAndEmptyNames_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("accepted");
        for (int kind :
             {int(Kind::Client), int(Kind::Project), int(Kind::Task), int(Kind::Contact)}) {
            const QByteArray k = QByteArray::number(kind);
            QTest::newRow(k + " taken") << kind << QStringLiteral("B") << false;
            QTest::newRow(k + " empty") << kind << QString() << false;
            QTest::newRow(k + " unchanged") << kind << QStringLiteral("A") << true;
            QTest::newRow(k + " other case") << kind << QStringLiteral("b") << true;
        }
    }
    void renamesRefuseTakenAndEmptyNames() {
        QFETCH(int, kind);
        QFETCH(QString, newName);
        QFETCH(bool, accepted);
        const QString a = QStringLiteral("A"), b = QStringLiteral("B");
        const Client client = seedClient(a, {a, b}, {a, b}, {a, b});
        seedClient(b);
        const quint32 id = client.clientId;
        auto recordOf = [&](RecordDatabase& db) {
            for (const ClientName& r : clientnames::records(db, id))
                if (r.name == a)
                    return r.recordId;
            return 0u;
        };
        bool done = false;
        QStringList names;
        switch (Kind(kind)) {
            case Kind::Client:
                done = editor().renameClient(client.recordId, newName);
                for (const Client& c : listClients(structure().clients))
                    names.append(c.name);
                break;
            case Kind::Project:
                done = editor().renameProject(id, a, newName) != 0;
                names = listProjects(structure().projects, id);
                break;
            case Kind::Task:
                done = editor().renameTask(recordOf(structure().tasks), id, newName);
                names = listTasks(structure().tasks, id);
                break;
            default:
                done = editor().renameContact(recordOf(structure().contacts), id, newName);
                names = listContacts(structure().contacts, id);
                break;
        }
        QCOMPARE(done, accepted);
        names.sort();
        QStringList expected{accepted ? newName : a, b};
        expected.sort();
        QCOMPARE(names, expected);
    }

    void addingAnExistingNameWritesNoSecondRecord() {
        const auto first = editor().addClient(QStringLiteral("Acme"));
        QVERIFY(first && !first->existed);
        const auto again = editor().addClient(QStringLiteral("Acme"));
        QVERIFY(again && again->existed);
        QCOMPARE(again->recordId, first->recordId);
        QCOMPARE(again->clientId, first->clientId);
        QCOMPARE(listClients(structure().clients).size(), 1);
        QVERIFY(!editor().addClient(QString()));

        const quint32 id = first->clientId;
        const auto project = editor().addProject(id, QStringLiteral("Web"));
        QVERIFY(project && !project->existed);
        QCOMPARE(editor().addProject(id, QStringLiteral("Web"))->recordId, project->recordId);
        const auto task = editor().addProjectTask(id, QStringLiteral("Web"), QStringLiteral("T"));
        QVERIFY(task && !task->existed);
        QVERIFY(editor().addProjectTask(id, QStringLiteral("Web"), QStringLiteral("T"))->existed);
        QVERIFY(!editor().addProjectTask(id, QStringLiteral("Web"), QString()));
        QCOMPARE(projectPairs(id), (QStringList{QStringLiteral("Web/"), QStringLiteral("Web/T")}));
        QVERIFY(editor().addContact(id, QStringLiteral("Bob")));
        QVERIFY(editor().addContact(id, QStringLiteral("Bob"))->existed);
        QCOMPARE(listContacts(structure().contacts, id).size(), 1);
    }

    // A name longer than the store keeps is cut, and the cut name is what
    // the tree is told.
    void longNamesAreCutAsStored() {
        const QString longName(200, QLatin1Char('x'));
        const auto client = editor().addClient(longName);
        QVERIFY(client);
        QCOMPARE(client->name.size(), MaxNameLength);
        QVERIFY(editor().addClient(longName)->existed);
    }

    void deleteProjectTaskRemovesOnlyThatPair() {
        const Client acme = seedClient(QStringLiteral("Acme"),
                                       {QStringLiteral("Web/Design"), QStringLiteral("Web/Test"),
                                        QStringLiteral("App/Design")});
        const QList<Project> records = projectRecords(structure().projects, acme.clientId);
        const quint32 left =
            editor().deleteProjectTask(records[0].recordId, acme.clientId, QStringLiteral("Web"));
        QCOMPARE(left, records[1].recordId);
        QCOMPARE(projectPairs(acme.clientId),
                 (QStringList{QStringLiteral("Web/Test"), QStringLiteral("App/Design")}));
    }

    // The user deleted a task, not its project: the project stays.
    void deletingTheLastTaskKeepsTheProject() {
        const Client acme = seedClient(QStringLiteral("Acme"), {QStringLiteral("Web/Design")});
        const quint32 record = projectRecords(structure().projects, acme.clientId)[0].recordId;
        QCOMPARE(editor().deleteProjectTask(record, acme.clientId, QStringLiteral("Web")), record);
        QCOMPARE(projectPairs(acme.clientId), QStringList{QStringLiteral("Web/")});
        // A record of another project is never touched.
        QCOMPARE(editor().deleteProjectTask(record, acme.clientId, QStringLiteral("App")), 0u);
        QCOMPARE(projectPairs(acme.clientId), QStringList{QStringLiteral("Web/")});
    }
};

TEMPOLATCH_TEST(ClientStructureEditorTest);
#include "ClientStructureEditorTest.moc"
