#include "store/Project.h"

#include <QSet>

#include "platform/ObjectStore.h"
#include "store/Client.h"
#include "store/ClientWalk.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

Project projectOf(const PropertyList& props, quint32 recordId) {
    return {clientIdProperty(props), nameProperty(props, prop::StructureName),
            nameProperty(props, prop::TaskName), recordId};
}

namespace {

PropertyList propertiesOf(quint32 clientId, const QString& project, const QString& task) {
    return {Property::ui4(prop::ClientId, clientId),
            Property::string(prop::StructureName, structureName(project)),
            Property::string(prop::TaskName, structureName(task))};
}

}  // namespace

ReadResult readProject(ProjectsDatabase& db, Project& record) {
    PropertyList props;
    const ReadResult result = db.readCurrent(props);
    record = projectOf(props, db.currentId());
    return result;
}

QList<Project> projectRecords(ProjectsDatabase& db, quint32 clientId) {
    QList<Project> records;
    walkClient(db, clientId, [&](const PropertyList& props) {
        records.append(projectOf(props, db.currentId()));
        return true;
    });
    return records;
}

bool projectTaskExists(ProjectsDatabase& db, quint32 clientId, const QString& project,
                       const QString& task) {
    const Property key = Property::string(prop::StructureName, structureName(project));
    const QString wantedTask = structureName(task);
    return db.findEqual(key, [&](const PropertyList& props) {
        return clientIdProperty(props) == clientId &&
               nameProperty(props, prop::TaskName) == wantedTask;
    }) != 0;
}

quint32 addProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                       const QString& task) {
    if (project.isEmpty() || projectTaskExists(db, clientId, project, task))
        return 0;
    return insertProjectTask(db, clientId, project, task);
}

quint32 insertProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                          const QString& task) {
    return db.addProperties(propertiesOf(clientId, project, task));
}

bool updateProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                       const QString& task) {
    return db.updateProperties(propertiesOf(clientId, project, task));
}

bool renameProject(ProjectsDatabase& db, const QString& project) {
    return db.updateProperties({Property::string(prop::StructureName, structureName(project))});
}

bool renameProjectTask(ProjectsDatabase& db, const QString& task) {
    return db.updateProperties({Property::string(prop::TaskName, structureName(task))});
}

bool deleteProject(ProjectsDatabase& db, quint32 clientId, const QString& project) {
    const QString wanted = structureName(project);
    QList<quint32> doomed;
    for (const Project& p : projectRecords(db, clientId))
        if (p.project == wanted)
            doomed.append(p.recordId);
    if (!db.isOpen())
        return false;
    platform::StoreBatch batch(*db.objectStore());
    for (quint32 id : doomed)
        if (!db.deleteRecord(id))
            return false;
    return batch.commit();
}

QStringList listProjects(ProjectsDatabase& db, std::optional<quint32> clientId) {
    QStringList names;
    QSet<QString> seen;
    walkClient(db, clientId, [&](const PropertyList& props) {
        const QString name = nameProperty(props, prop::StructureName);
        if (!name.isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
        return true;
    });
    return names;
}

QStringList listProjectTasks(ProjectsDatabase& db, quint32 clientId, const QString& project) {
    const QString wanted = structureName(project);
    QStringList tasks;
    for (const Project& p : projectRecords(db, clientId))
        if (p.project == wanted && !p.task.isEmpty())
            tasks.append(p.task);
    return tasks;
}

void deleteProjectsOfClient(ProjectsDatabase& db, quint32 clientId) {
    db.deleteAllOfClient(clientId);
}

}  // namespace tempolatch
