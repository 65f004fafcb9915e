#pragma once

#include <QList>
#include <QString>

namespace tempolatch {

class RecordStore;

// What the clients tree shows, read from the store: clients in name order,
// each with its projects (and their tasks), its own tasks and its contacts,
// every level sorted by text.
struct ClientTreeContent {
    struct Named {
        QString name;
        quint32 recordId = 0;
    };
    struct ProjectNode {
        QString name;
        quint32 recordId = 0;  // one of the project's project-task records
        QList<Named> tasks;
    };
    struct ClientNode {
        QString name;
        quint32 recordId = 0;
        quint32 clientId = 0;
        QList<ProjectNode> projects;
        QList<Named> tasks;
        QList<Named> contacts;
    };

    QList<ClientNode> clients;

    static ClientTreeContent load(RecordStore& store);
};

}  // namespace tempolatch
