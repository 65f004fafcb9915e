#pragma once

#include <QTreeView>

#include "views/ColumnLayout.h"
#include "views/RowEntryList.h"

namespace tempolatch {

// The Simple list: one row per record in columns with a header whose
// columns the user can drag into another order and resize. The layout is
// read from the registry on creation and written back when the list goes.
// A tap or Enter on a row asks for Edit.
class SimpleEntryList : public QTreeView, public RowEntryList {
    Q_OBJECT

public:
    explicit SimpleEntryList(const ColumnLayout& columns, QWidget* parent = nullptr);
    ~SimpleEntryList() override;

    int style() const override { return Simple; }
    QWidget* widget() override { return this; }
    void setListFont(const QFont& font) override;

    // The columns' order, one column index per position, and widths.
    QList<int> columnOrder() const;
    QList<int> columnWidths() const;
    void saveLayout() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void tapped() override;

private:
    void loadLayout();

    const ColumnLayout& m_columns;
};

}  // namespace tempolatch
