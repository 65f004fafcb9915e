#pragma once

#include <QHash>
#include <QTreeWidget>
#include <utility>

#include "views/EntryListWidget.h"
#include "views/EntryRow.h"

class QMenu;

namespace tempolatch {

// The Tree list: records grouped under date, client, project and phase
// nodes (as the tree options say), each record a node with its details
// below it. A double tap on a record asks for Edit; the context gesture on
// a record opens the entry menu, elsewhere the tree's Expand/Collapse menu.
class TreeEntryList : public QTreeWidget, public EntryListWidget {
    Q_OBJECT

public:
    // A group node's own text, without its totals.
    enum Role { RecordIdRole = Qt::UserRole, GroupTextRole };

    explicit TreeEntryList(QWidget* parent = nullptr);
    ~TreeEntryList() override;

    int style() const override { return Tree; }
    QWidget* widget() override { return this; }
    void setListFont(const QFont& font) override;

    void deleteAll() override;
    void setRedraw(bool on) override;
    void addRow(const EntryRow& row, bool select) override;
    bool hasSelection() const override;
    quint32 selectedRecordId() const override;
    QList<quint32> selectedRecordIds() const override;
    void rememberSelection() override;
    void restoreSelection() override;
    void deleteSelected() override;
    // The tree keeps its own order.
    void sort(int) override {}
    // Each group node shows the hours and amounts of the records under it.
    void setTotals(bool shown, HoursFormat format) override;
    QList<quint32> recordIds() const override;

    // The node of a record; nullptr when it is not shown.
    QTreeWidgetItem* itemOf(quint32 recordId) const;
    // The tree's own menu; the caller owns it.
    QMenu* createTreeMenu(QWidget* parent);
    // Expand All (350) and Collapse All (351).
    bool runCommand(int id);

protected:
    // Enter opens the selected entry as a double click does, or opens and
    // closes a group.
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pickAt(const QPoint& viewportPos);
    void select(QTreeWidgetItem* item);
    void expandNewGroups();
    void showGroupTotals();

    bool m_totalsShown = false;
    HoursFormat m_hoursFormat = HoursFormat::Decimal;
    QHash<quint32, RowTotal> m_rowTotals;  // by record id, while totals are shown

    quint32 m_remembered = 0;
    quint32 m_added = 0;
    // Group nodes made while the list is being filled, opened when it is
    // done: an insert under an open node costs the view a pass over every
    // open node it remembers.
    bool m_filling = false;
    QList<QTreeWidgetItem*> m_newGroups;
    // The group nodes of the fill by parent and text, so that a row finds
    // the nodes it shares without comparing the texts of their siblings.
    QHash<std::pair<QTreeWidgetItem*, QString>, QTreeWidgetItem*> m_groups;
};

}  // namespace tempolatch
