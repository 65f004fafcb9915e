#include "clients/ClientsSetupDialog.h"

#include <QMenu>

#include "clients/ClientFileTransfers.h"
#include "clients/ClientStructureEditor.h"
#include "clients/ClientTreeContent.h"
#include "clients/ImportChoiceDialog.h"
#include "clients/SetupCommandIds.h"
#include "clients/SetupTree.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "platform/contacts/ContactChooser.h"
#include "settings/BarKind.h"
#include "settings/Context.h"
#include "store/Client.h"
#include "store/RecordStore.h"
#include "widgets/DialogBar.h"
#include "widgets/NameInputDialog.h"
#include "widgets/SetupIcons.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

bool isEmpty(const ClientTransfers& t) {
    return !t.openListFile && !t.importStructureFile && !t.exportChoices;
}

QTreeWidgetItem* makeItem(ClientItemKind kind, const QString& text, qint64 data) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setIcon(0, clientTreeIcon(int(kind)));
    item->setData(0, ClientsSetupDialog::DataRole, data);
    item->setData(0, ClientsSetupDialog::KindRole, int(kind));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (kind != ClientItemKind::Group)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

quint32 recordIdOf(const QTreeWidgetItem* item) {
    return quint32(item->data(0, ClientsSetupDialog::DataRole).toLongLong());
}

bool isTaskOfProject(const QTreeWidgetItem* item) {
    return ClientsSetupDialog::kindOf(item) == ClientItemKind::Task && item->parent() &&
           ClientsSetupDialog::kindOf(item->parent()) == ClientItemKind::Project;
}

int promptOf(ClientItemKind kind) {
    switch (kind) {
        case ClientItemKind::Client:
            return str::EnterClientName;
        case ClientItemKind::Project:
            return str::EnterProjectName;
        case ClientItemKind::Task:
            return str::EnterTaskName;
        default:
            return str::EnterContactName;
    }
}

const QString kTransfersLater = QStringLiteral("Importing files is not available here.");

}  // namespace

ClientsSetupDialog::ClientsSetupDialog(Context& context, QWidget* parent, ClientTransfers transfers)
    : QDialog(parent),
      m_context(context),
      m_transfers(isEmpty(transfers) ? clientFileTransfers(context) : std::move(transfers)),
      m_editor(std::make_unique<ClientStructureEditor>(context.store)),
      m_tree(new SetupTree(this)) {
    setObjectName(QStringLiteral("clientsSetupDialog"));
    setWindowTitle(QStringLiteral("Clients"));
    m_tree->setObjectName(QStringLiteral("clientTree"));
    auto* delegate = new InPlaceEditDelegate(
        [](const QModelIndex& index) {
            return inPlaceEditLimit(ClientItemKind(index.data(KindRole).toInt()));
        },
        m_tree);
    m_tree->setItemDelegate(delegate);
    // The store changes once the editor has closed, not while it commits.
    connect(
        delegate, &InPlaceEditDelegate::committed, this,
        [this](const QPersistentModelIndex& index, const QString& text) {
            if (QTreeWidgetItem* item = index.isValid() ? m_tree->itemFromIndex(index) : nullptr)
                rename(item, text);
        },
        Qt::QueuedConnection);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            &ClientsSetupDialog::updateCommandStates);

    buildBar();
    m_bar->frame(this, m_tree, QStringLiteral("clientsetup"), cmd::DeleteItem);
    // The bar's commands on the item chosen: a child added to it, it
    // renamed or deleted, names imported to or exported from its level.
    m_bar->addContextMenu(m_tree, {{cmd::AddClient, QStringLiteral("Add Client...")},
                                   {cmd::AddProject, QStringLiteral("Add Project...")},
                                   {cmd::AddTask, QStringLiteral("Add Task...")},
                                   {cmd::AddContact, QStringLiteral("Add Contact...")},
                                   {0, {}},
                                   {cmd::ModifyItem, QStringLiteral("Modify...")},
                                   {cmd::DeleteItem, QStringLiteral("Delete")},
                                   {0, {}},
                                   {cmd::ImportNames, QStringLiteral("Import...")},
                                   {cmd::ExportNames, QStringLiteral("Export...")}});

    resize(380, 440);
    keepWindowPlace(this, m_context.registry, QStringLiteral("ClientsSetup"));
    fill();
}

