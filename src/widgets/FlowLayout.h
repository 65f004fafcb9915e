#pragma once

#include <QLayout>
#include <QList>

namespace tempolatch {

// Lays its widgets out left to right and starts a new row when the next
// one would not fit the width: a narrow window gets a taller strip rather
// than cut-off widgets. Items marked as pushed right start at the right
// edge of the row they end up in.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    void insertWidget(int index, QWidget* widget);
    // The widget goes to the right end of its row.
    void addRightWidget(QWidget* widget);

    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

    // How many rows the items take at that width.
    int rowsAt(int width) const;

private:
    // Places the items (or only measures, when `apply` is false); returns
    // the height used and sets `rows`.
    int arrange(const QRect& rect, bool apply, int* rows = nullptr) const;

    QList<QLayoutItem*> m_items;
    QLayoutItem* m_right = nullptr;
    int m_spacing;
};

}  // namespace tempolatch
