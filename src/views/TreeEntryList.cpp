#include "views/TreeEntryList.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "views/GroupTotals.h"
#include "views/ViewIcons.h"
#include "views/ViewIds.h"
#include "widgets/CommandIds.h"

namespace tempolatch {

namespace {

QTreeWidgetItem* makeItem(const TreeNodeText& node, bool withNote = false) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, node.text);
    item->setIcon(0, ViewIcons::treeIcon(node.image, withNote));
    return item;
}

QTreeWidgetItem* makeGroup(const TreeNodeText& node) {
    QTreeWidgetItem* item = makeItem(node);
    item->setData(0, TreeEntryList::GroupTextRole, node.text);
    return item;
}

// A node's text as it sorts and is found: a group's without its totals.
QString ownText(const QTreeWidgetItem* item) {
    const QVariant group = item->data(0, TreeEntryList::GroupTextRole);
    return group.isValid() ? group.toString() : item->text(0);
}

QTreeWidgetItem* childWithText(QTreeWidgetItem* parent, const QString& text) {
    for (int i = 0; i < parent->childCount(); ++i)
        if (ownText(parent->child(i)) == text)
            return parent->child(i);
    return nullptr;
}

// Children in text order, as the user's locale sorts; equal texts keep the
// order they came in.
void insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* item) {
    int at = parent->childCount();
    while (at > 0 && platform::Locale::compare(ownText(parent->child(at - 1)), ownText(item)) > 0)
        --at;
    parent->insertChild(at, item);
}

bool isRecordNode(const QTreeWidgetItem* item) {
    return item && item->data(0, TreeEntryList::RecordIdRole).toUInt() != 0;
}

void collectIds(const QTreeWidgetItem* item, QList<quint32>& ids) {
    if (isRecordNode(item))
        ids.append(item->data(0, TreeEntryList::RecordIdRole).toUInt());
    for (int i = 0; i < item->childCount(); ++i)
        collectIds(item->child(i), ids);
}

}  // namespace

TreeEntryList::TreeEntryList(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("treeList"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    connect(this, &QTreeWidget::itemDoubleClicked, &events(), [this](QTreeWidgetItem* item) {
        if (isRecordNode(item))
            Q_EMIT events().commandRequested(cmd::EditSelected);
    });
    events().watch(this, [this](const QPoint& pos) { return pickAt(pos); });
}

TreeEntryList::~TreeEntryList() = default;

void TreeEntryList::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* item = currentItem();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && item) {
        if (isRecordNode(item))
            Q_EMIT events().commandRequested(cmd::EditSelected);
        else
            item->setExpanded(!item->isExpanded());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TreeEntryList::setListFont(const QFont& font) {
    setFont(font);
}

void TreeEntryList::deleteAll() {
    m_rowTotals.clear();
    m_newGroups.clear();
    m_groups.clear();
    clear();
}

void TreeEntryList::setRedraw(bool on) {
    if (on) {
        expandNewGroups();
        if (m_filling)
            showGroupTotals();
        m_groups.clear();  // rows deleted later may take their groups with them
    }
    m_filling = !on;
    setUpdatesEnabled(on);
}

void TreeEntryList::expandNewGroups() {
    for (QTreeWidgetItem* node : std::as_const(m_newGroups))
        node->setExpanded(true);
    m_newGroups.clear();
}

void TreeEntryList::addRow(const EntryRow& row, bool select) {
    QTreeWidgetItem* parent = invisibleRootItem();
    // Only a parent that already existed can hold a node to share.
    bool found = true;
    for (int level = 0; level < row.groups.size(); ++level) {
        const TreeNodeText& group = row.groups[level];
        QTreeWidgetItem* node = nullptr;
        if (found && m_filling)
            node = m_groups.value({parent, group.text});
        if (found && !node) {
            node = childWithText(parent, group.text);
            if (node && m_filling)
                m_groups.insert({parent, group.text}, node);
        }
        if (!node) {
            node = makeGroup(group);
            if (level == 0)
                parent->addChild(node);
            else
                insertSorted(parent, node);
            // Groups open, so that the records show without a tap.
            if (m_filling) {
                m_newGroups.append(node);
                m_groups.insert({parent, group.text}, node);
            } else
                node->setExpanded(true);
            found = false;
        }
        parent = node;
    }
    QTreeWidgetItem* item = makeItem(row.node, row.hasNote);
    item->setData(0, RecordIdRole, row.recordId);
    // Details first: under a node not yet in the tree they cost the view
    // nothing.
    for (const TreeNodeText& detail : row.details)
        item->addChild(makeItem(detail));
    insertSorted(parent, item);
    if (select)
        m_added = row.recordId;
    if (m_totalsShown) {
        m_rowTotals.insert(row.recordId, row.total);
        if (!m_filling)
            showGroupTotals();
    }
}

void TreeEntryList::setTotals(bool shown, HoursFormat format) {
    m_totalsShown = shown;
    m_hoursFormat = format;
}

void TreeEntryList::showGroupTotals() {
    if (!m_totalsShown)
        return;
    QHash<QTreeWidgetItem*, GroupTotals> groups;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if (!isRecordNode(*it))
            continue;
        const RowTotal total = m_rowTotals.value((*it)->data(0, RecordIdRole).toUInt());
        for (QTreeWidgetItem* group = (*it)->parent(); group; group = group->parent())
            groups[group].add(total);
    }
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const QString totals = it->text(m_hoursFormat);
        const QString own = ownText(it.key());
        it.key()->setText(0, totals.isEmpty() ? own : own + QStringLiteral("  (") + totals + u')');
    }
}

