#pragma once

#include <QHash>

#include <QAbstractTableModel>

#include "settings/Settings.h"
#include "views/EntryRow.h"

namespace tempolatch {

struct ColumnLayout;
struct GroupTotals;

// The rows of a Default or Simple list. Item data of every row is the
// record id of its record (RecordIdRole). With totals shown, arranging puts
// a separator with the totals before each day's rows (each group's, when
// arranged by a field): separators carry no record and cannot be selected.
class EntryRowModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role { RecordIdRole = Qt::UserRole, StatusRole, NoteRole };

    // Without columns the model has one column (the Default list).
    explicit EntryRowModel(const ColumnLayout* columns = nullptr, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A column title the user named (the custom fields), in place of the
    // resource string `title`.
    void setTitle(int title, const QString& text);

    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Separators with totals from the next arranging on, or none.
    void setTotals(bool shown, HoursFormat format);
    bool totalsShown() const { return m_totalsShown; }
    bool isSeparator(int row) const { return m_rows.at(row).separator; }

    const EntryRow& rowAt(int row) const { return m_rows.at(row); }
    // -1 when no row carries that record id.
    int rowOf(quint32 recordId) const;
    QList<quint32> recordIds() const;

    void append(const EntryRow& row);
    void removeRowAt(int row);
    void clear();
    // Arranges the rows; selections and current rows follow their rows.
    void sortRows(int arrangeBy);
    // Puts the separators right again after rows were removed.
    void regroup() { sortRows(m_arrangeBy); }

private:
    // The record rows' places in arranged order (a stable sort).
    QList<int> sortedOrder(int arrangeBy) const;
    // The rows of `order` with a separator before each group.
    QList<EntryRow> withSeparators(const QList<int>& order, int arrangeBy) const;
    EntryRow separator(const QString& label, const GroupTotals& totals) const;

    const ColumnLayout* m_columns;
    QHash<int, QString> m_titles;
    QList<EntryRow> m_rows;
    int m_arrangeBy = 0;
    bool m_totalsShown = false;
    HoursFormat m_hoursFormat = HoursFormat::Decimal;
};

}  // namespace tempolatch
