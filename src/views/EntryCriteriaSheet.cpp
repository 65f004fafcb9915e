#include "views/EntryCriteriaSheet.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "records/FilterChoices.h"
#include "settings/Context.h"
#include "views/FilterControls.h"
#include "widgets/DatePicker.h"
#include "widgets/HelpWindow.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

QString titleOf(CriteriaMode mode) {
    switch (mode) {
        case CriteriaMode::MarkPaid:
            return QObject::tr("Mark Paid Entries");
        case CriteriaMode::MarkBilled:
            return QObject::tr("Mark Billed Entries");
        case CriteriaMode::Any:
            break;
    }
    return QObject::tr("Choose Entries");
}

platform::SystemTime dayOf(const QDate& date) {
    return platform::SystemTime::fromDateTime(QDateTime(date, QTime(0, 0)));
}

}  // namespace

EntryCriteriaSheet::EntryCriteriaSheet(Context& context, CriteriaMode mode,
                                       const EntryFilter& preset, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_controls(new FilterControls(context.store, this)) {
    setObjectName(QStringLiteral("entryCriteriaSheet"));
    setWindowTitle(titleOf(mode));
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("pages"));
    // A desktop dialog is wider than high: the status boxes get a page of
    // their own rather than crowding the lists.
    tabs->addTab(createCriteriaPage(tabs), tr("Criteria"));
    tabs->addTab(createStatusPage(tabs), tr("Status"));
    tabs->addTab(m_controls->createMoreChoicesPage(tabs), tr("More Choices"));
    QDialogButtonBox* buttons = m_controls->createButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("criteria")); });

    m_start->setDate(preset.startDate.date());
    m_end->setDate(preset.endDate.date());
    EntryFilter shown = preset;
    applyModeStatuses(mode, shown);
    m_controls->show(FilterChoices::of(shown), shown.task);
    m_controls->setStatusBoxesEnabled(statusBoxesEnabled(mode));
    keepWindowPlace(this, context.registry, QStringLiteral("EntryCriteria"));
}

QWidget* EntryCriteriaSheet::createCriteriaPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    m_start = createDatePicker(QStringLiteral("start"), page);
    m_end = createDatePicker(QStringLiteral("end"), page);
    form->addRow(tr("Start:"), m_start);
    form->addRow(tr("End:"), m_end);
    m_controls->addClientLists(page, form, true);
    m_withExpenses = new QCheckBox(tr("Include the client's &billable expenses"), page);
    m_withExpenses->setObjectName(QStringLiteral("withExpenses"));
    m_withExpenses->setVisible(false);
    form->addRow(m_withExpenses);
    return page;
}

QWidget* EntryCriteriaSheet::createStatusPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    m_controls->addStatusBoxes(page, form);
    return page;
}

void EntryCriteriaSheet::offerExpenses(bool checked) {
    m_withExpenses->setVisible(true);
    m_withExpenses->setChecked(checked);
}

bool EntryCriteriaSheet::withExpenses() const {
    return !m_withExpenses->isHidden() && m_withExpenses->isChecked();
}

void EntryCriteriaSheet::clear() {
    m_controls->clear();
}

EntryFilter EntryCriteriaSheet::criteria() const {
    const CriteriaChoices range{dayOf(m_start->date()), dayOf(m_end->date()), m_controls->task()};
    return criteriaOf(m_mode, range, m_controls->choices());
}

bool runEntryCriteria(Context& context, QWidget* parent, CriteriaMode mode,
                      const platform::SystemTime& periodStart,
                      const platform::SystemTime& periodEnd, EntryFilter& criteria,
                      bool* withExpenses) {
    EntryCriteriaSheet sheet(context, mode, presetCriteria(mode, periodStart, periodEnd), parent);
    if (withExpenses)
        sheet.offerExpenses(*withExpenses);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    criteria = sheet.criteria();
    if (withExpenses)
        *withExpenses = sheet.withExpenses();
    return true;
}

}  // namespace tempolatch
