#include "editing/EntryBillingPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "editing/BillingRules.h"
#include "editing/EntryValues.h"
#include "editing/PaidDateDialog.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/RecordValues.h"
#include "widgets/SetupIcons.h"

namespace tempolatch {

namespace {

constexpr int RecordIdRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

QTreeWidgetItem* groupItem(QTreeWidget* tree, const QString& title, quint32 clientId,
                           const QList<Rate>& rates) {
    auto* group = new QTreeWidgetItem(tree, {title});
    group->setIcon(0, rateTreeIcon(0));
    group->setData(0, RecordIdRole, clientId);
    group->setData(0, ImageRole, 0);
    for (const Rate& rate : rates) {
        const int image = int(rate.rateType) + 1;
        auto* item = new QTreeWidgetItem(group, {billing::rateItemText(rate)});
        item->setIcon(0, rateTreeIcon(image));
        item->setData(0, RecordIdRole, rate.recordId);
        item->setData(0, ImageRole, image);
    }
    group->setExpanded(true);
    return group;
}

QList<Rate> sortedRates(RecordStore& store, quint32 clientId) {
    return store.isOpen() ? ClientStructure(store).sortedRateList(clientId) : QList<Rate>();
}

}  // namespace

EntryBillingPage::EntryBillingPage(EntryEditState& state, QWidget* parent)
    : EntryPage(state, parent) {
    setObjectName(QStringLiteral("billingPage"));
}

void EntryBillingPage::build() {
    m_status = new QComboBox(this);
    m_status->setObjectName(QStringLiteral("status"));
    for (int s = 0; s < 4; ++s)
        m_status->addItem(resourceString(str::StatusNames + s));
    m_paidDate = new QPushButton(QStringLiteral("Paid Date..."), this);
    m_paidDate->setObjectName(QStringLiteral("paidDateButton"));
    m_billTo = new QComboBox(this);
    m_billTo->setObjectName(QStringLiteral("billTo"));
    m_billTo->setEditable(true);
    m_billTo->setInsertPolicy(QComboBox::NoInsert);
    m_billTo->lineEdit()->setMaxLength(63);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("rateTree"));
    m_tree->setHeaderHidden(true);
    m_currency = new QComboBox(this);
    m_currency->setObjectName(QStringLiteral("currency"));
    m_currency->setEditable(true);
    m_currency->setInsertPolicy(QComboBox::NoInsert);
    m_currency->lineEdit()->setMaxLength(16);
    m_rate = new QLineEdit(this);
    m_rate->setObjectName(QStringLiteral("rate"));
    m_rate->setMaxLength(16);
    m_fixed = new QCheckBox(QStringLiteral("Fixed"), this);
    m_fixed->setObjectName(QStringLiteral("fixed"));
    m_total = new QLineEdit(this);
    m_total->setObjectName(QStringLiteral("total"));
    m_total->setReadOnly(true);
    m_calculate = new QPushButton(QStringLiteral("Calculate"), this);
    m_calculate->setObjectName(QStringLiteral("calculate"));

