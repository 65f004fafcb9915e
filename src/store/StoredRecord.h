#pragma once

#include "platform/Property.h"
#include "store/RecordDatabase.h"

namespace tempolatch {

// A record that RecordDatabase::add and ::update can write. The record
// decides which properties are written, in which order, and which are
// removed on update.
class StoredRecord {
public:
    virtual ~StoredRecord() = default;

    virtual platform::PropertyList propertiesForAdd(quint16 changeFlags) const = 0;
    virtual platform::PropertyList propertiesForUpdate(quint16 changeFlags) const = 0;

    // Records with a change-flags property get the update rule of the store.
    virtual bool hasChangeFlags() const { return false; }
    // A record whose values cannot be stored faithfully is refused.
    virtual bool isStorable() const { return true; }

    quint32 recordId = 0;

    bool operator==(const StoredRecord&) const = default;
};

// Builds the property list of an add or an update: an optional property
// without a value is left out of an add and removed by an update.
class PropertyWriter {
public:
    explicit PropertyWriter(bool forUpdate) : m_forUpdate(forUpdate) {}

    void always(const platform::Property& p) { m_props.append(p); }
    void optional(bool hasValue, const platform::Property& p) {
        if (hasValue)
            m_props.append(p);
        else if (m_forUpdate)
            m_props.append(platform::Property::remove(p.id));
    }
    platform::PropertyList take() { return std::move(m_props); }

private:
    bool m_forUpdate;
    platform::PropertyList m_props;
};

// Text properties of a record kind and the fields they fill.
template <typename Record>
struct TextField {
    quint32 id;
    QString Record::*field;
};

// Sets the field of a text property; false when the property is not one of them.
template <typename Record, std::size_t N>
bool setTextField(Record& record, const platform::Property& p,
                  const TextField<Record> (&fields)[N]) {
    for (const TextField<Record>& t : fields) {
        if (t.id == p.id) {
            record.*t.field = p.text;
            return true;
        }
    }
    return false;
}

// Reads the current record into a record object, which is cleared first
// and takes the current record id; properties it does not know are ignored.
template <typename Record>
ReadResult readStoredRecord(RecordDatabase& db, Record& record) {
    record = Record();
    platform::PropertyList props;
    const ReadResult result = db.readCurrent(props);
    record.recordId = db.currentId();
    record.setFromProperties(props);
    return result;
}

}  // namespace tempolatch
