#include "views/SimpleEntryList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>

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

    // A separator spans the row: its text must not widen the first column.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.data(EntryRowModel::RecordIdRole).toUInt() == 0)
            size.setWidth(0);
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(EntryRowModel::RecordIdRole).toUInt() == 0) {
            // A separator reads as a heading, not greyed as a disabled row.
            option->font.setBold(true);
            option->state |= QStyle::State_Enabled;
            option->backgroundBrush = option->palette.brush(QPalette::Active, QPalette::Button);
            return;
        }
        if (index.column() != 0)
            return;
        option->icon = ViewIcons::statusIcon(index.data(EntryRowModel::StatusRole).toInt(),
                                             index.data(EntryRowModel::NoteRole).toBool());
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
};

}  // namespace

SimpleEntryList::SimpleEntryList(const ColumnLayout& columns, platform::Registry& registry,
                                 QWidget* parent)
    : QTreeView(parent), m_columns(columns), m_registry(registry) {
    setObjectName(QStringLiteral("simpleList"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setItemDelegate(new StatusImageDelegate(this));
    setUp(this, new EntryRowModel(&m_columns, this));
    // A separator's heading and totals take the whole row.
    connect(&rowModel(), &QAbstractItemModel::layoutChanged, this,
            &SimpleEntryList::spanSeparators);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    // The rows shown and a hundred around them are measured, not a long
    // period's every row on each reload.
    header()->setResizeContentsPrecision(100);
    loadLayout();
    fitColumns();
    // A width the user drags (or fits with a double click) is the user's.
    connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int) {
        if (!m_fitting)
            m_chosenWidths.insert(column);
    });
}

void SimpleEntryList::spanSeparators() {
    const EntryRowModel& model = rowModel();
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.isSeparator(row))
            setFirstColumnSpanned(row, {}, true);
}

void SimpleEntryList::fitColumns() {
    const QScopedValueRollback fitting(m_fitting, true);
    const int dpi = logicalDpiX();
    // Wide enough for a long name, not for a whole paragraph.
    const int widest = fontMetrics().averageCharWidth() * 40;
    for (int column = 0; column < m_columns.count(); ++column) {
        if (m_chosenWidths.contains(column))
            continue;
        const int least = m_columns.columns[column].width * dpi / 96;
        const int wanted = std::max(header()->sectionSizeHint(column), sizeHintForColumn(column));
        setColumnWidth(column, std::max(least, std::min(wanted, widest)));
    }
}

void SimpleEntryList::setRedraw(bool on) {
    // Fitted once the rows are all in, before they are drawn.
    if (on)
        fitColumns();
    RowEntryList::setRedraw(on);
}

SimpleEntryList::~SimpleEntryList() {
    saveLayout();
}

void SimpleEntryList::loadLayout() {
    const platform::Registry& registry = m_registry;
    const QList<int> order = m_columns.loadOrder(registry);
    for (int position = 0; position < order.size(); ++position)
        header()->moveSection(header()->visualIndex(order[position]), position);
    for (int column = 0; column < m_columns.count(); ++column) {
        if (const auto width = m_columns.loadWidth(registry, column)) {
            setColumnWidth(column, *width);
            m_chosenWidths.insert(column);
        }
    }
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

QList<int> SimpleEntryList::chosenWidths() const {
    QList<int> widths = columnWidths();
    for (int column = 0; column < m_columns.count(); ++column)
        if (!m_chosenWidths.contains(column))
            widths[column] = -1;
    return widths;
}

void SimpleEntryList::saveLayout() const {
    // Fitted widths are fitted again next time, to the rows and font then.
    m_columns.save(m_registry, columnOrder(), chosenWidths());
}

void SimpleEntryList::setListFont(const QFont& font) {
    setFont(font);
    fitColumns();
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
