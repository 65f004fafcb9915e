#pragma once

#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/Records.h"

namespace tempolatch {

class EntryList;
struct RowContext;

// The records a period view loads: one database sorted by date, the filter
// that picks records and the builder of their rows. Time entries and
// expenses each have one.
class PeriodRecords {
public:
    virtual ~PeriodRecords();

    // A load of the period begins: what is added up starts again.
    virtual void beginLoad() {}

    // Walks the records dated from `from` to `to` in date order; false when
    // there is no open database.
    virtual bool walk(platform::FileTime from, platform::FileTime to,
                      const RecordAccess::Visit& visit) = 0;
    // The record just read: add its row to the list when it passes the filter.
    virtual void addRecord(const platform::PropertyList& props, quint32 recordId, bool select,
                           const RowContext& context, EntryList& list) = 0;
    // The arrange-by index the list is sorted by after loading.
    virtual int arrangeBy() const = 0;
    // Whether the list shows the totals of each day or group of records.
    virtual bool addsUp() const { return false; }
};

}  // namespace tempolatch