bool TreeEntryList::hasSelection() const {
    return isRecordNode(currentItem()) && currentItem()->isSelected();
}

quint32 TreeEntryList::selectedRecordId() const {
    return hasSelection() ? currentItem()->data(0, RecordIdRole).toUInt() : 0;
}

QList<quint32> TreeEntryList::selectedRecordIds() const {
    // In the order of the tree, not of the clicks.
    QList<quint32> ids;
    for (QTreeWidgetItemIterator it(const_cast<TreeEntryList*>(this),
                                    QTreeWidgetItemIterator::Selected);
         *it; ++it)
        if (isRecordNode(*it))
            ids.append((*it)->data(0, RecordIdRole).toUInt());
    return ids;
}

void TreeEntryList::rememberSelection() {
    m_remembered = selectedRecordId();
    m_added = 0;
}

void TreeEntryList::restoreSelection() {
    // Scrolling to the selection needs the rows above it laid out as shown.
    expandNewGroups();
    const quint32 id = m_added ? m_added : m_remembered;
    m_added = 0;
    if (QTreeWidgetItem* item = id ? itemOf(id) : nullptr)
        select(item);
}

void TreeEntryList::select(QTreeWidgetItem* item) {
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void TreeEntryList::deleteSelected() {
    for (const quint32 id : selectedRecordIds()) {
        QTreeWidgetItem* item = itemOf(id);
        while (item) {
            // Groups left without records go with their last record.
            QTreeWidgetItem* parent = item->parent();
            delete item;
            item = parent && parent->childCount() == 0 ? parent : nullptr;
        }
        m_rowTotals.remove(id);
    }
    showGroupTotals();
}

QList<quint32> TreeEntryList::recordIds() const {
    QList<quint32> ids;
    collectIds(invisibleRootItem(), ids);
    return ids;
}

QTreeWidgetItem* TreeEntryList::itemOf(quint32 recordId) const {
    for (QTreeWidgetItemIterator it(const_cast<TreeEntryList*>(this)); *it; ++it)
        if ((*it)->data(0, RecordIdRole).toUInt() == recordId)
            return *it;
    return nullptr;
}

QMenu* TreeEntryList::createTreeMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("treeMenu"));
    menu->addAction(resourceString(str::ExpandAll))->setData(cmd::ExpandAll);
    menu->addAction(resourceString(str::CollapseAll))->setData(cmd::CollapseAll);
    return menu;
}

bool TreeEntryList::runCommand(int id) {
    if (id != cmd::ExpandAll && id != cmd::CollapseAll)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (id == cmd::ExpandAll)
        expandAll();
    else
        collapseAll();
    QApplication::restoreOverrideCursor();
    return true;
}

bool TreeEntryList::pickAt(const QPoint& viewportPos) {
    QTreeWidgetItem* item = itemAt(viewportPos);
    if (!item)
        return false;
    if (isRecordNode(item)) {
        // A right click on the selection keeps it: the menu acts on all of it.
        if (item->isSelected())
            setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        else
            select(item);
        return true;
    }
    std::unique_ptr<QMenu> menu(createTreeMenu(this));
    if (const QAction* chosen = menu->exec(viewport()->mapToGlobal(viewportPos)))
        runCommand(chosen->data().toInt());
    return false;
}

}  // namespace tempolatch
