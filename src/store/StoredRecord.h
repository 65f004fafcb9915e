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

}  // namespace tempolatch
