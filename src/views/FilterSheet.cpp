#include "views/FilterSheet.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "records/EntryFilter.h"
#include "settings/Context.h"
#include "views/FilterControls.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

FilterSheet::FilterSheet(EntryFilter& filter, Context& context, QWidget* parent)
    : QDialog(parent), m_filter(filter), m_controls(new FilterControls(context.store, this)) {
    setWindowTitle(tr("Filter"));
    auto* tabs = new QTabWidget(this);
    auto* filterPage = new QWidget(tabs);
    auto* form = new QFormLayout(filterPage);
    m_controls->addClientLists(filterPage, form, false);
    m_controls->addStatusBoxes(filterPage, form);
    tabs->addTab(filterPage, tr("Filter"));
    tabs->addTab(m_controls->createMoreChoicesPage(tabs), tr("More Choices"));
    QDialogButtonBox* buttons = m_controls->createButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    m_controls->show(FilterChoices::of(m_filter));
    keepWindowPlace(this, context.registry, QStringLiteral("Filter"));
}

void FilterSheet::clear() {
    m_controls->clear();
}

FilterChoices FilterSheet::choices() const {
    return m_controls->choices();
}

void FilterSheet::accept() {
    choices().apply(m_filter);
    QDialog::accept();
}

}  // namespace tempolatch
