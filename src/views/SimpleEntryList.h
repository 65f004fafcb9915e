#pragma once

#include <QSet>
#include <QTreeView>

#include "views/ColumnLayout.h"
#include "views/RowEntryList.h"

namespace tempolatch {

namespace platform {
class Registry;
}

// The Simple list: one row per record in columns with a header whose
// columns the user can drag into another order and resize. The layout is
// read from the registry on creation and written back when the list goes.
// A tap or Enter on a row asks for Edit.
class SimpleEntryList : public QTreeView, public RowEntryList {
    Q_OBJECT

public:
    SimpleEntryList(const ColumnLayout& columns, platform::Registry& registry,
                    QWidget* parent = nullptr);
    ~SimpleEntryList() override;

    int style() const override { return Simple; }
    QWidget* widget() override { return this; }
    void setListFont(const QFont& font) override;

    // The columns' order, one column index per position, and widths.
    QList<int> columnOrder() const;
    QList<int> columnWidths() const;
    // As columnWidths, with -1 for the widths the user never chose.
    QList<int> chosenWidths() const;
    void saveLayout() const;
    void setRedraw(bool on) override;

    // Whether the column's width is the user's (stored or dragged) rather
    // than fitted to the header and rows.
    bool hasChosenWidth(int column) const { return m_chosenWidths.contains(column); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void tapped() override;

private:
    void loadLayout();
    void spanSeparators();
    // The columns whose width the user never chose fit their title and the
    // rows shown, in the list's font; the 96-dpi width is the least.
    void fitColumns();

    const ColumnLayout& m_columns;
    platform::Registry& m_registry;
    QSet<int> m_chosenWidths;
    bool m_fitting = false;
};

}  // namespace tempolatch
