#pragma once

#include <QList>
#include <QStringList>
#include <optional>

#include "store/Databases.h"

namespace tempolatch {

// One project and task pair of a client ("Tempolatch Projects"). A project
// is the set of a client's records with the same project name; its tasks
// are their task names (one may be empty).
struct Project {
    quint32 clientId = 0;
    QString project;
    QString task;
    quint32 recordId = 0;
};

ReadResult readProject(ProjectsDatabase& db, Project& record);
Project projectOf(const platform::PropertyList& props, quint32 recordId);
// Every record of the client, in the order of the store.
QList<Project> projectRecords(ProjectsDatabase& db, quint32 clientId);

// Names compare exactly, case-sensitively.
bool projectTaskExists(ProjectsDatabase& db, quint32 clientId, const QString& project,
                       const QString& task);
// Adds the pair unless the project name is empty or the pair exists; the new
// record id, else 0.
quint32 addProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                       const QString& task);
// Adds the pair without looking for it first: for callers that know the
// client's pairs already.
quint32 insertProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                          const QString& task);
// Rewrites the current record with the three properties.
bool updateProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                       const QString& task);
// Rewrite only one name of the current record.
bool renameProject(ProjectsDatabase& db, const QString& project);
bool renameProjectTask(ProjectsDatabase& db, const QString& task);
// Deletes every record of the client with that project name.
bool deleteProject(ProjectsDatabase& db, quint32 clientId, const QString& project);

// The distinct non-empty project names of the client, or of all clients.
QStringList listProjects(ProjectsDatabase& db, std::optional<quint32> clientId);
// The non-empty task names of the client's project.
QStringList listProjectTasks(ProjectsDatabase& db, quint32 clientId, const QString& project);
void deleteProjectsOfClient(ProjectsDatabase& db, quint32 clientId);

}  // namespace tempolatch
