#include "common/SampleStore.h"

#include <QString>

#include "platform/ObjectStore.h"
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

namespace tempolatch::test {

using platform::FileTime;

namespace {

FileTime day(int index, int hour, int minute, int second) {
    return platform::toFileTime(platform::SystemTime{2024, 1, 0, 8, 0, 0, 0, 0})
        ->addDays(index)
        .addMinutes(hour * 60 + minute)
        .addTicks(second * FileTime::TicksPerSecond);
}

const QString kClients[] = {QStringLiteral("Acme"), QStringLiteral("Bäckerei Müller"),
                            QStringLiteral("globex \"East\""), QStringLiteral("Initech")};

bool fillStructure(RecordStore& store) {
    ClientStructureStore& s = store.clientStructure();
    for (int c = 0; c < 4; ++c) {
        Client client{0, kClients[c], 0};
        if (!addClient(s.clients, client))
            return false;
        for (int p = 0; p < 2; ++p)
            if (!addProjectTask(s.projects, client.clientId, QStringLiteral("Project %1").arg(p),
                                QStringLiteral("Task %1").arg(p)))
                return false;
        if (!addTask(s.tasks, client.clientId, QStringLiteral("Review")) ||
            !addContact(s.contacts, client.clientId, QStringLiteral("Contact of %1").arg(c)))
            return false;
        Rate rate;
        rate.clientId = client.clientId;
        rate.description = QStringLiteral("Standard");
        rate.rateType = RateType(c % 5);
        rate.rate = 5000 + 250 * c;
        rate.flag = c % 2 == 1;
        rate.modified = day(c, 9, 0, 0);
        if (Rates(s.rates).add(rate) != WriteResult::Written)
            return false;
    }
    Rate fallback;
    fallback.description = QStringLiteral("Default");
    fallback.rate = 4500;
    fallback.modified = day(0, 9, 0, 0);
    return Rates(s.rates).add(fallback) == WriteResult::Written;
}

TimeEntry sampleEntry(int i) {
    TimeEntry e;
    e.status = EntryStatus(i % 4);
    e.rateType = RateType(i % 5);
    e.client = kClients[i % 4];
    e.project = QStringLiteral("Project %1").arg(i % 2);
    e.task = QStringLiteral("Task %1").arg(i % 3);
    if (i % 5 == 0)
        e.phase = QStringLiteral("Phase %1").arg(i % 3);
    if (i % 6 == 0)
        e.billTo = QStringLiteral("Accounts\r\nPayable");
    if (i % 7 == 0)
        e.custom1 = QStringLiteral("PO-%1").arg(i);
    e.currency = i % 9 == 0 ? QStringLiteral("EUR") : QStringLiteral("USD");
    // Seconds set mark a start time.
    e.date = day((i * 53) % 730, 8 + i % 9, (i * 7) % 60, i % 3 == 0 ? 1 : 0);
    e.duration = 25 + (i * 37) % 800;
    e.breakTime = i % 4 == 1 ? 25 : 0;
    e.rate = e.rateType == RateType::Fixed ? 120000 : 6000 + (i % 5) * 500;
    if (e.status == EntryStatus::Paid)
        e.paidDate = day(i % 700 + 30, 0, 0, 0);
    if (i % 10 == 3) {
        // Note sizes on both sides of the 4096-byte limit of small streams.
        const int size = i % 40 == 3 ? 4100 : 10 + i % 500;
        e.note = QByteArray(size, char('a' + i % 26));
    }
    e.modified = day(i % 700, 18, 0, 0);
    return e;
}

ExpenseEntry sampleExpense(int i) {
    ExpenseEntry x;
    x.type = ExpenseType(i % 2);
    x.status = EntryStatus(i % 4);
    x.description = QStringLiteral("Expense %1").arg(i);
    x.client = kClients[i % 4];
    x.project = QStringLiteral("Project 0");
    x.currency = QStringLiteral("USD");
    x.date = day(i * 11, 12, 0, 0);
    if (x.isMileage()) {
        x.startOdometer = 1000 * i;
        x.distance = 42 + i;
        x.amount = 55;
    } else {
        x.category = QStringLiteral("Travel");
        x.amount = 1999 + i;
        x.receipt = i % 3 == 0;
    }
    if (x.status == EntryStatus::Paid)
        x.paidDate = day(i * 11 + 20, 0, 0, 0);
    x.note = i % 2 ? QStringLiteral("Taxi") : QString();
    x.modified = day(i * 11, 18, 0, 0);
    return x;
}

}  // namespace

bool fillSampleStore(RecordStore& store, int entries) {
    platform::ObjectStore* objects = store.objectStore();
    if (!objects || !store.isOpen())
        return false;
    platform::StoreBatch batch(*objects);
    if (!batch.isActive() || !fillStructure(store))
        return false;
    for (int i = 0; i < entries; ++i) {
        TimeEntry e = sampleEntry(i);
        if (TimeEntries(store).add(e) != WriteResult::Written)
            return false;
    }
    for (int i = 0; i < 6; ++i) {
        ExpenseEntry x = sampleExpense(i);
        if (Expenses(store).add(x) != WriteResult::Written)
            return false;
    }
    return batch.commit();
}

QString testDataPath(const QString& relative) {
    return qEnvironmentVariable("TEMPOLATCH_TEST_DATA") + QLatin1Char('/') + relative;
}

bool regeneratingGoldenFiles() {
    return qEnvironmentVariableIsSet("TEMPOLATCH_REGENERATE_GOLDEN");
}

}  // namespace tempolatch::test