ClientsSetupDialog::~ClientsSetupDialog() = default;

void ClientsSetupDialog::buildBar() {
    m_bar = new DialogBar(dialogBarKind(m_context.settings), this);
    connect(m_bar, &DialogBar::commandTriggered, this, &ClientsSetupDialog::onCommand);
    if (m_bar->kind() == DialogBar::Kind::SoftKeys) {
        QMenu* action = m_bar->addPopup(QStringLiteral("Action"), QStringLiteral("actionMenu"));
        m_bar->addCommand(action, cmd::AddClient, QStringLiteral("Add Client..."));
        m_bar->addCommand(action, cmd::AddProject, QStringLiteral("Add Project..."));
        m_bar->addCommand(action, cmd::AddTask, QStringLiteral("Add Task..."));
        m_bar->addCommand(action, cmd::AddContact, QStringLiteral("Add Contact..."));
        action->addSeparator();
        m_bar->addCommand(action, cmd::ModifyItem, QStringLiteral("Modify..."));
        m_bar->addCommand(action, cmd::DeleteItem, QStringLiteral("Delete"));
        m_bar->addStretch();
        QMenu* menu = m_bar->addPopup(QStringLiteral("Menu"), QStringLiteral("menu"));
        m_bar->addCommand(menu, cmd::ImportNames, QStringLiteral("Import..."));
        m_bar->addCommand(menu, cmd::ExportNames, QStringLiteral("Export..."));
        return;
    }
    QMenu* add = m_bar->addPopup(QStringLiteral("Add"), QStringLiteral("addMenu"));
    m_bar->addCommand(add, cmd::AddClient, QStringLiteral("Client..."));
    m_bar->addCommand(add, cmd::AddProject, QStringLiteral("Project..."));
    m_bar->addCommand(add, cmd::AddTask, QStringLiteral("Task..."));
    m_bar->addCommand(add, cmd::AddContact, QStringLiteral("Contact..."));
    m_bar->addSeparator();
    const std::pair<int, const char*> buttons[] = {{cmd::ModifyItem, "Modify"},
                                                   {cmd::DeleteItem, "Delete"},
                                                   {cmd::ImportNames, "Import"},
                                                   {cmd::ExportNames, "Export"}};
    for (auto [id, text] : buttons)
        m_bar->addCommand(nullptr, id, QString::fromLatin1(text));
}

ClientItemKind ClientsSetupDialog::kindOf(const QTreeWidgetItem* item) {
    return ClientItemKind(item->data(0, KindRole).toInt());
}

QTreeWidgetItem* ClientsSetupDialog::addClientItem(const QString& name, quint32 recordId,
                                                   quint32 clientId) {
    QTreeWidgetItem* client = makeItem(ClientItemKind::Client, name, recordId);
    client->setData(0, ClientIdRole, clientId);
    for (ClientGroup group : {ClientGroup::Projects, ClientGroup::Tasks, ClientGroup::Contacts})
        client->addChild(makeItem(ClientItemKind::Group, clientGroupTitle(group), int(group)));
    return client;
}

void ClientsSetupDialog::fill() {
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    const ClientTreeContent content = ClientTreeContent::load(m_context.store);
    QList<QTreeWidgetItem*> roots;
    for (const auto& c : content.clients) {
        QTreeWidgetItem* client = addClientItem(c.name, c.recordId, c.clientId);
        for (const auto& p : c.projects) {
            QTreeWidgetItem* project = makeItem(ClientItemKind::Project, p.name, p.recordId);
            for (const auto& t : p.tasks)
                project->addChild(makeItem(ClientItemKind::Task, t.name, t.recordId));
            client->child(0)->addChild(project);
        }
        for (const auto& t : c.tasks)
            client->child(1)->addChild(makeItem(ClientItemKind::Task, t.name, t.recordId));
        for (const auto& contact : c.contacts)
            client->child(2)->addChild(
                makeItem(ClientItemKind::Contact, contact.name, contact.recordId));
        roots.append(client);
    }
    m_tree->addTopLevelItems(roots);
    m_tree->setUpdatesEnabled(true);
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    updateCommandStates();
}

