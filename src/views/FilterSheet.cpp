#include "views/FilterSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/RecordValues.h"
#include "views/EntryFilter.h"
#include "views/FilterLists.h"
#include "views/ViewIds.h"

namespace tempolatch {

using namespace filterlists;

FilterSheet::FilterSheet(EntryFilter& filter, RecordStore& store, QWidget* parent)
    : QDialog(parent), m_filter(filter), m_store(store) {
    setWindowTitle(tr("Filter"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(createFilterPage(), tr("Filter"));
    tabs->addTab(createMoreChoicesPage(), tr("More Choices"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clearButton = buttons->addButton(tr("Clear"), QDialogButtonBox::ResetRole);
    clearButton->setObjectName(QStringLiteral("clear"));
    connect(clearButton, &QPushButton::clicked, this, &FilterSheet::clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    const FilterChoices shown = FilterChoices::of(m_filter);
    showText(m_client, shown.client);
    // The projects and contacts of the chosen client, so that its criteria
    // are there to keep.
    fillClientLists(m_client->currentData().toUInt());
    showText(m_project, shown.project);
    showText(m_phase, shown.phase);
    showText(m_billTo, shown.billTo);
    m_unpaid->setChecked(shown.unpaid);
    m_billed->setChecked(shown.billed);
    m_paid->setChecked(shown.paid);
    m_nonBillable->setChecked(shown.nonBillable);
    showText(m_currency, shown.currency);
    showText(m_custom1, shown.custom1);
    showText(m_custom2, shown.custom2);
    showText(m_custom3, shown.custom3);
    m_rateType->setCurrentIndex(shown.rateTypeItem);
    connect(m_client, &QComboBox::activated, this, &FilterSheet::clientChosen);
}

QComboBox* FilterSheet::addList(QWidget* page, const char* name) {
    return filterlists::create(page, name);
}

QWidget* FilterSheet::createFilterPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_client = addList(page, "client");
    fillClients(m_client, m_store);
    m_project = addList(page, "project");
    m_phase = addList(page, "phase");
    setItems(m_phase, Lists(m_store.objectStore()).texts(ListKind::Phase));
    m_billTo = addList(page, "billTo");
    form->addRow(tr("Client:"), m_client);
    form->addRow(tr("Project:"), m_project);
    form->addRow(tr("Phase:"), m_phase);
    form->addRow(tr("Bill To:"), m_billTo);
    auto addBox = [page, form](const QString& text, const char* name) {
        auto* box = new QCheckBox(text, page);
        box->setObjectName(QString::fromLatin1(name));
        form->addRow(box);
        return box;
    };
    m_unpaid = addBox(tr("Unpaid"), "unpaid");
    m_billed = addBox(tr("Billed"), "billed");
    m_paid = addBox(tr("Paid"), "paid");
    m_nonBillable = addBox(tr("Non Billable"), "nonBillable");
    return page;
}

QWidget* FilterSheet::createMoreChoicesPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_currency = addList(page, "currency");
    setItems(m_currency, Lists(m_store.objectStore()).texts(ListKind::Currency));
    m_custom1 = addList(page, "custom1");
    setItems(m_custom1, Lists(m_store.objectStore()).texts(ListKind::Custom1));
    m_custom2 = addList(page, "custom2");
    setItems(m_custom2, Lists(m_store.objectStore()).texts(ListKind::Custom2));
    m_custom3 = addList(page, "custom3");
    setItems(m_custom3, Lists(m_store.objectStore()).texts(ListKind::Custom3));
    m_rateType = addList(page, "rateType");
    QStringList rateTypes;
    for (int type = 0; type <= int(RateType::Discount); ++type)
        rateTypes.append(rateTypeName(RateType(type)));
    setItems(m_rateType, rateTypes);
    form->addRow(tr("Currency:"), m_currency);
    form->addRow(tr("Custom 1:"), m_custom1);
    form->addRow(tr("Custom 2:"), m_custom2);
    form->addRow(tr("Custom 3:"), m_custom3);
    form->addRow(tr("Rate Type:"), m_rateType);
    return page;
}

void FilterSheet::fillClientLists(quint32 clientId) {
    fillProjectsAndContacts(m_project, m_billTo, m_store, clientId);
}

void FilterSheet::clientChosen(int index) {
    fillClientLists(m_client->itemData(index).toUInt());
    m_project->setCurrentIndex(0);
    m_billTo->setCurrentIndex(0);
}

void FilterSheet::clear() {
    for (QComboBox* box : {m_client, m_project, m_phase, m_billTo, m_currency, m_custom1, m_custom2,
                           m_custom3, m_rateType})
        box->setCurrentIndex(0);
    for (QCheckBox* box : {m_unpaid, m_billed, m_paid, m_nonBillable})
        box->setChecked(true);
}

FilterChoices FilterSheet::choices() const {
    FilterChoices c;
    c.client = chosenText(m_client);
    c.project = chosenText(m_project);
    c.phase = chosenText(m_phase);
    c.billTo = chosenText(m_billTo);
    c.unpaid = m_unpaid->isChecked();
    c.billed = m_billed->isChecked();
    c.paid = m_paid->isChecked();
    c.nonBillable = m_nonBillable->isChecked();
    c.currency = chosenText(m_currency);
    c.custom1 = chosenText(m_custom1);
    c.custom2 = chosenText(m_custom2);
    c.custom3 = chosenText(m_custom3);
    c.rateTypeItem = qMax(0, m_rateType->currentIndex());
    return c;
}

void FilterSheet::accept() {
    choices().apply(m_filter);
    QDialog::accept();
}

}  // namespace tempolatch
