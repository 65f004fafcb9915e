#include "views/EntryRowModel.h"

#include <algorithm>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "views/ColumnLayout.h"
#include "views/GroupTotals.h"

namespace tempolatch {

namespace {

// A separator's heading and totals, in the first column of the Simple list
// (which spans the row) and on the one line of the Default list.
QVariant separatorData(const EntryRow& row, int column, int role) {
    switch (role) {
        case Qt::DisplayRole:
            if (column != 0)
                return {};
            return row.line1Right.isEmpty()
                       ? row.lines.value(0)
                       : row.lines.value(0) + QStringLiteral(": ") + row.line1Right;
        case EntryRowModel::RecordIdRole:
            return 0u;
        default:
            return {};
    }
}

// What the rows of one group share: their day, or their arrange-by key.
QString groupKey(const EntryRow& row, int arrangeBy) {
    if (arrangeBy > 0)
        return row.keys.value(arrangeBy);
    return QString::number(row.date.ticks / platform::FileTime::TicksPerDay);
}

QString groupLabel(const EntryRow& row, int arrangeBy) {
    if (arrangeBy > 0) {
        const QString key = row.keys.value(arrangeBy);
        return key.isEmpty() ? QStringLiteral("(none)") : key;
    }
    const auto day = platform::toSystemTime(row.date);
    if (!day)
        return {};
    return platform::Locale::formatDate(*day, QStringLiteral("ddd")) + u' ' +
           platform::Locale::shortDate(*day);
}

}  // namespace

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
    if (row.separator)
        return separatorData(row, index.column(), role);
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

Qt::ItemFlags EntryRowModel::flags(const QModelIndex& index) const {
    // Separators are passed over by the keys and the mouse alike.
    if (index.isValid() && index.row() < m_rows.size() && m_rows.at(index.row()).separator)
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

void EntryRowModel::setTotals(bool shown, HoursFormat format) {
    m_totalsShown = shown;
    m_hoursFormat = format;
}

int EntryRowModel::rowOf(quint32 recordId) const {
    if (recordId == 0)
        return -1;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].recordId == recordId)
            return i;
    return -1;
}

QList<quint32> EntryRowModel::recordIds() const {
    QList<quint32> ids;
    ids.reserve(m_rows.size());
    for (const EntryRow& row : m_rows)
        if (!row.separator)
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
    QList<int> order;
    order.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i].separator)
            order.append(i);
    const auto before = [&](int a, int b) {
        return compareRows(m_rows[a], m_rows[b], arrangeBy) < 0;
    };
    // Arranged by date, rows loaded in date order need sorting only within
    // each run of one date: the cost per row then stays that of a run,
    // however long the period. The result is that of sorting them all.
    const auto dateOf = [&](int row) { return m_rows[row].date; };
    const bool inDateOrder =
        arrangeBy <= 0 && std::is_sorted(order.begin(), order.end(),
                                         [&](int a, int b) { return dateOf(a) < dateOf(b); });
    if (!inDateOrder) {
        std::stable_sort(order.begin(), order.end(), before);
        return order;
    }
    for (auto run = order.begin(); run != order.end();) {
        const auto end =
            std::find_if(run, order.end(), [&](int row) { return dateOf(row) != dateOf(*run); });
        if (end - run > 1)
            std::stable_sort(run, end, before);
        run = end;
    }
    return order;
}

EntryRow EntryRowModel::separator(const QString& label, const GroupTotals& totals) const {
    EntryRow row;
    row.separator = true;
    row.statusIcon = false;
    row.lines = {label};
    row.line1Right = totals.text(m_hoursFormat);
    return row;
}

QList<EntryRow> EntryRowModel::withSeparators(const QList<int>& order, int arrangeBy) const {
    QList<EntryRow> rows;
    rows.reserve(order.size() * 2);
    qsizetype heading = -1;
    QString key;
    GroupTotals totals;
    const auto closeGroup = [&] {
        if (heading >= 0)
            rows[heading].line1Right = totals.text(m_hoursFormat);
    };
    for (const int at : order) {
        const EntryRow& row = m_rows[at];
        const QString rowKey = groupKey(row, arrangeBy);
        if (heading < 0 || rowKey != key) {
            closeGroup();
            key = rowKey;
            totals = {};
            heading = rows.size();
            rows.append(separator(groupLabel(row, arrangeBy), totals));
        }
        totals.add(row.total);
        rows.append(row);
    }
    closeGroup();
    return rows;
}

void EntryRowModel::sortRows(int arrangeBy) {
    m_arrangeBy = arrangeBy;
    const QList<int> order = sortedOrder(arrangeBy);
    const bool hadSeparators = order.size() != m_rows.size();
    // Rows already in order (as a period loads) move nowhere: no layout change.
    bool inPlace = !hadSeparators && !m_totalsShown;
    for (int i = 0; i < order.size() && inPlace; ++i)
        inPlace = order[i] == i;
    if (inPlace)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<EntryRow> arranged;
    if (m_totalsShown) {
        arranged = withSeparators(order, arrangeBy);
    } else {
        arranged.reserve(order.size());
        for (const int at : order)
            arranged.append(std::move(m_rows[at]));
    }
    // Where each old row went; old separators go nowhere.
    QList<int> newRowOf(m_rows.size(), -1);
    for (int i = 0, next = 0; i < order.size(); ++i) {
        while (next < arranged.size() && arranged[next].separator)
            ++next;
        newRowOf[order[i]] = next++;
    }
    m_rows = std::move(arranged);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent) {
        const int to = newRowOf.value(index.row(), -1);
        moved.append(to < 0 ? QModelIndex() : this->index(to, index.column()));
    }
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace tempolatch
