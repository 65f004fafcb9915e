#pragma once

#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

namespace tempolatch {

struct Context;

// The tree of a setup dialog: a QTreeWidget that maps model indexes back to
// its items for the in-place editor, and finds and places items by text.
class SetupTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit SetupTree(QWidget* parent = nullptr);

    using QTreeWidget::itemFromIndex;

    // Children of parent (nullptr: the root level).
    int childCount(QTreeWidgetItem* parent) const;
    QTreeWidgetItem* childAt(QTreeWidgetItem* parent, int index) const;
    // The child with exactly this text, or nullptr.
    QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text) const;

    // Inserts before the first child whose text sorts after the item's.
    void insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* item);
    // Moves an item whose text changed to its sorted place, keeping its
    // subtree's expansion and the selection.
    void resort(QTreeWidgetItem* item);

    void selectItem(QTreeWidgetItem* item);
};

// The in-place editor of a setup tree: a line limited to what the item's
// kind allows (never cutting a longer text it starts with). The new text
// is not written into the item: committed() hands it to the dialog, which
// changes the store first.
class InPlaceEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using LimitOf = std::function<int(const QModelIndex&)>;

    InPlaceEditDelegate(LimitOf limitOf, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

Q_SIGNALS:
    void committed(const QPersistentModelIndex& index, const QString& text) const;

private:
    LimitOf m_limitOf;
};

// The setup dialogs work on the open store: opens it when needed, and says
// so (message 90) when it cannot be opened.
bool openStoreForSetup(Context& context, QWidget* parent);

}  // namespace tempolatch
