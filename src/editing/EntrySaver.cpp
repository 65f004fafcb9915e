#include "editing/EntrySaver.h"

#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch {

WriteResult EntrySaver::save(TimeEntry& entry, const std::optional<TimeEntry>& asRead) {
    return saveEdited(
        m_store, m_error, entry, [this](const TimeEntry& saved) { return addStructure(saved); },
        asRead);
}

WriteResult EntrySaver::saveStructure(const TimeEntry& entry) {
    const StoreOutcome outcome =
        writeInOneTransaction(m_store, [&] { return addStructure(entry); });
    m_error = outcome.error;
    return outcome.result;
}

WriteResult EntrySaver::addStructure(const TimeEntry& entry) {
    return addEntryStructure(m_store, entry);
}

}  // namespace tempolatch
