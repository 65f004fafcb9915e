#include "views/SimpleEntryList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "platform/Registry.h"
#include "views/EntryRowModel.h"
#include "views/ViewIcons.h"
#include "widgets/CommandIds.h"

namespace tempolatch {

namespace {

// The status image in the first column, made when the row is drawn.
class StatusImageDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != 0)
            return;
        option->icon = ViewIcons::statusIcon(index.data(EntryRowModel::StatusRole).toInt(),
                                             index.data(EntryRowModel::NoteRole).toBool());
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
};

}  // namespace

SimpleEntryList::SimpleEntryList(const ColumnLayout& columns, QWidget* parent)
    : QTreeView(parent), m_columns(columns) {
    setObjectName(QStringLiteral("simpleList"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setItemDelegate(new StatusImageDelegate(this));
    setUp(this, new EntryRowModel(&m_columns, this));
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    const int dpi = logicalDpiX();
    for (int column = 0; column < m_columns.count(); ++column)
        setColumnWidth(column, m_columns.columns[column].width * dpi / 96);
    loadLayout();
}

SimpleEntryList::~SimpleEntryList() {
    saveLayout();
}

void SimpleEntryList::loadLayout() {
    const platform::Registry& registry = platform::Registry::user();
    const QList<int> order = m_columns.loadOrder(registry);
    for (int position = 0; position < order.size(); ++position)
        header()->moveSection(header()->visualIndex(order[position]), position);
    for (int column = 0; column < m_columns.count(); ++column)
        if (const auto width = m_columns.loadWidth(registry, column))
            setColumnWidth(column, *width);
}

QList<int> SimpleEntryList::columnOrder() const {
    QList<int> order;
    for (int position = 0; position < m_columns.count(); ++position)
        order.append(header()->logicalIndex(position));
    return order;
}

QList<int> SimpleEntryList::columnWidths() const {
    QList<int> widths;
    for (int column = 0; column < m_columns.count(); ++column)
        widths.append(columnWidth(column));
    return widths;
}

void SimpleEntryList::saveLayout() const {
    m_columns.save(platform::Registry::user(), columnOrder(), columnWidths());
}

void SimpleEntryList::setListFont(const QFont& font) {
    setFont(font);
}

void SimpleEntryList::keyPressEvent(QKeyEvent* event) {
    if (isEnterOnSelection(event)) {
        tapped();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void SimpleEntryList::tapped() {
    Q_EMIT events().commandRequested(cmd::EditSelected);
}

}  // namespace tempolatch
