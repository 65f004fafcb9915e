#include "views/FilterControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include "platform/StringTable.h"
#include "records/EntryCriteria.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/RecordValues.h"
#include "views/FilterLists.h"
#include "views/ViewIds.h"

namespace tempolatch {

using namespace filterlists;

FilterControls::FilterControls(RecordStore& store, QObject* parent)
    : QObject(parent), m_store(store) {}

QComboBox* FilterControls::addList(QWidget* page, const char* name) {
    return filterlists::create(page, name);
}

void FilterControls::addClientLists(QWidget* page, QFormLayout* form, bool withTask) {
    m_client = addList(page, "client");
    fillClients(m_client, m_store);
    m_project = addList(page, "project");
    m_phase = addList(page, "phase");
    setItems(m_phase, m_store.lists().texts(ListKind::Phase));
    if (withTask)
        m_task = addList(page, "task");
    m_billTo = addList(page, "billTo");
    fillClientLists(0);
    form->addRow(tr("Client:"), m_client);
    form->addRow(tr("Project:"), m_project);
    form->addRow(tr("Phase:"), m_phase);
    if (m_task)
        form->addRow(tr("Task:"), m_task);
    form->addRow(tr("Bill To:"), m_billTo);
    connect(m_client, &QComboBox::activated, this, &FilterControls::clientChosen);
}

void FilterControls::addStatusBoxes(QWidget* page, QFormLayout* form) {
    auto addBox = [page, form](const QString& text, const char* name) {
        auto* box = new QCheckBox(text, page);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(true);
        form->addRow(box);
        return box;
    };
    m_unpaid = addBox(tr("Unpaid"), "unpaid");
    m_billed = addBox(tr("Billed"), "billed");
    m_paid = addBox(tr("Paid"), "paid");
    m_nonBillable = addBox(tr("Non Billable"), "nonBillable");
}

QWidget* FilterControls::createMoreChoicesPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    Lists lists = m_store.lists();
    m_currency = addList(page, "currency");
    setItems(m_currency, lists.texts(ListKind::Currency));
    m_custom1 = addList(page, "custom1");
    setItems(m_custom1, lists.texts(ListKind::Custom1));
    m_custom2 = addList(page, "custom2");
    setItems(m_custom2, lists.texts(ListKind::Custom2));
    m_custom3 = addList(page, "custom3");
    setItems(m_custom3, lists.texts(ListKind::Custom3));
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

QDialogButtonBox* FilterControls::createButtons(QDialog* sheet) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, sheet);
    QPushButton* clearButton = buttons->addButton(tr("Clear"), QDialogButtonBox::ResetRole);
    clearButton->setObjectName(QStringLiteral("clear"));
    connect(clearButton, &QPushButton::clicked, this, &FilterControls::clear);
    connect(buttons, &QDialogButtonBox::accepted, sheet, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, sheet, &QDialog::reject);
    return buttons;
}

void FilterControls::fillClientLists(quint32 clientId) {
    fillProjectsAndContacts(m_project, m_billTo, m_store, clientId);
    setItems(m_task, m_task && m_store.isOpen() ? ClientStructure(m_store).taskNames(clientId)
                                                : QStringList());
}

void FilterControls::clientChosen(int index) {
    fillClientLists(m_client->itemData(index).toUInt());
    for (QComboBox* box : {m_project, m_task, m_billTo})
        if (box)
            box->setCurrentIndex(0);
}

void FilterControls::show(const FilterChoices& shown, const QString& task) {
    showText(m_client, shown.client);
    // The projects, tasks and contacts of the chosen client, so that its
    // criteria are there to keep.
    if (m_client)
        fillClientLists(m_client->currentData().toUInt());
    showText(m_project, shown.project);
    showText(m_phase, shown.phase);
    showText(m_task, task);
    showText(m_billTo, shown.billTo);
    showText(m_currency, shown.currency);
    showText(m_custom1, shown.custom1);
    showText(m_custom2, shown.custom2);
    showText(m_custom3, shown.custom3);
    if (m_rateType)
        m_rateType->setCurrentIndex(shown.rateTypeItem);
    const std::pair<QCheckBox*, bool> boxes[] = {{m_unpaid, shown.unpaid},
                                                 {m_billed, shown.billed},
                                                 {m_paid, shown.paid},
                                                 {m_nonBillable, shown.nonBillable}};
    for (const auto& [box, checked] : boxes)
        if (box)
            box->setChecked(checked);
}

FilterChoices FilterControls::choices() const {
    FilterChoices c;
    c.client = chosenText(m_client);
    c.project = chosenText(m_project);
    c.phase = chosenText(m_phase);
    c.billTo = chosenText(m_billTo);
    c.unpaid = !m_unpaid || m_unpaid->isChecked();
    c.billed = !m_billed || m_billed->isChecked();
    c.paid = !m_paid || m_paid->isChecked();
    c.nonBillable = !m_nonBillable || m_nonBillable->isChecked();
    c.currency = chosenText(m_currency);
    c.custom1 = chosenText(m_custom1);
    c.custom2 = chosenText(m_custom2);
    c.custom3 = chosenText(m_custom3);
    c.rateTypeItem = m_rateType ? qMax(0, m_rateType->currentIndex()) : 0;
    return c;
}

QString FilterControls::task() const {
    return chosenText(m_task);
}

QList<QComboBox*> FilterControls::lists() const {
    QList<QComboBox*> all;
    for (QComboBox* box : {m_client, m_project, m_phase, m_task, m_billTo, m_currency, m_custom1,
                           m_custom2, m_custom3, m_rateType})
        if (box)
            all.append(box);
    return all;
}

void FilterControls::clear() {
    for (QComboBox* box : lists())
        box->setCurrentIndex(0);
    for (QCheckBox* box : {m_unpaid, m_billed, m_paid, m_nonBillable})
        if (box && box->isEnabled())
            box->setChecked(true);
}

void FilterControls::setStatusBoxesEnabled(const StatusBoxesEnabled& enabled) {
    const std::pair<QCheckBox*, bool> boxes[] = {{m_unpaid, enabled.unpaid},
                                                 {m_billed, enabled.billed},
                                                 {m_paid, enabled.paid},
                                                 {m_nonBillable, enabled.nonBillable}};
    for (const auto& [box, on] : boxes)
        if (box)
            box->setEnabled(on);
}

}  // namespace tempolatch