void ClientsSetupDialog::refill() {
    fill();
}

std::optional<ClientItemKind> ClientsSetupDialog::selectedKind() const {
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item ? std::optional(kindOf(item)) : std::nullopt;
}

void ClientsSetupDialog::updateCommandStates() {
    const ClientCommandStates states = clientCommandStates(selectedKind());
    for (int id : {cmd::AddProject, cmd::AddTask, cmd::AddContact})
        m_bar->setCommandEnabled(id, states.addChild);
    m_bar->setCommandEnabled(cmd::ModifyItem, states.modifyDelete);
    m_bar->setCommandEnabled(cmd::DeleteItem, states.modifyDelete);
    m_bar->setCommandEnabled(cmd::ImportNames, states.importEnabled);
    m_bar->setCommandEnabled(cmd::ExportNames, states.exportEnabled);
    m_bar->setCommandEnabled(cmd::AddClient, true);
}

void ClientsSetupDialog::onCommand(int id) {
    // Keys reach here too: a command the selection does not allow does nothing.
    if (!m_bar->isCommandEnabled(id))
        return;
    switch (id) {
        case cmd::AddClient:
            return addWithPrompt(ClientItemKind::Client);
        case cmd::AddProject:
            return addWithPrompt(ClientItemKind::Project);
        case cmd::AddTask:
            return addWithPrompt(ClientItemKind::Task);
        case cmd::AddContact:
            return addWithPrompt(ClientItemKind::Contact);
        case cmd::ModifyItem:
            return modify();
        case cmd::DeleteItem:
            return deleteSelected();
        case cmd::ImportNames:
            return runImport();
        case cmd::ExportNames:
            return runExport();
        default:
            return;
    }
}

QTreeWidgetItem* ClientsSetupDialog::clientItemOf(QTreeWidgetItem* item) const {
    while (item && item->parent())
        item = item->parent();
    return item;
}

QTreeWidgetItem* ClientsSetupDialog::groupOf(QTreeWidgetItem* clientItem, ClientGroup group) const {
    for (int i = 0; clientItem && i < clientItem->childCount(); ++i) {
        QTreeWidgetItem* child = clientItem->child(i);
        if (kindOf(child) == ClientItemKind::Group &&
            child->data(0, DataRole).toInt() == int(group))
            return child;
    }
    return nullptr;
}

quint32 ClientsSetupDialog::clientIdOf(QTreeWidgetItem* item) const {
    const QTreeWidgetItem* client = clientItemOf(item);
    return client ? client->data(0, ClientIdRole).toUInt() : 0;
}

void ClientsSetupDialog::addWithPrompt(ClientItemKind kind) {
    const QString name = NameInputDialog::ask(this, resourceString(promptOf(kind)));
    if (!name.isEmpty())
        addName(kind, name);
}

