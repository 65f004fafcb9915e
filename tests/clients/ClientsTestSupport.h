#pragma once

#include <QTest>
#include <QTreeWidgetItem>

#include "common/TestEnvironment.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

inline ClientStructureStore& structure() {
    return TestEnvironment::current().store().clientStructure();
}

// A client with its structure: projects as "project/task" or "project"
// (a project without tasks).
inline Client seedClient(const QString& name, const QStringList& projectTasks = {},
                         const QStringList& tasks = {}, const QStringList& contacts = {}) {
    Client client{0, name, 0};
    addClient(structure().clients, client);
    for (const QString& pair : projectTasks) {
        const QStringList parts = pair.split(QLatin1Char('/'));
        addProjectTask(structure().projects, client.clientId, parts[0], parts.value(1));
    }
    for (const QString& task : tasks)
        addTask(structure().tasks, client.clientId, task);
    for (const QString& contact : contacts)
        addContact(structure().contacts, client.clientId, contact);
    return client;
}

inline Rate seedRate(quint32 clientId, const QString& description, RateType type, qint32 value) {
    Rate rate;
    rate.clientId = clientId;
    rate.description = description;
    rate.rateType = type;
    rate.rate = value;
    Rates(structure().rates).add(rate);
    return rate;
}

// "project/task" for every record of the client, in store order.
inline QStringList projectPairs(quint32 clientId) {
    QStringList pairs;
    for (const Project& p : projectRecords(structure().projects, clientId))
        pairs.append(p.project + QLatin1Char('/') + p.task);
    return pairs;
}

inline QStringList rateDescriptions(quint32 clientId) {
    QStringList out;
    for (const Rate& rate : listRates(structure().rates, clientId))
        out.append(rate.description);
    return out;
}

// The texts of an item's children, in tree order.
inline QStringList childTexts(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts.append(item->child(i)->text(0));
    return texts;
}

}  // namespace tempolatch::test
