#pragma once

#include <QObject>

#include "records/FilterChoices.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QWidget;

namespace tempolatch {

class RecordStore;
struct StatusBoxesEnabled;

// The lists and boxes that choose entries, shared by the Custom filter sheet
// and the entry criteria sheet: "Client:", "Project:", "Phase:", "Task:",
// "Bill To:", the four status boxes, and the "More Choices" page. Every
// list starts with "(All)"; choosing a client refills its projects, tasks
// and contacts. The controls belong to the pages they are added to.
class FilterControls : public QObject {
    Q_OBJECT

public:
    explicit FilterControls(RecordStore& store, QObject* parent = nullptr);

    // The client lists as rows of `form` on `page`; "Task:" only when asked.
    void addClientLists(QWidget* page, QFormLayout* form, bool withTask);
    // "Unpaid", "Billed", "Paid", "Non Billable".
    void addStatusBoxes(QWidget* page, QFormLayout* form);
    // Currency, custom fields 1 to 3 and rate type.
    QWidget* createMoreChoicesPage(QWidget* parent);
    // OK, Cancel and "Clear" (which clears these controls) for the sheet.
    QDialogButtonBox* createButtons(QDialog* sheet);

    // Shows the choices; a text no list offers is added to it, so that OK
    // keeps it.
    void show(const FilterChoices& shown, const QString& task = QString());
    // The choices as the controls show them now.
    FilterChoices choices() const;
    QString task() const;

    // Every list back to "(All)"; the status boxes the user may change are
    // checked.
    void clear();
    void setStatusBoxesEnabled(const StatusBoxesEnabled& enabled);

private:
    QComboBox* addList(QWidget* page, const char* name);
    void fillClientLists(quint32 clientId);
    void clientChosen(int index);
    QList<QComboBox*> lists() const;

    RecordStore& m_store;
    QComboBox* m_client = nullptr;
    QComboBox* m_project = nullptr;
    QComboBox* m_phase = nullptr;
    QComboBox* m_task = nullptr;
    QComboBox* m_billTo = nullptr;
    QCheckBox* m_unpaid = nullptr;
    QCheckBox* m_billed = nullptr;
    QCheckBox* m_paid = nullptr;
    QCheckBox* m_nonBillable = nullptr;
    QComboBox* m_currency = nullptr;
    QComboBox* m_custom1 = nullptr;
    QComboBox* m_custom2 = nullptr;
    QComboBox* m_custom3 = nullptr;
    QComboBox* m_rateType = nullptr;
};

}  // namespace tempolatch