QTreeWidgetItem* ClientsSetupDialog::addName(ClientItemKind kind, const QString& given) {
    const QString name = structureName(given);
    if (name.isEmpty())
        return nullptr;

    if (kind == ClientItemKind::Client) {
        QTreeWidgetItem* item = m_tree->childNamed(nullptr, name);
        if (!item) {
            const auto added = m_editor->addClient(name);
            if (!added)
                return nullptr;
            item = addClientItem(added->name, added->recordId, added->clientId);
            m_tree->insertSorted(nullptr, item);
        }
        m_tree->selectItem(item);
        return item;
    }

    QTreeWidgetItem* selected = m_tree->currentItem();
    QTreeWidgetItem* client = clientItemOf(selected);
    if (!client)
        return nullptr;
    const quint32 clientId = clientIdOf(client);
    QTreeWidgetItem* parent = nullptr;
    switch (newItemParent(kind, kindOf(selected), isTaskOfProject(selected))) {
        case NewItemParent::ProjectsGroup:
            parent = groupOf(client, ClientGroup::Projects);
            break;
        case NewItemParent::TasksGroup:
            parent = groupOf(client, ClientGroup::Tasks);
            break;
        case NewItemParent::ContactsGroup:
            parent = groupOf(client, ClientGroup::Contacts);
            break;
        case NewItemParent::Project:
            parent = kindOf(selected) == ClientItemKind::Project ? selected : selected->parent();
            break;
    }
    if (!parent)
        return nullptr;

    QTreeWidgetItem* item = m_tree->childNamed(parent, name);
    if (!item) {
        std::optional<ClientStructureEditor::Added> added;
        if (kind == ClientItemKind::Project)
            added = m_editor->addProject(clientId, name);
        else if (kind == ClientItemKind::Contact)
            added = m_editor->addContact(clientId, name);
        else if (kindOf(parent) == ClientItemKind::Project)
            added = m_editor->addProjectTask(clientId, parent->text(0), name);
        else
            added = m_editor->addTask(clientId, name);
        if (!added)
            return nullptr;
        item = makeItem(kind, added->name, added->recordId);
        m_tree->insertSorted(parent, item);
    }
    m_tree->selectItem(item);
    return item;
}

void ClientsSetupDialog::modify() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || kindOf(item) == ClientItemKind::Group)
        return;
    m_tree->scrollToItem(item);
    m_tree->editItem(item);
}

void ClientsSetupDialog::rename(QTreeWidgetItem* item, const QString& given) {
    const QString name = structureName(given);
    const QString old = item->text(0);
    if (name == old)
        return;
    const quint32 clientId = clientIdOf(item);
    const quint32 recordId = recordIdOf(item);
    bool renamed = false;
    switch (kindOf(item)) {
        case ClientItemKind::Client:
            renamed = m_editor->renameClient(recordId, name);
            break;
        case ClientItemKind::Project:
            if (const quint32 record = m_editor->renameProject(clientId, old, name)) {
                item->setData(0, DataRole, record);
                renamed = true;
            }
            break;
        case ClientItemKind::Task:
            renamed = isTaskOfProject(item) ? m_editor->renameProjectTask(
                                                  recordId, clientId, item->parent()->text(0), name)
                                            : m_editor->renameTask(recordId, clientId, name);
            break;
        case ClientItemKind::Contact:
            renamed = m_editor->renameContact(recordId, clientId, name);
            break;
        case ClientItemKind::Group:
            break;
    }
    // A refused name (empty, or one the level already has) leaves the item as it was.
    if (!renamed)
        return;
    item->setText(0, name);
    m_tree->resort(item);
}

void ClientsSetupDialog::deleteSelected() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || kindOf(item) == ClientItemKind::Group)
        return;
    using platform::Answer;
    if (kindOf(item) == ClientItemKind::Client &&
        m_context.ui.ask(resourceString(str::DeleteClientQuestion), platform::MessageIcon::Warning,
                         platform::Ui::Buttons::YesNo, Answer::No, this) != Answer::Yes)
        return;
    if (kindOf(item) == ClientItemKind::Project &&
        !m_context.ui.question(resourceString(str::DeleteProjectQuestion), this))
        return;
    if (deleteItem(item)) {
        delete item;
    } else {
        // The store has the last word: show what it holds now.
        fill();
    }
    updateCommandStates();
}

bool ClientsSetupDialog::deleteItem(QTreeWidgetItem* item) {
    const quint32 clientId = clientIdOf(item);
    const quint32 recordId = recordIdOf(item);
    switch (kindOf(item)) {
        case ClientItemKind::Client:
            return m_editor->deleteClient(recordId);
        case ClientItemKind::Project:
            return m_editor->deleteProject(clientId, item->text(0));
        case ClientItemKind::Task:
            if (isTaskOfProject(item)) {
                QTreeWidgetItem* project = item->parent();
                const quint32 left =
                    m_editor->deleteProjectTask(recordId, clientId, project->text(0));
                if (left != 0)
                    project->setData(0, DataRole, left);
                return left != 0;
            }
            return m_editor->deleteTask(recordId);
        case ClientItemKind::Contact:
            return m_editor->deleteContact(recordId);
        case ClientItemKind::Group:
            break;
    }
    return false;
}

