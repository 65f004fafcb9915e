#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QTextBrowser>

#include "app/MainFrame.h"
#include "clients/ClientsSetupDialog.h"
#include "clients/ClientsTestSupport.h"
#include "clients/ImportChoiceDialog.h"
#include "clients/ModalDriver.h"
#include "clients/RatesSetupDialog.h"
#include "clients/SetupCommandIds.h"
#include "clients/SetupTree.h"
#include "common/EnvironmentTest.h"
#include "common/PopupMenu.h"
#include "common/TestRegistry.h"
#include "platform/StringTable.h"
#include "platform/contacts/ContactChooser.h"
#include "platform/contacts/ContactFolders.h"
#include "settings/Settings.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "transfer/ArchiveOperation.h"
#include "transfer/ClientStructureOperation.h"
#include "transfer/ListFile.h"
#include "widgets/CommandIds.h"
#include "widgets/DialogBar.h"
#include "widgets/HelpWindow.h"
#include "widgets/Mnemonics.h"
#include "widgets/NameInputDialog.h"

using namespace tempolatch;
using namespace tempolatch::test;
using Kind = ClientItemKind;

namespace {

// The item at a path of texts from the root ("Acme", "Projects", "Web").
QTreeWidgetItem* itemAt(SetupTree* tree, const QStringList& path) {
    QTreeWidgetItem* item = nullptr;
    for (const QString& text : path) {
        item = tree->childNamed(item, text);
        if (!item)
            return nullptr;
    }
    return item;
}

// Answers the next name prompt; an empty text cancels it.
void answerName(const QString& name) {
    whenModal<NameInputDialog>([name](NameInputDialog& dialog) {
        if (name.isEmpty())
            return;
        QTest::keyClicks(dialog.nameEdit(), name);
        dialog.accept();
    });
}

}  // namespace

class ClientsSetupDialogTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<ClientsSetupDialog> m_dialog;
    Client m_acme;

    ClientsSetupDialog& open(ClientTransfers transfers = {}) {
        m_dialog =
            std::make_unique<ClientsSetupDialog>(m_env->context(), nullptr, std::move(transfers));
        return *m_dialog;
    }
    SetupTree* tree() { return m_dialog->tree(); }
    void select(const QStringList& path) {
        QTreeWidgetItem* item = itemAt(tree(), path);
        QVERIFY2(item, qPrintable(path.join(QLatin1Char('/'))));
        tree()->setCurrentItem(item);
    }
    bool enabled(int id) { return m_dialog->commandBar()->command(id)->isEnabled(); }
    ScriptedUi& ui() { return m_env->ui(); }
    QString filePath(const QString& name) const { return m_env->filePath(name); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_acme = seedClient(QStringLiteral("Acme"),
                            {QStringLiteral("Web/Design"), QStringLiteral("Web/Test"),
                             QStringLiteral("App/Design")},
                            {QStringLiteral("Admin")}, {QStringLiteral("Bob")});
        seedClient(QStringLiteral("Zeta"));
    }
    void cleanup() {
        m_dialog.reset();
        if (HelpWindow* help = HelpWindow::current())
            delete help;
        EnvironmentTest::cleanup();
    }

    void treeShowsTheStructure() {
        // A record with an empty task holds the project; it is no task item.
        addProjectTask(structure().projects, m_acme.clientId, QStringLiteral("Web"), QString());
        open();
        QCOMPARE(childTexts(tree()->invisibleRootItem()),
                 (QStringList{QStringLiteral("Acme"), QStringLiteral("Zeta")}));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Acme"));
        QTreeWidgetItem* acme = itemAt(tree(), {QStringLiteral("Acme")});
        QCOMPARE(childTexts(acme), (QStringList{QStringLiteral("Projects"), QStringLiteral("Tasks"),
                                                QStringLiteral("Contacts")}));
        QCOMPARE(childTexts(acme->child(0)),
                 (QStringList{QStringLiteral("App"), QStringLiteral("Web")}));
        QCOMPARE(childTexts(acme->child(0)->child(1)),
                 (QStringList{QStringLiteral("Design"), QStringLiteral("Test")}));
        QCOMPARE(childTexts(acme->child(1)), QStringList{QStringLiteral("Admin")});
        QCOMPARE(childTexts(acme->child(2)), QStringList{QStringLiteral("Bob")});
    }

    // The command states in both bars, as the selection moves.
    void commandStatesFollowTheSelection_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::newRow("classic") << false;
        QTest::newRow("soft keys") << true;
    }
    void commandStatesFollowTheSelection() {
        QFETCH(bool, softKeys);
        m_env->settings().setFlag(SoftKeyMenus, softKeys);
        open();
        QCOMPARE(m_dialog->commandBar()->kind(),
                 softKeys ? DialogBar::Kind::SoftKeys : DialogBar::Kind::Classic);
        const QList<QStringList> paths = {
            {QStringLiteral("Acme")},
            {QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web")},
            {QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web"),
             QStringLiteral("Test")},
            {QStringLiteral("Acme"), QStringLiteral("Contacts"), QStringLiteral("Bob")},
            {QStringLiteral("Acme"), QStringLiteral("Tasks")}};
        for (const QStringList& path : paths) {
            select(path);
            const ClientCommandStates expected =
                clientCommandStates(ClientsSetupDialog::kindOf(tree()->currentItem()));
            QVERIFY(enabled(cmd::AddClient));
            for (int id : {cmd::AddProject, cmd::AddTask, cmd::AddContact})
                QCOMPARE(enabled(id), expected.addChild);
            QCOMPARE(enabled(cmd::ModifyItem), expected.modifyDelete);
            QCOMPARE(enabled(cmd::DeleteItem), expected.modifyDelete);
            QCOMPARE(enabled(cmd::ImportNames), expected.importEnabled);
            QCOMPARE(enabled(cmd::ExportNames), expected.exportEnabled);
        }
    }

    void groupsAreNeitherEditedNorDeleted() {
        open();
        select({QStringLiteral("Acme"), QStringLiteral("Projects")});
        QTreeWidgetItem* group = tree()->currentItem();
        QVERIFY(!(group->flags() & Qt::ItemIsEditable));
        QVERIFY(!enabled(cmd::ModifyItem));
        QVERIFY(!enabled(cmd::DeleteItem));
        m_dialog->onCommand(cmd::ModifyItem);
        QVERIFY(!tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor")));
        m_dialog->onCommand(cmd::DeleteItem);
        QTest::keyClick(tree(), Qt::Key_Delete);
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme")})).size(), 3);
        QCOMPARE(projectPairs(m_acme.clientId).size(), 3);
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    void addingAnExistingClientSelectsIt() {
        open();
        select({QStringLiteral("Zeta")});
        answerName(QStringLiteral("Acme"));
        m_dialog->onCommand(cmd::AddClient);
        QCOMPARE(tree()->topLevelItemCount(), 2);
        QCOMPARE(tree()->currentItem(), itemAt(tree(), {QStringLiteral("Acme")}));
        QCOMPARE(listClients(structure().clients).size(), 2);

        // A new one goes in sorted; a cancelled prompt adds nothing.
        answerName(QStringLiteral("Beta"));
        m_dialog->onCommand(cmd::AddClient);
        QCOMPARE(
            childTexts(tree()->invisibleRootItem()),
            (QStringList{QStringLiteral("Acme"), QStringLiteral("Beta"), QStringLiteral("Zeta")}));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Beta"));
        QCOMPARE(childTexts(tree()->currentItem()).size(), 3);
        answerName(QString());
        m_dialog->onCommand(cmd::AddClient);
        QCOMPARE(listClients(structure().clients).size(), 3);
    }

    // The context menu's commands act on the selected item; a right click
    // first selects the item under the pointer. The keys ignore the pointer.
    void contextMenuActsOnTheChosenItem_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<MenuPath>("path");
        QTest::addColumn<QString>("client");
        for (const bool softKeys : {false, true}) {
            for (const MenuPath path : AllMenuPaths) {
                QTest::addRow("%s, %s", softKeys ? "soft keys" : "classic", menuPathName(path))
                    << softKeys << path
                    << (path == MenuPath::RightClick ? QStringLiteral("Zeta")
                                                     : QStringLiteral("Acme"));
            }
        }
    }
    void contextMenuActsOnTheChosenItem() {
        QFETCH(bool, softKeys);
        QFETCH(MenuPath, path);
        QFETCH(QString, client);
        m_env->settings().setFlag(SoftKeyMenus, softKeys);
        open().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        select({QStringLiteral("Acme")});
        const QPoint zeta =
            tree()->visualItemRect(itemAt(tree(), {QStringLiteral("Zeta")})).center();
        answerName(QStringLiteral("Ops"));
        auto shown = std::make_shared<bool>(false);
        chooseInNextPopup(cmd::AddProject, shown);
        requestContextMenu(tree(), path, zeta);
        QVERIFY(*shown);
        QVERIFY(itemAt(tree(), {client, QStringLiteral("Projects"), QStringLiteral("Ops")}));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Ops"));

        // On a group only the adds, import and export are offered.
        select({client, QStringLiteral("Projects")});
        std::unique_ptr<QMenu> menu(m_dialog->commandBar()->createContextMenu(nullptr));
        QStringList enabled;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled())
                enabled.append(mnemonics::plain(action->text()));
        }
        QVERIFY(!enabled.contains(QStringLiteral("Delete")));
        QVERIFY(enabled.contains(QStringLiteral("Add Project...")));
    }

    void taskAddedBesideAProjectsTaskGoesUnderThatProject() {
        open();
        select({QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web"),
                QStringLiteral("Test")});
        answerName(QStringLiteral("Review"));
        m_dialog->onCommand(cmd::AddTask);
        QTreeWidgetItem* web = itemAt(
            tree(), {QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web")});
        QCOMPARE(childTexts(web), (QStringList{QStringLiteral("Design"), QStringLiteral("Review"),
                                               QStringLiteral("Test")}));
        QCOMPARE(tree()->currentItem(), web->child(1));
        QVERIFY(projectTaskExists(structure().projects, m_acme.clientId, QStringLiteral("Web"),
                                  QStringLiteral("Review")));
        QCOMPARE(listTasks(structure().tasks, m_acme.clientId),
                 QStringList{QStringLiteral("Admin")});

        // Beside a client-level task it is a client-level task.
        select({QStringLiteral("Acme"), QStringLiteral("Tasks"), QStringLiteral("Admin")});
        answerName(QStringLiteral("Billing"));
        m_dialog->onCommand(cmd::AddTask);
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Tasks")})),
                 (QStringList{QStringLiteral("Admin"), QStringLiteral("Billing")}));
        QVERIFY(taskExists(structure().tasks, m_acme.clientId, QStringLiteral("Billing")));
    }

    void renamingAProjectInPlaceRenamesItEverywhere() {
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        entry.project = QStringLiteral("Web");
        QVERIFY(TimeEntries(m_env->store()).add(entry) == WriteResult::Written);
        open();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        select({QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web")});
        QTreeWidgetItem* web = tree()->currentItem();
        tree()->expandAll();
        m_dialog->onCommand(cmd::ModifyItem);
        auto* editor = tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor"));
        QVERIFY(editor);
        QCOMPARE(editor->maxLength(), 128);
        editor->setText(QStringLiteral("Site"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(web->text(0), QStringLiteral("Site"));
        QTRY_VERIFY(!tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor")));
        QVERIFY(m_dialog->isVisible());  // Enter ended the editing, not the dialog
        // Sorted into place, still selected, its tasks still shown.
        QTreeWidgetItem* projects = web->parent();
        QCOMPARE(childTexts(projects),
                 (QStringList{QStringLiteral("App"), QStringLiteral("Site")}));
        QCOMPARE(tree()->currentItem(), web);
        QVERIFY(web->isExpanded());
        QCOMPARE(projectPairs(m_acme.clientId),
                 (QStringList{QStringLiteral("Site/Design"), QStringLiteral("Site/Test"),
                              QStringLiteral("App/Design")}));
        const auto found = TimeEntries(m_env->store()).find(entry.recordId);
        QVERIFY(found);
        const TimeEntry& stored = *found;
        QCOMPARE(stored.project, QStringLiteral("Web"));

        // A name the level already has is refused; the item keeps its text.
        m_dialog->onCommand(cmd::ModifyItem);
        editor = tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor"));
        QVERIFY(editor);
        editor->setText(QStringLiteral("App"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(20);
        QCOMPARE(web->text(0), QStringLiteral("Site"));
        QCOMPARE(listProjects(structure().projects, m_acme.clientId),
                 (QStringList{QStringLiteral("Site"), QStringLiteral("App")}));
    }

    // Contacts take 64 characters in place, but a longer name is not cut.
    void contactEditorLimit() {
        const QString longName(100, QLatin1Char('c'));
        addContact(structure().contacts, m_acme.clientId, longName);
        open();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        select({QStringLiteral("Acme"), QStringLiteral("Contacts"), QStringLiteral("Bob")});
        m_dialog->onCommand(cmd::ModifyItem);
        auto* editor = tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor"));
        QVERIFY(editor);
        QCOMPARE(editor->maxLength(), 64);
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor")));
        select({QStringLiteral("Acme"), QStringLiteral("Contacts"), longName});
        m_dialog->onCommand(cmd::ModifyItem);
        editor = tree()->findChild<QLineEdit*>(QStringLiteral("inPlaceEditor"));
        QVERIFY(editor);
        QCOMPARE(editor->text(), longName);
    }

    void deletingAClientAsksAndKeepsEntries() {
        seedRate(m_acme.clientId, QStringLiteral("Acme rate"), RateType::Normal, 100);
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        QVERIFY(TimeEntries(m_env->store()).add(entry) == WriteResult::Written);
        open();
        select({QStringLiteral("Acme")});
        m_env->ui().queueAnswer(platform::Answer::No);
        m_dialog->onCommand(cmd::DeleteItem);
        QCOMPARE(tree()->topLevelItemCount(), 2);
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(str::DeleteClientQuestion)});
        QCOMPARE(m_env->ui().shown()[0].icon, platform::MessageIcon::Warning);

        m_env->ui().queueAnswer(platform::Answer::Yes);
        m_dialog->onCommand(cmd::DeleteItem);
        QCOMPARE(childTexts(tree()->invisibleRootItem()), QStringList{QStringLiteral("Zeta")});
        QCOMPARE(findClientId(structure().clients, QStringLiteral("Acme")), NoClientId);
        QVERIFY(rateDescriptions(m_acme.clientId).isEmpty());
        QCOMPARE(m_env->store().entryCount(), 1);
    }

    void deletingTasksContactsAndProjects() {
        open();
        // A project's task goes without a question, and only that pair.
        select({QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web"),
                QStringLiteral("Design")});
        m_dialog->onCommand(cmd::DeleteItem);
        QVERIFY(m_env->ui().shown().isEmpty());
        QCOMPARE(projectPairs(m_acme.clientId),
                 (QStringList{QStringLiteral("Web/Test"), QStringLiteral("App/Design")}));
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Projects"),
                                            QStringLiteral("Web")})),
                 QStringList{QStringLiteral("Test")});

        select({QStringLiteral("Acme"), QStringLiteral("Contacts"), QStringLiteral("Bob")});
        m_dialog->onCommand(cmd::DeleteItem);
        QVERIFY(listContacts(structure().contacts, m_acme.clientId).isEmpty());

        // A project asks first.
        select({QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web")});
        m_env->ui().queueAnswer(platform::Answer::Yes);
        m_dialog->onCommand(cmd::DeleteItem);
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(str::DeleteProjectQuestion)});
        QCOMPARE(projectPairs(m_acme.clientId), QStringList{QStringLiteral("App/Design")});
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Projects")})),
                 QStringList{QStringLiteral("App")});
    }

    void importsAContactFromTheAddressBook() {
        const QByteArray home = qgetenv("HOME");
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(m_env->filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_env->filePath(QStringLiteral("data"))));
        auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            if (dataHome.isNull())
                qunsetenv("XDG_DATA_HOME");
            else
                qputenv("XDG_DATA_HOME", dataHome);
        });
        QDir().mkpath(platform::ContactFolders::profileFolder());
        QFile card(platform::ContactFolders::profileFolder() + QStringLiteral("/book.vcf"));
        QVERIFY(card.open(QIODevice::WriteOnly));
        card.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carol Jones\r\nEND:VCARD\r\n");
        card.close();

        open();
        select({QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("Web")});
        QStringList offered;
        whenModal<ImportChoiceDialog>([&offered](ImportChoiceDialog& dialog) {
            for (int i = 0; i < ImportChoiceDialog::ChoiceCount; ++i) {
                QRadioButton* b = dialog.button(ImportChoice(i));
                offered.append(b->text() + (b->isEnabled() ? QString() : QStringLiteral(" (off)")));
            }
            QVERIFY(dialog.button(ImportChoice::Clients)->isChecked());
            dialog.button(ImportChoice::ContactFromApplication)->setChecked(true);
            whenModal<platform::ContactChooser>([](platform::ContactChooser& chooser) {
                auto* list = chooser.findChild<QListView*>(QStringLiteral("contactList"));
                list->setCurrentIndex(list->model()->index(0, 0));
                chooser.accept();
            });
            dialog.accept();
        });
        m_dialog->onCommand(cmd::ImportNames);
        QCOMPARE(offered, (QStringList{"Clients", "Projects for a selected client",
                                       "Tasks for a selected client or project",
                                       "Contacts (Bill To) for a selected client",
                                       "Import a contact from Contacts Application",
                                       "Import a client structure file"}));
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Contacts")})),
                 (QStringList{QStringLiteral("Bob"), QStringLiteral("Carol Jones")}));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Carol Jones"));
        QVERIFY(
            contactExists(structure().contacts, m_acme.clientId, QStringLiteral("Carol Jones")));
    }

    // Once list files can be read, each name is added as by the Add
    // commands, placed by the selection the import started from.
    void listImportAddsEachName() {
        open({[](QWidget*) {
                  return ClientTransfers::ListFile{
                      ClientTransfers::ListFile::Status::Read, {"Plan", "Design", "Plan"}, {}};
              },
              {},
              {}});
        select({QStringLiteral("Acme"), QStringLiteral("Projects"), QStringLiteral("App")});
        whenModal<ImportChoiceDialog>([](ImportChoiceDialog& dialog) {
            QVERIFY(dialog.button(ImportChoice::Clients)->isChecked());
            dialog.button(ImportChoice::Tasks)->setChecked(true);
            dialog.accept();
        });
        m_dialog->onCommand(cmd::ImportNames);
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Projects"),
                                            QStringLiteral("App")})),
                 (QStringList{QStringLiteral("Design"), QStringLiteral("Plan")}));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("App"));
        QCOMPARE(projectPairs(m_acme.clientId).size(), 4);
    }

    // The main window's two commands open the two dialogs over it.
    void mainWindowCommandsOpenTheDialogs() {
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        QWidget* clientsParent = nullptr;
        QWidget* ratesParent = nullptr;
        whenModal<ClientsSetupDialog>([&](ClientsSetupDialog& dialog) {
            clientsParent = dialog.parentWidget();
            dialog.accept();
        });
        frame.onCommand(cmd::SetupClients);
        whenModal<RatesSetupDialog>([&](RatesSetupDialog& dialog) {
            ratesParent = dialog.parentWidget();
            dialog.accept();
        });
        frame.onCommand(cmd::SetupRates);
        QCOMPARE(clientsParent, &frame);
        QVERIFY(frame.storeWatcher());
        QCOMPARE(ratesParent, &frame);
    }

    void f1OpensTheClientsTopic() {
        open();
        QCOMPARE(helpTopicOnF1(*m_dialog), QStringLiteral("clientsetup"));
    }
    // Export... offers its two choices; the structure file is written.
    void exportWritesTheStructureFile() {
        open();
        QStringList offered;
        whenModal<ExportChoiceDialog>([&offered](ExportChoiceDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Export"));
            for (auto c : {ExportChoice::List, ExportChoice::StructureFile})
                offered << dialog.button(c)->text();
            dialog.button(ExportChoice::StructureFile)->setChecked(true);
            dialog.accept();
        });
        ui().queueFile(filePath(QStringLiteral("acme")));
        m_dialog->onCommand(cmd::ExportNames);
        QCOMPARE(offered, (QStringList{"Export selected list to text file",
                                       "Export client structure to file"}));
        QCOMPARE(ui().fileFilters(),
                 QStringList{QStringLiteral("Client Structures Files (*.tlc)|*.tlc|")});
        QVERIFY(ui().shown().isEmpty());
        QVERIFY(QFile::exists(filePath(QStringLiteral("acme.tlc"))));
    }

    // With an empty tree Import... goes straight to the structure file;
    // the tree is refilled and its first client selected.
    void structureImportIntoAnEmptyTree() {
        const QString file = filePath(QStringLiteral("two.tlc"));
        QVERIFY(ClientStructureOperation(m_env->store()).exportTo(file));
        QVERIFY(m_env->store().deleteAllData());

        open();
        QCOMPARE(tree()->topLevelItemCount(), 0);
        ui().queueFile(file);
        m_dialog->onCommand(cmd::ImportNames);
        QCOMPARE(ui().fileFilters(),
                 QStringList{QStringLiteral("Client Structures Files (*.tlc)|*.tlc|")});
        QVERIFY(ui().shown().isEmpty());
        QCOMPARE(childTexts(tree()->invisibleRootItem()), (QStringList{"Acme", "Zeta"}));
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Projects")})),
                 (QStringList{"App", "Web"}));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Acme"));
    }

    // The import choice adds to the clients there; failures are reported,
    // and so is a file of another kind, which adds nothing.
    void structureImportMessages_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QStringList>("clients");
        QTest::newRow("structure file")
            << "good.tlc" << QStringList() << MessageIcon::Stop << QStringList{"Acme", "Zeta"};
        QTest::newRow("archive") << "archive.tla"
                                 << QStringList{"Not a client structure file. Nothing was added: "
                                                "a backup is read with Restore Backup..., an "
                                                "archive with Load Archive...."}
                                 << MessageIcon::Warning << QStringList{"Acme"};
        QTest::newRow("not a compound file")
            << "text.tlc" << QStringList{resourceString(str::RestoreFailed)} << MessageIcon::Stop
            << QStringList{"Acme"};
    }
    void structureImportMessages() {
        QFETCH(QString, file);
        QFETCH(QStringList, messages);
        QFETCH(MessageIcon, icon);
        QFETCH(QStringList, clients);
        QVERIFY(ClientStructureOperation(m_env->store())
                    .exportTo(filePath(QStringLiteral("good.tlc"))));
        QCOMPARE(ArchiveOperation(m_env->store(), {}, {})
                     .archive(filePath(QStringLiteral("archive.tla")), false),
                 ArchiveOperation::ArchiveResult::Written);
        QFile text(filePath(QStringLiteral("text.tlc")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("Zeta\r\n");
        text.close();
        QVERIFY(m_env->store().deleteAllData());
        seedClient(QStringLiteral("Acme"));

        open();
        whenModal<ImportChoiceDialog>([](ImportChoiceDialog& dialog) {
            dialog.button(ImportChoice::StructureFile)->setChecked(true);
            dialog.accept();
        });
        ui().queueFile(filePath(file));
        m_dialog->onCommand(cmd::ImportNames);
        QCOMPARE(ui().shownTexts(), messages);
        for (const auto& shown : ui().shown())
            QCOMPARE(shown.icon, icon);
        QCOMPARE(childTexts(tree()->invisibleRootItem()), clients);
    }
    // The names of the selection's level, CR LF between them and none after
    // the last, as 8-bit text or, under the second filter, UTF-16.
    void listExportOfTheSelectedLevel_data() {
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("client: all clients")
            << QStringList{"Acme"} << 1 << QByteArray("Acme\r\nZeta");
        QTest::newRow("project: its tasks")
            << QStringList{"Acme", "Projects", "Web"} << 1 << QByteArray("Design\r\nTest");
        QTest::newRow("group, Unicode") << QStringList{"Acme", "Projects"} << 2
                                        << QByteArray(
                                               "\xFF\xFE"
                                               "A\0p\0p\0\r\0\n\0W\0e\0b\0",
                                               18);
    }
    void listExportOfTheSelectedLevel() {
        QFETCH(QStringList, selection);
        QFETCH(int, filter);
        QFETCH(QByteArray, bytes);
        open();
        select(selection);
        whenModal<ExportChoiceDialog>([](ExportChoiceDialog& dialog) {
            QVERIFY(dialog.button(ExportChoice::List)->isChecked());
            dialog.accept();
        });
        ui().queueFile(filePath(QStringLiteral("names")));
        ui().queueFilter(filter);
        m_dialog->onCommand(cmd::ExportNames);
        QCOMPARE(ui().fileFilters(),
                 QStringList{QStringLiteral("Text Files (*.txt)|*.txt|Unicode Text|*.txt|")});
        QVERIFY(ui().shown().isEmpty());
        QFile file(filePath(QStringLiteral("names.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }

    // A list file's names are added as by Add Project; a file that cannot
    // be read, or is not text, adds nothing and says so.
    void listImportFromAFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("projects");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("8-bit, an empty line")
            << QByteArray("Mobile\r\n\r\nPrint") << QStringList{"App", "Mobile", "Print", "Web"}
            << QStringList();
        // Files that are not text are said to be none.
        QTest::newRow("UTF-16 starting with NUL")
            << QByteArray("\xFF\xFE\0\0M\0", 6) << QStringList{"App", "Web"}
            << QStringList{notTextMessage(QStringLiteral("names.txt"))};
        QTest::newRow("a picture")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QStringList{"App", "Web"}
            << QStringList{notTextMessage(QStringLiteral("names.txt"))};
        QTest::newRow("UTF-16 big-endian") << QByteArray("\xFE\xFF\0M\0o\0b\0i\0l\0e", 14)
                                           << QStringList{"App", "Mobile", "Web"} << QStringList();
        QTest::newRow("no such file") << QByteArray() << QStringList{"App", "Web"}
                                      << QStringList{resourceString(str::UnableToImport)};
    }
    void listImportFromAFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, projects);
        QFETCH(QStringList, messages);
        const QString path = filePath(QStringLiteral("names.txt"));
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        open();
        select({QStringLiteral("Acme")});
        whenModal<ImportChoiceDialog>([](ImportChoiceDialog& dialog) {
            dialog.button(ImportChoice::Projects)->setChecked(true);
            dialog.accept();
        });
        ui().queueFile(path);
        m_dialog->onCommand(cmd::ImportNames);
        QCOMPARE(ui().fileFilters(), QStringList{QStringLiteral("List File (*.txt)|*.txt|")});
        QCOMPARE(ui().shownTexts(), messages);
        QCOMPARE(childTexts(itemAt(tree(), {QStringLiteral("Acme"), QStringLiteral("Projects")})),
                 projects);
    }
};

TEMPOLATCH_TEST(ClientsSetupDialogTest);
#include "ClientsSetupDialogTest.moc"
