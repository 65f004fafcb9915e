#pragma once

#include <QDialog>

#include "records/FilterChoices.h"

namespace tempolatch {

class EntryFilter;
class FilterControls;
struct Context;

// The Custom filter sheet: the "Filter" page (client, project, phase, bill
// to, statuses) and the "More Choices" page (currency, custom fields, rate
// type). Every list starts with "(All)". OK writes the choices into the
// filter; the caller stores it and reloads.
class FilterSheet : public QDialog {
    Q_OBJECT

public:
    // The lists offer the clients and drop-list values of the store.
    FilterSheet(EntryFilter& filter, Context& context, QWidget* parent = nullptr);

    // The choices as the widgets show them now.
    FilterChoices choices() const;

    void accept() override;

public Q_SLOTS:
    // Every list back to "(All)", every status box checked.
    void clear();

private:
    EntryFilter& m_filter;
    FilterControls* m_controls;
};

}  // namespace tempolatch