    // Labels in the first column, fields in the second and buttons in the
    // third, whatever the entry's values: the columns never move.
    auto* grid = new QGridLayout(this);
    const auto label = [this, grid](const QString& text, QWidget* buddy, int row) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        grid->addWidget(l, row, 0);
    };
    label(QStringLiteral("Status:"), m_status, 0);
    grid->addWidget(m_status, 0, 1);
    grid->addWidget(m_paidDate, 0, 2);
    label(QStringLiteral("Bill To:"), m_billTo, 1);
    grid->addWidget(m_billTo, 1, 1, 1, 2);
    grid->addWidget(m_tree, 2, 0, 1, 3);
    label(QStringLiteral("Currency:"), m_currency, 3);
    grid->addWidget(m_currency, 3, 1);
    label(QStringLiteral("Rate:"), m_rate, 4);
    grid->addWidget(m_rate, 4, 1);
    grid->addWidget(m_fixed, 4, 2);
    label(QStringLiteral("Total:"), m_total, 5);
    grid->addWidget(m_total, 5, 1);
    grid->addWidget(m_calculate, 5, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    m_status->setCurrentIndex(qBound(0, int(entry().status), 3));
    if (context().store.isOpen())
        m_currency->addItems(context().store.lists().texts(ListKind::Currency));
    m_currency->setEditText(entry().recordId != 0 ? entry().currency
                                                  : context().settings.defaultCurrency);
    m_billTo->setEditText(entry().billTo);
    m_rate->setText(hundredthsText(entry().rate));
    m_initialStatus = entry().status;

    connect(m_status, &QComboBox::currentIndexChanged, this, [this] { updateEnabling(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { selectRateItem(item); });
    connect(m_calculate, &QPushButton::clicked, this, &EntryBillingPage::calculate);
    connect(m_paidDate, &QPushButton::clicked, this, &EntryBillingPage::choosePaidDate);
    updateEnabling();
}

void EntryBillingPage::activated() {
    fillTree();
    locateRate();
    if (entry().rate > 0) {
        m_rate->setText(QString::asprintf("%.02f", entry().rate / 100.0));
        m_fixed->setChecked(entry().rateType == RateType::Fixed);
    }
    const QString billTo = m_billTo->currentText();
    m_billTo->clear();
    RecordStore& store = context().store;
    if (store.isOpen() && state().clientId != 0)
        m_billTo->addItems(ClientStructure(store).contactNames(state().clientId));
    m_billTo->setCurrentIndex(-1);
    m_billTo->setEditText(billTo);
    updateEnabling();
}

void EntryBillingPage::fillTree() {
    const QSignalBlocker block(m_tree);
    m_tree->clear();
    m_customItem = new QTreeWidgetItem(m_tree, {resourceString(str::CustomRate)});
    m_customItem->setIcon(0, rateTreeIcon(0));
    m_customItem->setData(0, RecordIdRole, 0);
    m_customItem->setData(0, ImageRole, 0);
    const QList<Rate> defaults = sortedRates(context().store, 0);
    groupItem(m_tree, resourceString(str::DefaultRates), 0, defaults);
    m_rates = defaults;
    if (state().clientId != 0) {
        const QList<Rate> own = sortedRates(context().store, state().clientId);
        groupItem(m_tree, state().clientName, state().clientId, own);
        m_rates += own;
    }
    m_tree->setCurrentItem(nullptr);
}

void EntryBillingPage::locateRate() {
    QList<Rate> defaults, own;
    for (const Rate& r : m_rates)
        (r.clientId == 0 ? defaults : own).append(r);
    const billing::RateLocation where =
        billing::locateRate(entry(), own, defaults, state().clientId != 0);
    QTreeWidgetItem* target = nullptr;
    if (where.rate) {
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
            // Rate items are children; the client's group comes last, so
            // look there first.
            if ((*it)->parent() && (*it)->data(0, RecordIdRole).toUInt() == where.rate->recordId &&
                (*it)->parent()->data(0, RecordIdRole).toUInt() == where.rate->clientId)
                target = *it;
        }
    } else if (where.selectCustom) {
        target = m_customItem;
    }
    m_tree->setCurrentItem(target);
    selectRateItem(target);
    m_fixed->setChecked(where.fixedChecked);
}

std::optional<Rate> EntryBillingPage::selectedRate() const {
    QTreeWidgetItem* item = m_tree ? m_tree->currentItem() : nullptr;
    if (!item || item->data(0, ImageRole).toInt() == 0)
        return std::nullopt;
    const quint32 id = item->data(0, RecordIdRole).toUInt();
    for (const Rate& r : m_rates) {
        if (r.recordId == id)
            return r;
    }
    return std::nullopt;
}

void EntryBillingPage::selectRateItem(QTreeWidgetItem* item) {
    if (const std::optional<Rate> rate = selectedRate(); rate && item) {
        m_rate->setText(QString::asprintf("%.02f", rate->rate / 100.0));
        m_fixed->setChecked(rate->rateType == RateType::Fixed);
    }
    updateEnabling();
}

EntryStatus EntryBillingPage::selectedStatus() const {
    return EntryStatus(qBound(0, m_status->currentIndex(), 3));
}

void EntryBillingPage::updateEnabling() {
    const EntryStatus status = selectedStatus();
    const bool billable = status != EntryStatus::NonBillable;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_rate, m_currency, m_billTo, m_tree, m_calculate})
        w->setEnabled(billable);
    m_fixed->setEnabled(billable && m_tree->currentItem() == m_customItem &&
                        m_customItem != nullptr);
    m_paidDate->setEnabled(status == EntryStatus::Paid);
}

void EntryBillingPage::calculate() {
    entryvalues::setRateText(entry(), m_rate->text());
    entry().rateType = m_fixed->isChecked() ? RateType::Fixed : RateType::Normal;
    m_total->setText(billing::totalText(m_currency->currentText(), entry(),
                                        context().settings.hasFlag(PreciseCalculation)));
}

void EntryBillingPage::choosePaidDate() {
    PaidDateDialog dialog(entry().paidDate, this);
    // Only a date the user confirmed counts as chosen; a cancelled dialog
    // must not keep a Paid entry from getting its date.
    if (dialog.exec() != QDialog::Accepted)
        return;
    entry().paidDate = dialog.paidDate();
    m_paidDateChosen = true;
}

bool EntryBillingPage::leave() {
    entry().rateType = billing::rateTypeOf(selectedRate(), m_fixed->isChecked());
    entryvalues::setRateText(entry(), m_rate->text());
    return true;
}

bool EntryBillingPage::apply() {
    billing::BillingInput input;
    input.status = selectedStatus();
    input.rateText = m_rate->text();
    input.billTo = m_billTo->currentText();
    input.currency = m_currency->currentText();
    input.selectedRate = selectedRate();
    input.fixedChecked = m_fixed->isChecked();
    const int message = billing::apply(entry(), input, m_initialStatus, m_paidDateChosen,
                                       platform::Clock::nowFileTime());
    if (message != 0) {
        context().ui.message(resourceString(message), platform::MessageIcon::Warning, this);
        m_rate->setFocus();
        return false;
    }
    return true;
}

}  // namespace tempolatch
