#include "clients/ClientTreeRules.h"

#include "platform/Locale.h"
#include "platform/StringTable.h"

namespace tempolatch {

QString clientGroupTitle(ClientGroup group) {
    switch (group) {
        case ClientGroup::Projects:
            return resourceString(str::ProjectsGroup);
        case ClientGroup::Tasks:
            return resourceString(str::TasksGroup);
        case ClientGroup::Contacts:
            return resourceString(str::ContactsGroup);
    }
    return {};
}

ClientCommandStates clientCommandStates(std::optional<ClientItemKind> selected) {
    if (!selected)
        return {false, false, true, false};
    switch (*selected) {
        case ClientItemKind::Client:
        case ClientItemKind::Project:
            return {true, true, true, true};
        case ClientItemKind::Task:
        case ClientItemKind::Contact:
            return {true, true, false, false};
        case ClientItemKind::Group:
            return {true, false, false, true};
    }
    return {};
}

NewItemParent newItemParent(ClientItemKind newKind, ClientItemKind selected, bool taskOfProject) {
    switch (newKind) {
        case ClientItemKind::Project:
            return NewItemParent::ProjectsGroup;
        case ClientItemKind::Contact:
            return NewItemParent::ContactsGroup;
        default:
            break;
    }
    const bool projectSelected =
        selected == ClientItemKind::Project || (selected == ClientItemKind::Task && taskOfProject);
    return projectSelected ? NewItemParent::Project : NewItemParent::TasksGroup;
}

int inPlaceEditLimit(ClientItemKind kind) {
    return kind == ClientItemKind::Contact ? 64 : 128;
}

bool itemTextLess(const QString& a, const QString& b) {
    return platform::Locale::compare(a, b) < 0;
}

}  // namespace tempolatch
