#include "views/RowEntryList.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <algorithm>

#include "views/EntryRowModel.h"

namespace tempolatch {

void RowEntryList::setUp(QAbstractItemView* view, EntryRowModel* model) {
    m_view = view;
    m_model = model;
    view->setModel(model);
    // Shift and Ctrl with a click or the arrows select several; Ctrl+A all.
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A click selects; a double-click (or Enter) opens, as in every desktop list.
    QObject::connect(view, &QAbstractItemView::doubleClicked, &events(),
                     [this](const QModelIndex& index) {
                         if (index.isValid())
                             tapped();
                     });
    events().watch(view, [this](const QPoint& pos) {
        const QModelIndex index = m_view->indexAt(pos);
        if (!index.isValid() || m_model->isSeparator(index.row()))
            return false;
        pickRow(index.row());
        return true;
    });
}

void RowEntryList::deleteAll() {
    m_model->clear();
}

void RowEntryList::setRedraw(bool on) {
    m_view->setUpdatesEnabled(on);
}

void RowEntryList::addRow(const EntryRow& row, bool select) {
    m_model->append(row);
    if (select)
        m_added = row.recordId;
}

bool RowEntryList::hasSelection() const {
    return m_view->selectionModel() && m_view->selectionModel()->hasSelection();
}

quint32 RowEntryList::selectedRecordId() const {
    if (!hasSelection())
        return 0;
    const QItemSelectionModel* selection = m_view->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return m_model->rowAt(current.row()).recordId;
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? 0 : m_model->rowAt(rows.first().row()).recordId;
}

QList<quint32> RowEntryList::selectedRecordIds() const {
    if (!hasSelection())
        return {};
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QList<quint32> ids;
    for (const int row : rows)
        ids.append(m_model->rowAt(row).recordId);
    return ids;
}

void RowEntryList::rememberSelection() {
    m_remembered = selectedRecordId();
    m_added = 0;
}

void RowEntryList::restoreSelection() {
    const quint32 id = m_added ? m_added : m_remembered;
    m_added = 0;
    if (id)
        selectRow(m_model->rowOf(id));
}

void RowEntryList::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_view->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(index);
}

void RowEntryList::pickRow(int row) {
    if (m_view->selectionModel()->isRowSelected(row, QModelIndex())) {
        m_view->selectionModel()->setCurrentIndex(m_model->index(row, 0),
                                                  QItemSelectionModel::NoUpdate);
        return;
    }
    selectRow(row);
}

void RowEntryList::deleteSelected() {
    for (const quint32 id : selectedRecordIds())
        m_model->removeRowAt(m_model->rowOf(id));
    // The days they were on add up to less now, or are gone.
    if (m_model->totalsShown())
        m_model->regroup();
}

void RowEntryList::setTotals(bool shown, HoursFormat format) {
    m_model->setTotals(shown, format);
}

void RowEntryList::sort(int arrangeBy) {
    m_model->sortRows(arrangeBy);
}

QList<quint32> RowEntryList::recordIds() const {
    return m_model->recordIds();
}

bool RowEntryList::isEnterOnSelection(const QKeyEvent* event) const {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && hasSelection();
}

}  // namespace tempolatch
