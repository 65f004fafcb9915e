#pragma once

#include <QList>

#include "settings/Settings.h"
#include "views/EntryRow.h"

namespace tempolatch {

// What a row builder needs to know about the list and view it fills.
struct RowContext {
    int listStyle = 0;  // ListStyle: 0 Default, 1 Simple, 2 Tree
    bool dayView = false;
};

// The list control interface that period views fill and commands read.
// Every row carries the record id of its record.
class EntryList {
public:
    enum Style { Default = 0, Simple = 1, Tree = 2 };

    virtual ~EntryList();

    virtual int style() const = 0;
    virtual void deleteAll() = 0;
    virtual void setRedraw(bool on) = 0;
    virtual void addRow(const EntryRow& row, bool select) = 0;
    virtual bool hasSelection() const = 0;
    // 0 when no row is selected; of several, the current one.
    virtual quint32 selectedRecordId() const = 0;
    // Every selected row's record id, in display order; empty when none is.
    virtual QList<quint32> selectedRecordIds() const = 0;
    virtual void rememberSelection() = 0;
    virtual void restoreSelection() = 0;
    // Removes the selected rows.
    virtual void deleteSelected() = 0;
    // Arrange-by index; lists without an order of their own ignore it.
    virtual void sort(int arrangeBy) = 0;
    // Whether the rows' days (or groups) show what they add up to, from the
    // next sort on; lists without totals ignore it.
    virtual void setTotals(bool shown, HoursFormat format) {
        Q_UNUSED(shown);
        Q_UNUSED(format);
    }
    // The record ids shown, in display order (summaries walk them).
    virtual QList<quint32> recordIds() const = 0;
};

}  // namespace tempolatch
