#include "views/EntryRowModel.h"

#include <algorithm>
#include <numeric>

#include "platform/StringTable.h"
#include "views/ColumnLayout.h"

namespace tempolatch {

EntryRowModel::EntryRowModel(const ColumnLayout* columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(columns) {}

int EntryRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int EntryRowModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return m_columns ? m_columns->count() : 1;
}

QVariant EntryRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const EntryRow& row = m_rows.at(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return m_columns ? row.cells.value(index.column()) : row.lines.value(0);
        case Qt::TextAlignmentRole:
            if (m_columns && m_columns->columns.value(index.column()).right)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        case RecordIdRole:
            return row.recordId;
        case StatusRole:
            return row.status;
        case NoteRole:
            return row.hasNote;
        default:
            return {};
    }
}

QVariant EntryRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !m_columns || section < 0 || section >= m_columns->count())
        return {};
    if (role == Qt::DisplayRole) {
        const int title = m_columns->columns[section].title;
        return m_titles.value(title, resourceString(title));
    }
    if (role == Qt::TextAlignmentRole)
        return int((m_columns->columns[section].right ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    return {};
}

void EntryRowModel::setTitle(int title, const QString& text) {
    m_titles.insert(title, text);
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int EntryRowModel::rowOf(quint32 recordId) const {
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].recordId == recordId)
            return i;
    return -1;
}

QList<quint32> EntryRowModel::recordIds() const {
    QList<quint32> ids;
    ids.reserve(m_rows.size());
    for (const EntryRow& row : m_rows)
        ids.append(row.recordId);
    return ids;
}

void EntryRowModel::append(const EntryRow& row) {
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(row);
    endInsertRows();
}

void EntryRowModel::removeRowAt(int row) {
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void EntryRowModel::clear() {
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QList<int> EntryRowModel::sortedOrder(int arrangeBy) const {
    QList<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const auto before = [&](int a, int b) {
        return compareRows(m_rows[a], m_rows[b], arrangeBy) < 0;
    };
    // Arranged by date, rows loaded in date order need sorting only within
    // each run of one date: the cost per row then stays that of a run,
    // however long the period. The result is that of sorting them all.
    const auto dateOf = [&](int row) { return m_rows[row].date; };
    const bool inDateOrder =
        arrangeBy <= 0 && std::is_sorted(order.begin(), order.end(), [&](int a, int b) {
            return dateOf(a) < dateOf(b);
        });
    if (!inDateOrder) {
        std::stable_sort(order.begin(), order.end(), before);
        return order;
    }
    for (auto run = order.begin(); run != order.end();) {
        const auto end = std::find_if(run, order.end(),
                                      [&](int row) { return dateOf(row) != dateOf(*run); });
        if (end - run > 1)
            std::stable_sort(run, end, before);
        run = end;
    }
    return order;
}

void EntryRowModel::sortRows(int arrangeBy) {
    const QList<int> order = sortedOrder(arrangeBy);
    // Rows already in order (as a period loads) move nowhere: no layout change.
    bool inPlace = true;
    for (int i = 0; i < order.size() && inPlace; ++i)
        inPlace = order[i] == i;
    if (inPlace)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<EntryRow> sorted;
    sorted.reserve(m_rows.size());
    QList<int> newRowOf(m_rows.size());
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(std::move(m_rows[order[i]]));
        newRowOf[order[i]] = i;
    }
    m_rows = std::move(sorted);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent)
        moved.append(this->index(newRowOf.value(index.row()), index.column()));
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace tempolatch
