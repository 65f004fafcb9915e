#include "editing/EntrySaver.h"

#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch {

WriteResult EntrySaver::save(TimeEntry& entry) {
    return saveEdited(m_store, m_error, entry,
                      [this](const TimeEntry& saved) { return addStructure(saved); });
}

WriteResult EntrySaver::saveStructure(const TimeEntry& entry) {
    const StoreOutcome outcome =
        writeInOneTransaction(m_store, [&] { return addStructure(entry); });
    m_error = outcome.error;
    return outcome.result;
}

WriteResult EntrySaver::addStructure(const TimeEntry& entry) {
    const WriteResult result = addClientStructure(
        m_store, entry.client, entry.billTo, [&entry](ClientStructure& structure, quint32 id) {
            return entry.project.isEmpty()
                       ? structure.tasks().add(id, entry.task)
                       : structure.addProjectTask(id, entry.project, entry.task);
        });
    if (!succeeded(result))
        return result;
    return addListValues(m_store, {{ListKind::Phase, &entry.phase},
                                   {ListKind::Currency, &entry.currency},
                                   {ListKind::Custom1, &entry.custom1},
                                   {ListKind::Custom2, &entry.custom2},
                                   {ListKind::Custom3, &entry.custom3}});
}

}  // namespace tempolatch
