#pragma once

#include <QDialog>

#include "store/StoreIds.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace tempolatch {

struct Context;
class DialogBar;

// Edit Drop Lists: the values of one drop list at a time, renamed in
// place, deleted one by one or all at once, added in the empty last row
// or imported from a list file. Every change is written at once.
class DropListsDialog : public QDialog {
    Q_OBJECT
public:
    DropListsDialog(Context& context, QWidget* parent = nullptr);

    ListKind currentKind() const;
    QListWidget* items() const { return m_items; }
    DialogBar* bar() const { return m_bar; }

    void onCommand(int id);

private:
    void refill(const QString& select = QString());
    void itemEdited(QListWidgetItem* item);
    void updateCommands();
    void deleteSelected();
    void deleteAll();
    void importFile();
    void reportRefused();

    Context& m_context;
    DialogBar* m_bar = nullptr;
    QComboBox* m_type;
    QListWidget* m_items;
    bool m_filling = false;
};

// Runs the dialog over `parent`.
void runEditDropLists(Context& context, QWidget* parent);

}  // namespace tempolatch
