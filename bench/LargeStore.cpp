#include "LargeStore.h"

#include "notes/NoteData.h"
#include "platform/ObjectStore.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

namespace tempolatch::bench {

using platform::FileTime;

namespace {
constexpr int kClients = 20;
constexpr int kProjects = 3;
constexpr int kTasks = 3;
constexpr int kDays = 5 * 365 + 1;

QString clientName(int c) {
    return QStringLiteral("Client %1").arg(c + 1, 2, 10, QLatin1Char('0'));
}
}  // namespace

bool generateLargeStore(RecordStore& store, int entries, bool textNotes) {
    platform::ObjectStore* objects = store.objectStore();
    if (!objects || !store.isOpen())
        return false;
    platform::StoreBatch batch(*objects);
    TimeEntries entryRecords(store);
    if (!batch.isActive())
        return false;
    ClientStructureStore& s = store.clientStructure();
    for (int c = 0; c < kClients; ++c) {
        Client client{0, clientName(c), 0};
        if (!addClient(s.clients, client))
            return false;
        for (int p = 0; p < kProjects; ++p)
            for (int t = 0; t < kTasks; ++t)
                if (!addProjectTask(s.projects, client.clientId,
                                    QStringLiteral("Project %1").arg(p + 1),
                                    QStringLiteral("Task %1").arg(t + 1)))
                    return false;
    }
    const FileTime first = *platform::toFileTime(platform::SystemTime{2021, 1, 5, 1, 0, 0, 0, 0});
    NoteContent content;
    content.text = NoteText::fromPlainText(
        QStringLiteral("Went through the \"open\" points, agreed on the next steps.\n"
                       "Follow-up call, minutes sent, 3 items left."));
    const QByteArray note = textNotes ? NoteData::encode(content) : QByteArray(200, 'n');
    TimeEntry e;
    for (int i = 0; i < entries; ++i) {
        e.clear();
        const qint64 day = qint64(i) * kDays / std::max(entries, 1);
        const int inDay = i % 10;
        e.date = first.addDays(day).addMinutes(8 * 60 + inDay * 45);
        const int combo = i % (kClients * kProjects * kTasks);
        e.client = clientName(combo / (kProjects * kTasks));
        e.project = QStringLiteral("Project %1").arg(combo / kTasks % kProjects + 1);
        e.task = QStringLiteral("Task %1").arg(combo % kTasks + 1);
        e.currency = QStringLiteral("USD");
        e.duration = 25 + (i % 16) * 25;
        e.rate = 9000;
        e.status = i % 4 == 0 ? EntryStatus::Paid : EntryStatus(i % 3);
        if (e.status == EntryStatus::Paid)
            e.paidDate = first.addDays(day + 30);
        if (textNotes || i % 10 == 7)
            e.note = note;
        e.modified = e.date;
        if (entryRecords.add(e) != WriteResult::Written)
            return false;
    }
    return batch.commit();
}

}  // namespace tempolatch::bench
