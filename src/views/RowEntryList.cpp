#include "views/RowEntryList.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include "views/EntryRowModel.h"

namespace tempolatch {

void RowEntryList::setUp(QAbstractItemView* view, EntryRowModel* model) {
    m_view = view;
    m_model = model;
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
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
        if (!index.isValid())
            return false;
        selectRow(index.row());
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
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : m_model->rowAt(rows.first().row()).recordId;
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

void RowEntryList::deleteSelected() {
    if (!hasSelection())
        return;
    m_model->removeRowAt(m_model->rowOf(selectedRecordId()));
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
