#include "store/Records.h"

#include "platform/ObjectStore.h"

namespace tempolatch {

using platform::FileTime;
using platform::PropertyList;

std::optional<PropertyList> RecordAccess::findProperties(quint32 recordId) {
    PropertyList props;
    if (recordId == 0 || m_db.seekRecord(recordId) != recordId ||
        m_db.readCurrent(props) != ReadResult::Read)
        return std::nullopt;
    return props;
}

WriteResult RecordAccess::addRecord(StoredRecord& record, quint16 changeFlags) {
    return m_db.add(record, changeFlags);
}

WriteResult RecordAccess::updateRecord(StoredRecord& record, quint16 changeFlags) {
    if (!record.isStorable())
        return WriteResult::NotStorable;
    if (record.recordId == 0 || m_db.seekRecord(record.recordId) != record.recordId)
        return WriteResult::NotFound;
    return m_db.update(record, changeFlags);
}

WriteResult RecordAccess::remove(quint32 recordId) {
    if (recordId == 0 || m_db.seekRecord(recordId) != recordId)
        return WriteResult::NotFound;
    return m_db.deleteRecord(recordId) ? WriteResult::Written : WriteResult::Refused;
}

bool RecordAccess::removeEach(const std::vector<quint32>& recordIds) {
    for (const quint32 id : recordIds) {
        if (!m_db.deleteRecord(id) && m_db.lastError() != platform::ObjectStore::ErrorNotFound)
            return false;
    }
    return true;
}

bool RecordAccess::forEachStored(const Visit& visit) {
    PropertyList props;
    for (quint32 id = m_db.seekFirst(); id != 0; id = m_db.seekNext()) {
        if (m_db.readCurrent(props) != ReadResult::Read)
            return false;
        if (!visit(id, props))
            return true;
    }
    return true;
}

void RecordAccess::forEachStoredInRange(FileTime from, FileTime to, const Visit& visit) {
    const quint32 dateProp = m_db.sortProperty();
    PropertyList props;
    for (quint32 id = m_db.seekFrom(from); id != 0; id = m_db.seekNext()) {
        // A record that cannot be read is skipped, not taken for the end.
        if (m_db.readCurrent(props) != ReadResult::Read)
            continue;
        const platform::Property* date = platform::findProperty(props, dateProp);
        const FileTime when = date ? date->toFileTime() : FileTime{};
        if (when > to)
            return;
        if (when < from)
            continue;
        if (!visit(id, props))
            return;
    }
}

}  // namespace tempolatch
