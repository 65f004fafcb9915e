#include "records/EntryFilter.h"

#include <QStringList>

#include "platform/Locale.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "records/FilterValues.h"
#include "records/PeriodMath.h"
#include "store/RecordStore.h"
#include "store/RecordValues.h"
#include "store/TimeEntries.h"

namespace tempolatch {

namespace {

const QString kKey = QString::fromLatin1(platform::Registry::AppKey);

// Texts as the registry keeps them: readers take names of up to 127
// characters with their terminator.
constexpr int kMaxTextBytes = 2 * 128;

struct TextValue {
    const char* name;
    QString EntryFilter::*field;
};
constexpr TextValue kTexts[] = {
    {"fClient", &EntryFilter::client},     {"fProject", &EntryFilter::project},
    {"fPhase", &EntryFilter::phase},       {"fTask", &EntryFilter::task},
    {"fCurrency", &EntryFilter::currency}, {"fBillTo", &EntryFilter::billTo},
};
constexpr const char* kNotStored[] = {"fCustom1", "fCustom2", "fCustom3"};

}  // namespace

void EntryFilter::showUnpaidOnly() {
    showAll();
    paid = false;
    nonBillable = false;
}

quint32 EntryFilter::flags() const {
    return flagsOf(billable, paid, nonBillable, billed);
}

quint32 EntryFilter::flagsOf(bool billable, bool paid, bool nonBillable, bool billed) {
    quint32 flags = 0;
    if (billable)
        flags |= BillableFlag;
    if (paid)
        flags |= PaidFlag;
    if (nonBillable)
        flags |= NonBillableFlag;
    if (billed)
        flags |= BilledFlag;
    return flags;
}

bool EntryFilter::statusPasses(quint32 flags, EntryStatus status) {
    // A status the flags do not name (a damaged record) is shown.
    static constexpr quint32 kFlagOfStatus[] = {NonBillableFlag, BillableFlag, BilledFlag,
                                                PaidFlag};
    const auto index = std::size_t(status);
    return index >= std::size(kFlagOfStatus) || (flags & kFlagOfStatus[index]);
}

void EntryFilter::setFlags(quint32 flags) {
    billable = flags & BillableFlag;
    paid = flags & PaidFlag;
    nonBillable = flags & NonBillableFlag;
    billed = flags & BilledFlag;
}

QString EntryFilter::description() const {
    QStringList parts;
    for (const QString* text : {&client, &project, &phase, &task, &billTo, &currency})
        if (!text->isEmpty())
            parts << *text;
    if (rateType >= 0)
        parts << rateTypeName(RateType(rateType));
    if (hasDateRange())
        parts << platform::Locale::shortDate(startDate) + QStringLiteral(" - ") +
                     platform::Locale::shortDate(endDate);
    return describe(parts, flags());
}

QString EntryFilter::describe(const QStringList& criteria, quint32 flags) {
    QStringList statuses;
    for (const EntryStatus status :
         {EntryStatus::NonBillable, EntryStatus::Billable, EntryStatus::Billed, EntryStatus::Paid})
        if (statusPasses(flags, status))
            statuses << resourceString(str::StatusNames + int(status));
    QString text = criteria.join(QStringLiteral(", "));
    if (statuses.size() < 4) {
        const QString only = statuses.isEmpty()
                                 ? QStringLiteral("no status")
                                 : statuses.join(QStringLiteral(", ")) + QStringLiteral(" only");
        text = text.isEmpty() ? only : text + QStringLiteral("; ") + only;
    }
    return text;
}

bool EntryFilter::matches(const TimeEntry& entry) const {
    if (hasDateRange()) {
        // The start counts with its own time of day; the end is the whole day.
        if (const auto from = platform::toFileTime(startDate); from && entry.date < *from)
            return false;
        if (const auto to = platform::toFileTime(periodmath::endOfDay(endDate));
            to && entry.date > *to)
            return false;
    }
    if (!textMatches(client, entry.client) || !textMatches(project, entry.project) ||
        !textMatches(phase, entry.phase) || !textMatches(task, entry.task) ||
        !textMatches(billTo, entry.billTo) || !textMatches(currency, entry.currency) ||
        !textMatches(custom1, entry.custom1) || !textMatches(custom2, entry.custom2) ||
        !textMatches(custom3, entry.custom3))
        return false;
    if (!statusPasses(flags(), entry.status))
        return false;
    if (rateType != -1 && qint32(entry.rateType) != rateType)
        return false;
    return search.matches({&entry.client, &entry.project, &entry.phase, &entry.task, &entry.billTo,
                           &entry.custom1, &entry.custom2, &entry.custom3},
                          entry.note);
}

void EntryFilter::store(platform::Registry& registry) const {
    FilterValues values;
    for (const TextValue& value : kTexts)
        values.texts.append({value.name, this->*value.field});
    values.cleared = {std::begin(kNotStored), std::end(kNotStored)};
    values.numbers = {{"fFlags", flags()}, {"fRateType", quint32(rateType)}};
    storeFilterValues(registry, values);
}

void EntryFilter::load(const platform::Registry& registry) {
    if (!registry.isOpen() || !registry.keyExists(kKey))
        return;
    for (const TextValue& value : kTexts) {
        const QString name = QString::fromLatin1(value.name);
        if (!registry.readRaw(kKey, name))
            continue;
        // There, but not a text we can take: the criterion is dropped.
        this->*value.field = registry.readString(kKey, name, kMaxTextBytes).value_or(QString());
    }
    if (const auto stored = registry.readNumber(kKey, QStringLiteral("fFlags")))
        setFlags(*stored);
    if (const auto stored = registry.readNumber(kKey, QStringLiteral("fRateType"))) {
        const qint32 type = qint32(*stored);
        // Only the known rate types and "any"; anything else would hide every entry.
        rateType = type >= -1 && type <= qint32(RateType::Discount) ? type : -1;
    }
}

QString EntryFilter::sortKey(const TimeEntry& entry, int arrangeBy) {
    static constexpr QString TimeEntry::*kKeys[] = {
        nullptr,
        &TimeEntry::client,
        &TimeEntry::project,
        &TimeEntry::phase,
        &TimeEntry::task,
        &TimeEntry::billTo,
        &TimeEntry::custom1,
        &TimeEntry::custom2,
        &TimeEntry::custom3,
    };
    if (arrangeBy < 1 || arrangeBy > MaxArrangeBy)
        return {};
    return entry.*kKeys[arrangeBy];
}

int EntryFilter::compare(const TimeEntry& a, const TimeEntry& b, int arrangeBy) {
    if (arrangeBy >= 1 && arrangeBy <= MaxArrangeBy)
        if (const int c = platform::Locale::compare(sortKey(a, arrangeBy), sortKey(b, arrangeBy)))
            return c;
    if (a.date != b.date)
        return a.date < b.date ? -1 : 1;
    return platform::Locale::compare(a.task, b.task);
}

int EntryFilter::compare(RecordStore& db, quint32 recordA, quint32 recordB, int arrangeBy) {
    // A record that cannot be read sorts as an empty entry.
    TimeEntries entries(db);
    auto read = [&entries](quint32 id) { return entries.find(id).value_or(TimeEntry()); };
    const TimeEntry a = read(recordA);
    const TimeEntry b = read(recordB);
    return compare(a, b, arrangeBy);
}

}  // namespace tempolatch
