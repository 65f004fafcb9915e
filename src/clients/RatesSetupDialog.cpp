#include "clients/RatesSetupDialog.h"

#include <QMenu>
#include <algorithm>

#include "clients/RateDialog.h"
#include "clients/RateText.h"
#include "clients/RateTreeContent.h"
#include "clients/SetupCommandIds.h"
#include "clients/SetupTree.h"
#include "platform/Clock.h"
#include "settings/BarKind.h"
#include "settings/Context.h"
#include "settings/SettingsFonts.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/StoreWatcher.h"
#include "widgets/DialogBar.h"
#include "widgets/SetupIcons.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

quint32 dataOf(const QTreeWidgetItem* item) {
    return item->data(0, RatesSetupDialog::DataRole).toUInt();
}

// Enough of a rate to place its item among its siblings.
Rate sortKeyOf(const QTreeWidgetItem* item) {
    Rate rate;
    rate.rateType = RateType(item->data(0, RatesSetupDialog::RateTypeRole).toInt());
    rate.description = item->data(0, RatesSetupDialog::DescriptionRole).toString();
    return rate;
}

}  // namespace

void showRate(QTreeWidgetItem* item, const Rate& rate) {
    item->setText(0, ratetext::itemText(rate));
    item->setIcon(0, rateTreeIcon(rateItemImage(rate.rateType)));
    item->setData(0, RatesSetupDialog::DataRole, rate.recordId);
    item->setData(0, RatesSetupDialog::RateTypeRole, int(rate.rateType));
    item->setData(0, RatesSetupDialog::DescriptionRole, rate.description);
}

bool RatesSetupDialog::isRateItem(const QTreeWidgetItem* item) {
    return item && item->parent();
}

RatesSetupDialog::RatesSetupDialog(Context& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_tree(new SetupTree(this)) {
    setObjectName(QStringLiteral("ratesSetupDialog"));
    setWindowTitle(QStringLiteral("Rates"));
    setFont(createFont(QStringLiteral("Tahoma"), 80, false, false));
    m_tree->setObjectName(QStringLiteral("rateTree"));
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &RatesSetupDialog::updateCommandStates);
    // A double click opens a rate as Modify does (Enter would go on to the
    // dialog and close it).
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (isRateItem(item))
            onCommand(cmd::ModifyItem);
    });

    buildBar();
    m_bar->frame(this, m_tree, QStringLiteral("ratesetup"), cmd::DeleteItem);
    addContextMenu();

    resize(380, 440);
    keepWindowPlace(this, m_context.registry, QStringLiteral("RatesSetup"));
    fill();
}

void RatesSetupDialog::buildBar() {
    m_bar = new DialogBar(dialogBarKind(m_context.settings), this);
    connect(m_bar, &DialogBar::commandTriggered, this, &RatesSetupDialog::onCommand);
    if (m_bar->kind() == DialogBar::Kind::SoftKeys) {
        m_newId = cmd::NewRate;
        m_bar->addCommand(nullptr, cmd::NewRate, QStringLiteral("New"));
        m_bar->addStretch();
        QMenu* menu = m_bar->addPopup(QStringLiteral("Menu"), QStringLiteral("menu"));
        m_bar->addCommand(menu, cmd::ModifyItem, QStringLiteral("Modify..."));
        m_bar->addCommand(menu, cmd::DeleteItem, QStringLiteral("Delete"));
        return;
    }
    m_newId = cmd::NewRateClassic;
    m_bar->addCommand(nullptr, cmd::NewRateClassic, QStringLiteral("New"));
    m_bar->addSeparator();
    m_bar->addCommand(nullptr, cmd::ModifyItem, QStringLiteral("Modify"));
    m_bar->addCommand(nullptr, cmd::DeleteItem, QStringLiteral("Delete"));
}

void RatesSetupDialog::addContextMenu() {
    // A new rate goes to the group of the item chosen.
    m_bar->addContextMenu(m_tree, {{m_newId, QStringLiteral("New Rate...")},
                                   {0, {}},
                                   {cmd::ModifyItem, QStringLiteral("Modify...")},
                                   {cmd::DeleteItem, QStringLiteral("Delete")}});
}

