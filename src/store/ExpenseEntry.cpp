#include "store/ExpenseEntry.h"

#include "store/RecordFields.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

namespace {

using Field = RecordField<ExpenseEntry>;
constexpr Presence Always = Presence::Always;

bool hasCategory(const ExpenseEntry& e) {
    return !e.isMileage() && !e.category.isEmpty();
}
bool isMileage(const ExpenseEntry& e) {
    return e.isMileage();
}

// The same list for add and update; update removes what has no value,
// including the fields of the other expense type.
const Field kFields[] = {
    {prop::ExpenseType, &ExpenseEntry::type, Always},
    {prop::EntryDate, &ExpenseEntry::date, Always},
    {prop::Description, &ExpenseEntry::description},
    {prop::ClientName, &ExpenseEntry::client, Always},
    {prop::Project, &ExpenseEntry::project},
    {prop::Category, &ExpenseEntry::category, Presence::ByRule, hasCategory},
    {prop::StartOdometer, &ExpenseEntry::startOdometer, Presence::ByRule, isMileage},
    {prop::Distance, &ExpenseEntry::distance, Presence::ByRule, isMileage},
    {prop::Status, &ExpenseEntry::status},
    {prop::Currency, &ExpenseEntry::currency},
    {prop::Rate, &ExpenseEntry::amount},
    {prop::Receipt, &ExpenseEntry::receipt},
    {prop::PaidDate, &ExpenseEntry::paidDate},
    {prop::BillTo, &ExpenseEntry::billTo},
    {prop::Custom1, &ExpenseEntry::custom1},
    {prop::Custom2, &ExpenseEntry::custom2},
    {prop::ExpenseNote, &ExpenseEntry::note},
    {prop::Modified, &ExpenseEntry::modified, Always},
};

}  // namespace

void ExpenseEntry::setFromProperties(const PropertyList& props) {
    const quint32 id = recordId;
    clear();
    recordId = id;
    for (const Property& p : props)
        recordfields::read<ExpenseEntry>(*this, p, kFields);
}

PropertyList ExpenseEntry::propertiesForAdd(quint16 flags) const {
    return recordfields::write<ExpenseEntry>(*this, kFields, false, flags);
}

PropertyList ExpenseEntry::propertiesForUpdate(quint16 flags) const {
    return recordfields::write<ExpenseEntry>(*this, kFields, true, flags);
}

double ExpenseEntry::totalAmount() const {
    if (isMileage())
        return amount * 0.01 * distance;
    return amount * 0.01;
}

}  // namespace tempolatch
