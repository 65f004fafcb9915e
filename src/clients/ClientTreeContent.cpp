#include "clients/ClientTreeContent.h"

#include <QHash>
#include <algorithm>

#include "clients/ClientTreeRules.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Project.h"

namespace tempolatch {

namespace {

template <typename T>
void sortByName(QList<T>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const T& a, const T& b) { return itemTextLess(a.name, b.name); });
}

QList<ClientTreeContent::Named> namedRecords(ClientNameRecords records, quint32 clientId) {
    QList<ClientTreeContent::Named> out;
    for (const ClientName& record : records.readable(clientId))
        if (!record.name.isEmpty())
            out.append({record.name, record.recordId});
    sortByName(out);
    return out;
}

QList<ClientTreeContent::ProjectNode> projectNodes(ClientStructure& structure, quint32 clientId) {
    QList<ClientTreeContent::ProjectNode> projects;
    QHash<QString, qsizetype> indexOf;
    for (const Project& record : structure.projectList(clientId)) {
        if (record.project.isEmpty())
            continue;
        auto found = indexOf.constFind(record.project);
        if (found == indexOf.constEnd()) {
            found = indexOf.insert(record.project, projects.size());
            projects.append({record.project, record.recordId, {}});
        }
        if (!record.task.isEmpty())
            projects[*found].tasks.append({record.task, record.recordId});
    }
    for (auto& project : projects)
        sortByName(project.tasks);
    sortByName(projects);
    return projects;
}

}  // namespace

ClientTreeContent ClientTreeContent::load(RecordStore& store) {
    ClientTreeContent content;
    ClientStructure structure(store);
    for (const Client& client : structure.clientList()) {
        ClientNode node{client.name, client.recordId, client.clientId, {}, {}, {}};
        node.projects = projectNodes(structure, client.clientId);
        node.tasks = namedRecords(structure.tasks(), client.clientId);
        node.contacts = namedRecords(structure.contacts(), client.clientId);
        content.clients.append(node);
    }
    // The store orders names by its own keys; the tree by the locale alone.
    sortByName(content.clients);
    return content;
}

}  // namespace tempolatch