void RatesSetupDialog::fill() {
    m_tree->clear();
    const RateTreeContent content = RateTreeContent::load(m_context.store);
    for (const RateTreeContent::Group& g : content.groups) {
        m_tree->setUpdatesEnabled(false);
        auto* group = new QTreeWidgetItem(QStringList{g.title});
        group->setIcon(0, rateTreeIcon(RateGroupImage));
        group->setData(0, DataRole, g.clientId);
        for (const Rate& rate : g.rates) {
            auto* item = new QTreeWidgetItem;
            showRate(item, rate);
            group->addChild(item);
        }
        m_tree->addTopLevelItem(group);
        group->setExpanded(true);
        m_tree->setUpdatesEnabled(true);
    }
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    updateCommandStates();
}

void RatesSetupDialog::rebuild() {
    const QTreeWidgetItem* current = m_tree->currentItem();
    const bool wasRate = isRateItem(current);
    const quint32 data = current ? dataOf(current) : 0;
    fill();
    QTreeWidgetItem* again = wasRate ? rateItem(data) : groupOfClient(data);
    if (current && again)
        m_tree->selectItem(again);
}

void RatesSetupDialog::updateCommandStates() {
    const bool rate = isRateItem(m_tree->currentItem());
    m_bar->setCommandEnabled(cmd::ModifyItem, rate);
    m_bar->setCommandEnabled(cmd::DeleteItem, rate);
}

void RatesSetupDialog::onCommand(int id) {
    if (!m_bar->isCommandEnabled(id))
        return;
    if (id == m_newId)
        newRate();
    else if (id == cmd::ModifyItem)
        modifyRate();
    else if (id == cmd::DeleteItem)
        deleteRate();
}

QTreeWidgetItem* RatesSetupDialog::groupOfClient(quint32 clientId) const {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        if (dataOf(m_tree->topLevelItem(i)) == clientId)
            return m_tree->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* RatesSetupDialog::rateItem(quint32 recordId) const {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = m_tree->topLevelItem(i);
        for (int j = 0; j < group->childCount(); ++j)
            if (dataOf(group->child(j)) == recordId)
                return group->child(j);
    }
    return nullptr;
}

void RatesSetupDialog::sortGroup(QTreeWidgetItem* group) {
    QList<QTreeWidgetItem*> children = group->takeChildren();
    std::stable_sort(children.begin(), children.end(),
                     [](auto* a, auto* b) { return compareRates(sortKeyOf(a), sortKeyOf(b)) < 0; });
    group->addChildren(children);
}

void RatesSetupDialog::newRate() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!current)
        return;
    // Items are found again afterwards: the tree may be rebuilt while the
    // rate dialog is open.
    const quint32 clientId = dataOf(isRateItem(current) ? current->parent() : current);
    RateDialog dialog(Rate(), m_context.ui, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Rate rate = dialog.rate();
    rate.clientId = clientId;
    rate.modified = platform::Clock::nowFileTime();
    if (Rates(m_context.store).add(rate) != WriteResult::Written)
        return;
    QTreeWidgetItem* group = groupOfClient(clientId);
    if (!group)
        return rebuild();
    auto* item = new QTreeWidgetItem;
    showRate(item, rate);
    group->addChild(item);
    sortGroup(group);
    group->setExpanded(true);
    m_tree->selectItem(item);
}

void RatesSetupDialog::modifyRate() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!isRateItem(current))
        return;
    const quint32 recordId = dataOf(current);
    const std::optional<Rate> stored = Rates(m_context.store).find(recordId);
    if (!stored)
        return rebuild();  // gone or unreadable: show what the store holds
    RateDialog dialog(*stored, m_context.ui, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Rate rate = dialog.rate();
    rate.modified = platform::Clock::nowFileTime();
    rate.recordId = recordId;
    if (Rates(m_context.store).update(rate) != WriteResult::Written)
        return rebuild();
    // The item keeps its place; its text and image follow the new values.
    if (QTreeWidgetItem* item = rateItem(recordId))
        showRate(item, rate);
}

void RatesSetupDialog::deleteRate() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!isRateItem(current))
        return;
    if (Rates(m_context.store).remove(dataOf(current)) == WriteResult::Written)
        delete current;
    else
        rebuild();
    updateCommandStates();
}

void runRatesSetup(Context& context, QWidget* parent, StoreWatcher* watcher) {
    if (!openStoreForSetup(context, parent))
        return;
    RatesSetupDialog dialog(context, parent);
    if (!watcher) {
        watcher = new StoreWatcher(context.store, &dialog);
        watcher->start();
    }
    QObject::connect(watcher, &StoreWatcher::storeChanged, &dialog, &RatesSetupDialog::rebuild);
    dialog.exec();
}

}  // namespace tempolatch
