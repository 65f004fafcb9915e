#pragma once

#include <QDialog>

#include "store/Databases.h"

class QTreeWidgetItem;

namespace tempolatch {

struct Context;
class DialogBar;
class Rate;
class SetupTree;
class StoreWatcher;

// Rates setup: every rate in one tree, "(Default Rates)" first and then one
// group per client, with New, Modify and Delete. Changes go to the store
// at once; OK only closes the dialog.
class RatesSetupDialog : public QDialog {
    Q_OBJECT
public:
    enum Role {
        DataRole = Qt::UserRole,  // groups: the client id; rates: the record id
        RateTypeRole,
        DescriptionRole,
    };

    explicit RatesSetupDialog(Context& context, QWidget* parent = nullptr);

    SetupTree* tree() const { return m_tree; }
    DialogBar* commandBar() const { return m_bar; }

    void onCommand(int id);

    // Rates are the items with a parent; groups have none.
    static bool isRateItem(const QTreeWidgetItem* item);

public Q_SLOTS:
    // Reads the tree anew; another program changed the store. The selected
    // rate or group stays selected while it exists.
    void rebuild();

private:
    void buildBar();
    void addContextMenu();
    void fill();
    void updateCommandStates();
    void newRate();
    void modifyRate();
    void deleteRate();
    QTreeWidgetItem* groupOfClient(quint32 clientId) const;
    QTreeWidgetItem* rateItem(quint32 recordId) const;
    void sortGroup(QTreeWidgetItem* group);

    Context& m_context;
    SetupTree* m_tree;
    DialogBar* m_bar = nullptr;
    int m_newId = 0;
};

// Makes or refreshes a rate item: "%s (%.02f)" and the type's image.
void showRate(QTreeWidgetItem* item, const Rate& rate);

// Opens the rates setup over parent (command 40129). The tree is rebuilt
// whenever the watcher (the main window's; without one, a watcher of the
// dialog's own) reports that another program changed the store.
void runRatesSetup(Context& context, QWidget* parent, StoreWatcher* watcher = nullptr);

}  // namespace tempolatch
