#include "records/ExpenseFilter.h"

#include <QStringList>

#include "platform/Registry.h"
#include "records/EntryFilter.h"
#include "records/FilterValues.h"
#include "records/PeriodMath.h"
#include "store/ExpenseEntry.h"

namespace tempolatch {

namespace {

struct TextValue {
    const char* name;
    QString ExpenseFilter::*field;
};
constexpr TextValue kStoredTexts[] = {
    {"fExpClient", &ExpenseFilter::client},     {"fExpProject", &ExpenseFilter::project},
    {"fExpCategory", &ExpenseFilter::category}, {"fExpCurrency", &ExpenseFilter::currency},
    {"fExpBillTo", &ExpenseFilter::billTo},
};
// Deleted with the others, never written.
constexpr const char* kNotStored[] = {"fExpCustom1", "fExpCustom2"};

}  // namespace

ExpenseFilter ExpenseFilter::preset(CriteriaMode mode, const platform::SystemTime& periodStart,
                                    const platform::SystemTime& periodEnd, qint32 type) {
    ExpenseFilter criteria;
    criteria.startDate = periodmath::dateOnly(periodStart);
    criteria.endDate = periodmath::endOfDay(periodEnd);
    criteria.type = type;
    applyModeStatuses(mode, criteria);
    return criteria;
}

ExpenseCriteria ExpenseFilter::chosen() const {
    ExpenseCriteria criteria;
    if (hasDateRange()) {
        if (const auto from = platform::toFileTime(startDate))
            criteria.from = *from;
        if (const auto to = platform::toFileTime(periodmath::endOfDay(endDate)))
            criteria.to = *to;
    }
    criteria.matches = [filter = *this](const ExpenseEntry& expense) {
        return filter.matches(expense);
    };
    return criteria;
}

void ExpenseFilter::showUnpaidOnly() {
    showAll();
    paid = false;
    nonBillable = false;
}

quint32 ExpenseFilter::flags() const {
    return EntryFilter::flagsOf(billable, paid, nonBillable, billed);
}

void ExpenseFilter::setFlags(quint32 flags) {
    billable = flags & EntryFilter::BillableFlag;
    paid = flags & EntryFilter::PaidFlag;
    nonBillable = flags & EntryFilter::NonBillableFlag;
    billed = flags & EntryFilter::BilledFlag;
}

bool ExpenseFilter::matches(const ExpenseEntry& expense) const {
    if (hasDateRange()) {
        if (const auto from = platform::toFileTime(startDate); from && expense.date < *from)
            return false;
        if (const auto to = platform::toFileTime(periodmath::endOfDay(endDate));
            to && expense.date > *to)
            return false;
    }
    const std::pair<const QString&, const QString&> texts[] = {
        {client, expense.client},   {project, expense.project},   {category, expense.category},
        {billTo, expense.billTo},   {currency, expense.currency}, {custom1, expense.custom1},
        {custom2, expense.custom2},
    };
    for (const auto& [criterion, value] : texts)
        if (!textMatches(criterion, value))
            return false;
    if (!EntryFilter::statusPasses(flags(), expense.status))
        return false;
    if (type != AnyType && qint32(expense.type) != type)
        return false;
    if (receipt != AnyReceipt && (receipt == WithReceipt) != expense.receipt)
        return false;
    return search.matches({&expense.description, &expense.client, &expense.project, &expense.note});
}

QString ExpenseFilter::description() const {
    QStringList parts;
    for (const QString* text :
         {&client, &project, &category, &billTo, &currency, &custom1, &custom2})
        if (!text->isEmpty())
            parts << *text;
    if (type != AnyType)
        parts << expenseTypeName(ExpenseType(type));
    if (receipt == WithReceipt)
        parts << QStringLiteral("with receipt");
    else if (receipt == WithoutReceipt)
        parts << QStringLiteral("without receipt");
    return EntryFilter::describe(parts, flags());
}

void ExpenseFilter::store(platform::Registry& registry) const {
    FilterValues values;
    for (const TextValue& value : kStoredTexts)
        values.texts.append({value.name, this->*value.field});
    values.cleared = {std::begin(kNotStored), std::end(kNotStored)};
    values.numbers = {
        {"fExpFlags", flags()}, {"fExpType", quint32(type)}, {"fExpReceipt", quint32(receipt)}};
    storeFilterValues(registry, values);
}

QString ExpenseFilter::sortKey(const ExpenseEntry& expense, int arrangeBy) {
    static constexpr QString ExpenseEntry::*kKeys[] = {
        nullptr, &ExpenseEntry::client, &ExpenseEntry::project, &ExpenseEntry::category,
        nullptr, &ExpenseEntry::billTo, &ExpenseEntry::custom1, &ExpenseEntry::custom2,
    };
    if (arrangeBy < 1 || arrangeBy > MaxArrangeBy || !kKeys[arrangeBy])
        return {};
    return expense.*kKeys[arrangeBy];
}

}  // namespace tempolatch