void ClientsSetupDialog::runImport() {
    const ClientTransfers& t = m_transfers;
    if (m_tree->topLevelItemCount() == 0 && t.importStructureFile) {
        if (t.importStructureFile(this))
            fill();
        return;
    }
    const bool hasClient = clientItemOf(m_tree->currentItem()) != nullptr;
    const bool lists = bool(t.openListFile);
    ImportChoiceDialog dialog(this);
    dialog.setAvailable(ImportChoice::Clients, lists);
    for (ImportChoice c : {ImportChoice::Projects, ImportChoice::Tasks, ImportChoice::Contacts})
        dialog.setAvailable(c, lists && hasClient);
    dialog.setAvailable(ImportChoice::ContactFromApplication, hasClient);
    dialog.setAvailable(ImportChoice::StructureFile, bool(t.importStructureFile));
    if (!lists || !t.importStructureFile)
        dialog.setNote(kTransfersLater);
    if (dialog.exec() != QDialog::Accepted)
        return;

    switch (dialog.choice()) {
        case ImportChoice::Clients:
            return importListFile(ClientItemKind::Client);
        case ImportChoice::Projects:
            return importListFile(ClientItemKind::Project);
        case ImportChoice::Tasks:
            return importListFile(ClientItemKind::Task);
        case ImportChoice::Contacts:
            return importListFile(ClientItemKind::Contact);
        case ImportChoice::ContactFromApplication: {
            // Added as by Add Contact, so a name is cut to what the store keeps.
            const QString name =
                platform::ContactChooser::choose(m_context.ui, m_context.registry, this);
            if (!name.isEmpty())
                addName(ClientItemKind::Contact, name);
            return;
        }
        case ImportChoice::StructureFile:
            if (t.importStructureFile && t.importStructureFile(this))
                fill();
            return;
    }
}

void ClientsSetupDialog::importListFile(ClientItemKind kind) {
    if (!m_transfers.openListFile)
        return;
    const ClientTransfers::ListFile file = m_transfers.openListFile(this);
    using Status = ClientTransfers::ListFile::Status;
    if (file.status == Status::Cancelled)
        return;
    if (file.status == Status::Failed) {
        m_context.ui.message(
            file.failure.isEmpty() ? resourceString(str::UnableToImport) : file.failure,
            platform::MessageIcon::Stop, this);
        return;
    }
    QTreeWidgetItem* selection = m_tree->currentItem();
    m_tree->setUpdatesEnabled(false);
    for (const QString& name : file.names) {
        // Every name is placed by the selection the import started from.
        m_tree->setCurrentItem(selection);
        addName(kind, name);
    }
    m_tree->selectItem(selection);
    m_tree->setUpdatesEnabled(true);
}

QStringList ClientsSetupDialog::exportLevelNames() const {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item)
        return {};
    QTreeWidgetItem* level = nullptr;  // whose children; nullptr the root level
    switch (kindOf(item)) {
        case ClientItemKind::Client:
            level = nullptr;
            break;
        case ClientItemKind::Project:
        case ClientItemKind::Group:
            level = item;
            break;
        case ClientItemKind::Task:
        case ClientItemKind::Contact:
            level = item->parent();
            break;
    }
    QStringList names;
    for (int i = 0, n = m_tree->childCount(level); i < n; ++i)
        names.append(m_tree->childAt(level, i)->text(0));
    return names;
}

void ClientsSetupDialog::runExport() {
    if (m_transfers.exportChoices) {
        m_transfers.exportChoices(this, exportLevelNames());
        return;
    }
    m_context.ui.message(
        QStringLiteral("Exporting lists and client structure files is not available yet."),
        platform::MessageIcon::Information, this);
}

void runClientsSetup(Context& context, QWidget* parent) {
    if (!openStoreForSetup(context, parent))
        return;
    ClientsSetupDialog dialog(context, parent);
    dialog.exec();
}

}  // namespace tempolatch
