#include "widgets/FlowLayout.h"

#include <QWidget>
#include <QWidgetItem>
#include <algorithm>

namespace tempolatch {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), m_spacing(spacing) {}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
}

void FlowLayout::insertWidget(int index, QWidget* widget) {
    addChildWidget(widget);
    m_items.insert(std::clamp(index, 0, int(m_items.size())), new QWidgetItem(widget));
    invalidate();
}

void FlowLayout::addRightWidget(QWidget* widget) {
    addWidget(widget);
    m_right = m_items.last();
}

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= m_items.size())
        return nullptr;
    QLayoutItem* item = m_items.takeAt(index);
    if (item == m_right)
        m_right = nullptr;
    return item;
}

int FlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

int FlowLayout::rowsAt(int width) const {
    int rows = 0;
    arrange(QRect(0, 0, width, 0), false, &rows);
    return rows;
}

QSize FlowLayout::sizeHint() const {
    // One row of everything, as wide as it wants to be.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width() + m_spacing;
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : m_items)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool apply, int* rows) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int rowHeight = 0;
    int rowCount = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint();
        if (rowCount == 0)
            rowCount = 1;
        // A new row when the item would pass the right edge of a row that
        // has something on it already.
        if (x > area.x() && x + hint.width() > area.right() + 1) {
            x = area.x();
            y += rowHeight + m_spacing;
            rowHeight = 0;
            ++rowCount;
        }
        int left = x;
        if (item == m_right)
            left = std::max(x, area.right() + 1 - hint.width());
        if (apply)
            item->setGeometry(QRect(QPoint(left, y), hint));
        x = left + hint.width() + m_spacing;
        rowHeight = std::max(rowHeight, hint.height());
    }
    if (rows)
        *rows = rowCount;
    const QMargins m = contentsMargins();
    return y + rowHeight - rect.y() + m.bottom();
}

}  // namespace tempolatch
