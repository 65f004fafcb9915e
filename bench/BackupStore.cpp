#include "BackupStore.h"

#include "BenchSupport.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

namespace tempolatch::bench {

using platform::FileTime;
using platform::StoreBatch;

namespace {

constexpr int kClients = 200;

// Records of the client structure: per client 4 pairs, 2 tasks, 2 contacts
// and 2 rates, plus 3 default rates.
constexpr int kStructureRecords = kClients * (1 + 4 + 2 + 2 + 2) + 3;

}  // namespace

int backupRecordsOf(int entries) {
    return entries + entries / 10 + kStructureRecords;
}

void fillBackupStore(RecordStore& store, int entries) {
    StoreBatch batch(*store.objectStore());
    for (int i = 0; i < entries; ++i) {
        TimeEntry e;
        e.date = instantOf(i).addTicks(FileTime::TicksPerSecond);
        e.client = QStringLiteral("Client %1").arg(i % kClients);
        e.project = QStringLiteral("Project %1").arg(i % 4);
        e.task = QStringLiteral("Design");
        e.currency = QStringLiteral("USD");
        e.status = EntryStatus::Billable;
        e.duration = 150;
        e.rate = 6000;
        e.modified = e.date;
        if (i % 10 == 0)
            e.note = QByteArray(200, 'n');
        TimeEntries(store).add(e);
    }
    for (int i = 0; i < entries / 10; ++i) {
        ExpenseEntry x;
        x.date = instantOf(i * 10);
        x.client = QStringLiteral("Client %1").arg(i % kClients);
        x.description = QStringLiteral("Lunch");
        x.category = QStringLiteral("Meals");
        x.amount = 1250;
        x.modified = x.date;
        Expenses(store).add(x);
    }
    ClientStructureStore& s = store.clientStructure();
    auto addRateOf = [&](quint32 clientId, const QString& description, qint32 value) {
        Rate r;
        r.clientId = clientId;
        r.description = description;
        r.rate = value;
        r.modified = firstDay();
        Rates(s.rates).add(r);
    };
    for (int c = 0; c < kClients; ++c) {
        Client client{0, QStringLiteral("Client %1").arg(c), 0};
        addClient(s.clients, client);
        for (int p = 0; p < 4; ++p)
            addProjectTask(s.projects, client.clientId, QStringLiteral("Project %1").arg(p),
                           QStringLiteral("Design"));
        addTask(s.tasks, client.clientId, QStringLiteral("Admin"));
        addTask(s.tasks, client.clientId, QStringLiteral("Travel"));
        addContact(s.contacts, client.clientId, QStringLiteral("Accounts"));
        addContact(s.contacts, client.clientId, QStringLiteral("Owner"));
        addRateOf(client.clientId, QStringLiteral("Standard"), 8000);
        addRateOf(client.clientId, QStringLiteral("Late"), 12000);
    }
    for (int d = 0; d < 3; ++d)
        addRateOf(0, QStringLiteral("Default %1").arg(d), 5000 + d);
    batch.commit();
}

}  // namespace tempolatch::bench
