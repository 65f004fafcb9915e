#include "store/ExpenseEntry.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

namespace {

const TextField<ExpenseEntry> kTextFields[] = {
    {prop::Description, &ExpenseEntry::description}, {prop::ClientName, &ExpenseEntry::client},
    {prop::Project, &ExpenseEntry::project},         {prop::Category, &ExpenseEntry::category},
    {prop::Currency, &ExpenseEntry::currency},       {prop::BillTo, &ExpenseEntry::billTo},
    {prop::Custom1, &ExpenseEntry::custom1},         {prop::Custom2, &ExpenseEntry::custom2},
    {prop::ExpenseNote, &ExpenseEntry::note},
};

void setNumber(ExpenseEntry& e, const Property& p) {
    switch (p.id) {
        case prop::ExpenseType:
            e.type = ExpenseType(p.toUi2());
            break;
        case prop::EntryDate:
            e.date = p.toFileTime();
            break;
        case prop::StartOdometer:
            e.startOdometer = qint32(p.toUi4());
            break;
        case prop::Distance:
            e.distance = qint32(p.toUi4());
            break;
        case prop::Status:
            e.status = EntryStatus(p.toUi2());
            break;
        case prop::Rate:
            e.amount = qint32(p.toUi4());
            break;
        case prop::Receipt:
            e.receipt = p.number == 1;
            break;
        case prop::PaidDate:
            e.paidDate = p.toFileTime();
            break;
        case prop::Modified:
            e.modified = p.toFileTime();
            break;
        case prop::ChangeFlags:
            e.changeFlags = p.toUi2();
            break;
        default:
            break;
    }
}

}  // namespace

void ExpenseEntry::setFromProperties(const PropertyList& props) {
    const quint32 id = recordId;
    clear();
    recordId = id;
    for (const Property& p : props)
        if (!setTextField(*this, p, kTextFields))
            setNumber(*this, p);
}

PropertyList ExpenseEntry::propertiesForAdd(quint16 flags) const {
    return properties(false, flags);
}

PropertyList ExpenseEntry::propertiesForUpdate(quint16 flags) const {
    return properties(true, flags);
}

// The same list for add and update; update removes what has no value,
// including the fields of the other expense type.
PropertyList ExpenseEntry::properties(bool forUpdate, quint16 flags) const {
    const bool general = type == ExpenseType::General;
    PropertyWriter w(forUpdate);
    w.always(Property::ui2(prop::ExpenseType, quint16(type)));
    w.always(Property::fileTime(prop::EntryDate, date));
    w.optional(!description.isEmpty(), Property::string(prop::Description, description));
    w.always(Property::string(prop::ClientName, client));
    w.optional(!project.isEmpty(), Property::string(prop::Project, project));
    w.optional(general && !category.isEmpty(), Property::string(prop::Category, category));
    w.optional(isMileage(), Property::ui4(prop::StartOdometer, quint32(startOdometer)));
    w.optional(isMileage(), Property::ui4(prop::Distance, quint32(distance)));
    w.optional(status != EntryStatus::NonBillable, Property::ui2(prop::Status, quint16(status)));
    w.optional(!currency.isEmpty(), Property::string(prop::Currency, currency));
    w.optional(amount > 0, Property::ui4(prop::Rate, quint32(amount)));
    w.optional(receipt, Property::boolean(prop::Receipt, true));
    w.optional(!paidDate.isNull(), Property::fileTime(prop::PaidDate, paidDate));
    w.optional(!billTo.isEmpty(), Property::string(prop::BillTo, billTo));
    w.optional(!custom1.isEmpty(), Property::string(prop::Custom1, custom1));
    w.optional(!custom2.isEmpty(), Property::string(prop::Custom2, custom2));
    w.optional(!note.isEmpty(), Property::string(prop::ExpenseNote, note));
    w.always(Property::fileTime(prop::Modified, modified));
    w.always(Property::ui2(prop::ChangeFlags, flags));
    return w.take();
}

double ExpenseEntry::totalAmount() const {
    if (isMileage())
        return amount * 0.01 * distance;
    return amount * 0.01;
}

}  // namespace tempolatch
