#pragma once

#include <QString>
#include <optional>

namespace tempolatch {

// What an item of the clients tree stands for. The number is the item's
// image, which is how the tree tells its kinds apart.
enum class ClientItemKind { Client = 0, Project = 1, Task = 2, Contact = 3, Group = 4 };

// The data of the three group items under each client, in their order.
enum class ClientGroup { Projects = -1, Tasks = -2, Contacts = -3 };

QString clientGroupTitle(ClientGroup group);

// Which commands of the clients setup are available for a selection. Add
// Client is always available.
struct ClientCommandStates {
    bool addChild = false;  // Add Project, Add Task, Add Contact
    bool modifyDelete = false;
    bool importEnabled = false;
    bool exportEnabled = false;

    bool operator==(const ClientCommandStates&) const = default;
};

// nullopt: nothing is selected.
ClientCommandStates clientCommandStates(std::optional<ClientItemKind> selected);

// Where Add Project, Add Task and Add Contact put the new item. The client is
// always the selection's client.
enum class NewItemParent { ProjectsGroup, TasksGroup, ContactsGroup, Project };

// taskOfProject: the selected item is a task under a project. A task goes
// under the selected project, or the project of the selected task, and
// under the client's "Tasks" otherwise.
NewItemParent newItemParent(ClientItemKind newKind, ClientItemKind selected, bool taskOfProject);

// How many characters the in-place editor takes for each kind.
int inPlaceEditLimit(ClientItemKind kind);

// Tree items sort by their text in the user's locale; identical texts keep
// no particular order.
bool itemTextLess(const QString& a, const QString& b);

}  // namespace tempolatch
