#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "clients/ClientTreeRules.h"

class QTreeWidgetItem;

namespace tempolatch {

struct Context;
class ClientStructureEditor;
class DialogBar;
class SetupTree;

// List files and client-structure files are read and written elsewhere;
// once these are installed, their import choices and Export... work.
struct ClientTransfers {
    struct ListFile {
        enum class Status { Cancelled, Failed, Read };
        Status status = Status::Cancelled;
        QStringList names;
        QString failure;  // why it Failed, when there is more to say than "unable"
    };
    // Asks for a list file and reads it.
    std::function<ListFile(QWidget* parent)> openListFile;
    // Asks for a client-structure file and imports it; true when the store
    // may have changed.
    std::function<bool(QWidget* parent)> importStructureFile;
    // The export choices; levelNames are the names of the tree level the
    // selection stands for.
    std::function<void(QWidget* parent, const QStringList& levelNames)> exportChoices;
};

// Clients setup: the client structure as one tree (clients; under each its
// "Projects" with their tasks, "Tasks" and "Contacts"), with commands to
// add, rename in place, delete, import and export. Every change goes to the
// store at once; OK only closes the dialog.
class ClientsSetupDialog : public QDialog {
    Q_OBJECT
public:
    // What each tree item carries.
    enum Role {
        DataRole = Qt::UserRole,  // record id, or the ClientGroup of a group
        KindRole,                 // ClientItemKind
        ClientIdRole,             // client items: the client id
    };

    // Empty transfers are the program's own (the list and client-structure
    // files of the profile's user).
    explicit ClientsSetupDialog(Context& context, QWidget* parent = nullptr,
                                ClientTransfers transfers = {});
    ~ClientsSetupDialog() override;

    SetupTree* tree() const { return m_tree; }
    DialogBar* commandBar() const { return m_bar; }

    void onCommand(int id);

    // Adds a name as the Add command of its kind does, placed by the
    // selection; selects the new item, or the item that already has that
    // name. nullptr when nothing could be added.
    QTreeWidgetItem* addName(ClientItemKind kind, const QString& name);
    // Reads the tree anew from the store; the first client is selected.
    void refill();
    // The names of the tree level the selection stands for (list export).
    QStringList exportLevelNames() const;

    static ClientItemKind kindOf(const QTreeWidgetItem* item);

private:
    void buildBar();
    void fill();
    void updateCommandStates();
    void addWithPrompt(ClientItemKind kind);
    void modify();
    void deleteSelected();
    bool deleteItem(QTreeWidgetItem* item);
    void runImport();
    void importListFile(ClientItemKind kind);
    void runExport();
    void rename(QTreeWidgetItem* item, const QString& text);

    std::optional<ClientItemKind> selectedKind() const;
    QTreeWidgetItem* clientItemOf(QTreeWidgetItem* item) const;
    QTreeWidgetItem* groupOf(QTreeWidgetItem* clientItem, ClientGroup group) const;
    quint32 clientIdOf(QTreeWidgetItem* item) const;
    QTreeWidgetItem* addClientItem(const QString& name, quint32 recordId, quint32 clientId);

    Context& m_context;
    ClientTransfers m_transfers;
    std::unique_ptr<ClientStructureEditor> m_editor;
    SetupTree* m_tree;
    DialogBar* m_bar = nullptr;
};

// Opens the clients setup over parent (command 40032).
void runClientsSetup(Context& context, QWidget* parent);

}  // namespace tempolatch
