#include "clients/SetupTree.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>

#include "clients/ClientTreeRules.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/RecordStore.h"

namespace tempolatch {

SetupTree::SetupTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setUniformRowHeights(true);
}

int SetupTree::childCount(QTreeWidgetItem* parent) const {
    return parent ? parent->childCount() : topLevelItemCount();
}

QTreeWidgetItem* SetupTree::childAt(QTreeWidgetItem* parent, int index) const {
    return parent ? parent->child(index) : topLevelItem(index);
}

QTreeWidgetItem* SetupTree::childNamed(QTreeWidgetItem* parent, const QString& text) const {
    for (int i = 0, n = childCount(parent); i < n; ++i)
        if (childAt(parent, i)->text(0) == text)
            return childAt(parent, i);
    return nullptr;
}

void SetupTree::insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* item) {
    // Siblings are sorted: find the place by halving.
    int low = 0;
    int high = childCount(parent);
    while (low < high) {
        const int mid = (low + high) / 2;
        if (itemTextLess(item->text(0), childAt(parent, mid)->text(0)))
            high = mid;
        else
            low = mid + 1;
    }
    if (parent)
        parent->insertChild(low, item);
    else
        insertTopLevelItem(low, item);
}

namespace {
void collectExpanded(QTreeWidgetItem* item, QList<QTreeWidgetItem*>& out) {
    if (item->isExpanded())
        out.append(item);
    for (int i = 0; i < item->childCount(); ++i)
        collectExpanded(item->child(i), out);
}
}  // namespace

void SetupTree::resort(QTreeWidgetItem* item) {
    QTreeWidgetItem* parent = item->parent();
    const bool wasCurrent = currentItem() == item;
    QList<QTreeWidgetItem*> expanded;
    collectExpanded(item, expanded);
    if (parent)
        parent->removeChild(item);
    else
        takeTopLevelItem(indexOfTopLevelItem(item));
    insertSorted(parent, item);
    for (QTreeWidgetItem* e : expanded)
        e->setExpanded(true);
    if (wasCurrent)
        selectItem(item);
}

void SetupTree::selectItem(QTreeWidgetItem* item) {
    setCurrentItem(item);
    if (item)
        scrollToItem(item);
}

InPlaceEditDelegate::InPlaceEditDelegate(LimitOf limitOf, QObject* parent)
    : QStyledItemDelegate(parent), m_limitOf(std::move(limitOf)) {}

QWidget* InPlaceEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("inPlaceEditor"));
    edit->setFrame(true);
    // The limit is for typing: a longer name stays whole until the user
    // shortens it.
    edit->setMaxLength(qMax(m_limitOf(index), index.data().toString().size()));
    return edit;
}

void InPlaceEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    edit->setText(index.data().toString());
    edit->selectAll();
}

void InPlaceEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                       const QModelIndex& index) const {
    Q_EMIT committed(QPersistentModelIndex(index), static_cast<QLineEdit*>(editor)->text());
}

void InPlaceEditDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex&) const {
    // Over the item's row, from the text to the view's right edge, at least
    // as high as a line edit needs.
    QRect rect = option.rect;
    if (auto* view = qobject_cast<QAbstractItemView*>(editor->parentWidget()->parentWidget()))
        rect.setRight(view->viewport()->width() - 1);
    rect.setHeight(qMax(rect.height(), qMax(20, editor->sizeHint().height())));
    editor->setGeometry(rect);
}

bool openStoreForSetup(Context& context, QWidget* parent) {
    RecordStore& store = context.store;
    if (store.isOpen() || store.openAll())
        return true;
    context.ui.message(resourceString(str::UnableToOpenDatabase), platform::MessageIcon::Stop,
                       parent);
    return false;
}

}  // namespace tempolatch
