#include "views/DefaultEntryList.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "settings/Settings.h"
#include "views/EntryRowModel.h"
#include "views/ViewCustomization.h"
#include "views/ViewIcons.h"

namespace tempolatch {

namespace {

int scaled(const QWidget* widget, int pixels) {
    return qMax(pixels, pixels * widget->logicalDpiX() / 96);
}

class DefaultRowDelegate : public QStyledItemDelegate {
public:
    explicit DefaultRowDelegate(DefaultEntryList* list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (m_list->rowModel().isSeparator(index.row()))
            return {option.rect.width(), option.fontMetrics.height() + scaled(m_list, 4)};
        return {option.rect.width(),
                option.fontMetrics.height() * m_list->linesPerRow() + scaled(m_list, 1)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const EntryRow& row = m_list->rowModel().rowAt(index.row());
        if (row.separator) {
            paintSeparator(painter, option, row);
            return;
        }
        const QPalette& palette = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        const ViewCustomization cust(m_list->settings().viewCust);
        QColor text = palette.color(QPalette::Text);
        if (selected) {
            painter->fillRect(option.rect, palette.color(QPalette::Highlight));
            text = palette.color(QPalette::HighlightedText);
        } else {
            painter->fillRect(option.rect, palette.color(QPalette::Base));
            if (const auto rgb = ViewCustomization::paletteRgb(cust.colourIndex(row.status)))
                text = QColor::fromRgb(*rgb);
        }
        painter->save();
        painter->setFont(option.font);
        painter->setPen(text);
        const int lineHeight = option.fontMetrics.height();
        const int inset = 2;
        QRect area = option.rect.adjusted(inset, 0, -inset, 0);
        const int icon = m_list->iconSize().width();
        if (row.statusIcon) {
            const QIcon status = ViewIcons::statusIcon(row.status, row.hasNote);
            status.paint(painter,
                         QRect(area.left(), area.top() + (lineHeight - icon) / 2 + 1, icon, icon));
            if (!row.kindIcon.isEmpty())
                ViewIcons::icon(row.kindIcon)
                    .paint(painter, QRect(area.left(), area.top() + icon + 3, icon, icon));
            area.setLeft(area.left() + icon + 2);
        }
        for (int line = 0; line < row.lines.size(); ++line) {
            QRect lineRect(area.left(), area.top() + line * lineHeight, area.width(), lineHeight);
            if (line == 0 && !row.line1Right.isEmpty()) {
                painter->drawText(lineRect, Qt::AlignRight | Qt::AlignVCenter, row.line1Right);
                lineRect.setRight(lineRect.right() -
                                  option.fontMetrics.horizontalAdvance(row.line1Right) - 4);
            }
            const QString shown =
                option.fontMetrics.elidedText(row.lines[line], Qt::ElideRight, lineRect.width());
            painter->drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              shown);
        }
        const int separator = scaled(m_list, 1);
        painter->fillRect(option.rect.left(), option.rect.bottom() - separator + 1,
                          option.rect.width(), separator, palette.color(QPalette::Button));
        if (selected && (option.state & QStyle::State_HasFocus)) {
            QPen focus(palette.color(QPalette::HighlightedText));
            focus.setStyle(Qt::DotLine);
            painter->setPen(focus);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1 - separator));
        }
        painter->restore();
    }

private:
    // The day's heading on the left and its totals on the right, bold on
    // a band of the button colour.
    void paintSeparator(QPainter* painter, const QStyleOptionViewItem& option,
                        const EntryRow& row) const {
        const QPalette& palette = option.palette;
        painter->save();
        // Separators cannot be chosen, but are not greyed as disabled rows are.
        painter->fillRect(option.rect, palette.color(QPalette::Active, QPalette::Button));
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(palette.color(QPalette::Active, QPalette::ButtonText));
        const QRect area = option.rect.adjusted(4, 0, -4, 0);
        const QFontMetrics metrics(bold);
        painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, row.line1Right);
        const int left = area.width() - metrics.horizontalAdvance(row.line1Right) - 8;
        painter->drawText(QRect(area.left(), area.top(), std::max(0, left), area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(row.lines.value(0), Qt::ElideRight, left));
        painter->restore();
    }

    DefaultEntryList* m_list;
};

}  // namespace

DefaultEntryList::DefaultEntryList(const Settings& settings, QWidget* parent)
    : QListView(parent), m_settings(settings) {
    setObjectName(QStringLiteral("defaultList"));
    setProperty("controlId", ControlId);
    // Day separators are one line high, entries three or four.
    setUniformItemSizes(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setIconSize(QSize(scaled(this, 16), scaled(this, 16)));
    setItemDelegate(new DefaultRowDelegate(this));
    setUp(this, new EntryRowModel(nullptr, this));
}

DefaultEntryList::~DefaultEntryList() = default;

void DefaultEntryList::setLinesPerRow(int lines) {
    m_fixedLines = lines;
    scheduleDelayedItemsLayout();
}

int DefaultEntryList::linesPerRow() const {
    if (m_fixedLines > 0)
        return m_fixedLines;
    return ViewCustomization(m_settings.viewCust).showClientName() ? 4 : 3;
}

void DefaultEntryList::setListFont(const QFont& font) {
    setFont(font);
    // Row heights follow the font: let the view measure them again.
    scheduleDelayedItemsLayout();
}

void DefaultEntryList::keyPressEvent(QKeyEvent* event) {
    if (isEnterOnSelection(event)) {
        tapped();
        return;
    }
    QListView::keyPressEvent(event);
}

void DefaultEntryList::tapped() {
    Q_EMIT events().entryTapped();
}

}  // namespace tempolatch
