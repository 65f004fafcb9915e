#pragma once

#include <QHash>

#include <QAbstractTableModel>

#include "views/EntryRow.h"

namespace tempolatch {

struct ColumnLayout;

// The rows of a Default or Simple list. Item data of every row is the
// record id of its record (RecordIdRole).
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

    const EntryRow& rowAt(int row) const { return m_rows.at(row); }
    // -1 when no row carries that record id.
    int rowOf(quint32 recordId) const;
    QList<quint32> recordIds() const;

    void append(const EntryRow& row);
    void removeRowAt(int row);
    void clear();
    // Arranges the rows; selections and current rows follow their rows.
    void sortRows(int arrangeBy);

private:
    // The rows' places in arranged order (a stable sort).
    QList<int> sortedOrder(int arrangeBy) const;

    const ColumnLayout* m_columns;
    QHash<int, QString> m_titles;
    QList<EntryRow> m_rows;
};

}  // namespace tempolatch
