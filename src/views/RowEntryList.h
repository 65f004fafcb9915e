#pragma once

#include "views/EntryListWidget.h"

class QAbstractItemView;
class QKeyEvent;

namespace tempolatch {

class EntryRowModel;

// The list operations of the Default and Simple lists, which both show an
// EntryRowModel in an item view.
class RowEntryList : public EntryListWidget {
public:
    void deleteAll() override;
    void setRedraw(bool on) override;
    void addRow(const EntryRow& row, bool select) override;
    bool hasSelection() const override;
    quint32 selectedRecordId() const override;
    QList<quint32> selectedRecordIds() const override;
    void rememberSelection() override;
    void restoreSelection() override;
    void deleteSelected() override;
    void sort(int arrangeBy) override;
    void setTotals(bool shown, HoursFormat format) override;
    QList<quint32> recordIds() const override;

    EntryRowModel& rowModel() const { return *m_model; }

protected:
    // Call from the view's constructor.
    void setUp(QAbstractItemView* view, EntryRowModel* model);
    // Selects, focuses and shows a row.
    void selectRow(int row);
    // The row under a right click: a selected row keeps the selection it
    // is part of, any other becomes the selection.
    void pickRow(int row);
    // Enter on a selected row counts as a tap, as a double-click does; true
    // when it was one.
    bool isEnterOnSelection(const QKeyEvent* event) const;
    virtual void tapped() = 0;

private:
    QAbstractItemView* m_view = nullptr;
    EntryRowModel* m_model = nullptr;
    quint32 m_remembered = 0;
    quint32 m_added = 0;  // added with the select flag: wins over the remembered row
};

}  // namespace tempolatch
