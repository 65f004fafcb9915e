#include "store/StoreDump.h"

#include "platform/DatabaseHandle.h"
#include "platform/ObjectStore.h"
#include "store/ClientWalk.h"
#include "store/ExpenseEntry.h"
#include "store/Rate.h"
#include "store/TimeEntry.h"

namespace tempolatch {

using platform::FileTime;
using platform::Property;
using platform::PropertyList;

namespace {

using Fields = QList<std::pair<const char*, QString>>;

// "0x" and eight upper-case digits; written by hand, since the dump prints
// several for every record.
struct Hex8 {
    char text[10];
    explicit Hex8(quint32 value) {
        static const char digits[] = "0123456789ABCDEF";
        text[0] = '0';
        text[1] = 'x';
        for (int i = 9; i >= 2; --i, value >>= 4)
            text[i] = digits[value & 0xF];
    }
    QLatin1StringView view() const { return QLatin1StringView(text, sizeof text); }
};

QString hex8(quint32 value) {
    return Hex8(value).view();
}

QString quoted(const QString& text) {
    // Most texts need no escapes: quote them without the general path.
    for (QChar c : text)
        if (c == u'\\' || c == u'"' || c == u'\n' || c == u'\r')
            return platform::describeValue(Property::string(platform::PropText, text));
    QString out;
    out.reserve(text.size() + 2);
    out.append(u'"').append(text).append(u'"');
    return out;
}

QString dateText(FileTime t) {
    if (t.isNull())
        return QStringLiteral("none");
    const auto st = platform::toSystemTime(t);
    return st ? st->timestampText() : QStringLiteral("out of range");
}

QString numbered(int value, const QString& name) {
    return name.isEmpty() ? QString::number(value) : QStringLiteral("%1 (%2)").arg(value).arg(name);
}

Fields entryFields(const TimeEntry& e) {
    return {{"status", numbered(int(e.status), statusName(e.status))},
            {"rate type", numbered(int(e.rateType), rateTypeName(e.rateType))},
            {"client", quoted(e.client)},
            {"project", quoted(e.project)},
            {"phase", quoted(e.phase)},
            {"task", quoted(e.task)},
            {"currency", quoted(e.currency)},
            {"bill to", quoted(e.billTo)},
            {"custom 1", quoted(e.custom1)},
            {"custom 2", quoted(e.custom2)},
            {"custom 3", quoted(e.custom3)},
            {"date",
             dateText(e.date) + (e.hasStartTime() ? QStringLiteral(" (start time)") : QString())},
            {"paid date", dateText(e.paidDate)},
            {"note", QStringLiteral("%1 bytes").arg(e.noteSize())},
            {"duration", hundredthsText(e.duration)},
            {"break", hundredthsText(e.breakTime)},
            {"rate", hundredthsText(e.rate)},
            {"end time", dateText(e.endTime())},
            {"modified", dateText(e.modified)},
            {"change flags", QString::number(e.changeFlags)}};
}

Fields expenseFields(const ExpenseEntry& e) {
    return {{"type", numbered(int(e.type), expenseTypeName(e.type))},
            {"date", dateText(e.date)},
            {"description", quoted(e.description)},
            {"client", quoted(e.client)},
            {"project", quoted(e.project)},
            {"category", quoted(e.category)},
            {"start odometer", QString::number(e.startOdometer)},
            {"distance", QString::number(e.distance)},
            {"status", numbered(int(e.status), statusName(e.status))},
            {"currency", quoted(e.currency)},
            {"amount", hundredthsText(e.amount)},
            {"receipt", e.receipt ? QStringLiteral("yes") : QStringLiteral("no")},
            {"paid date", dateText(e.paidDate)},
            {"bill to", quoted(e.billTo)},
            {"custom 1", quoted(e.custom1)},
            {"custom 2", quoted(e.custom2)},
            {"note", quoted(e.note)},
            {"modified", dateText(e.modified)},
            {"change flags", QString::number(e.changeFlags)}};
}

Fields rateFields(const Rate& r) {
    return {{"client id", QString::number(r.clientId)},
            {"description", quoted(r.description)},
            {"rate type", numbered(int(r.rateType), rateTypeName(r.rateType))},
            {"rate", hundredthsText(r.rate)},
            {"rate flag", r.flag ? QStringLiteral("1") : QStringLiteral("0")},
            {"modified", dateText(r.modified)},
            {"change flags", QString::number(r.changeFlags)}};
}

// Clients, projects, tasks and contacts: a client id and one or two names.
Fields structureFields(quint32 type, const PropertyList& props) {
    Fields fields{{"client id", QString::number(clientIdProperty(props))}};
    if (type == db::ClientsType) {
        fields.append({"name", quoted(nameProperty(props, prop::ClientName))});
    } else {
        fields.append({type == db::ProjectsType ? "project" : "name",
                       quoted(nameProperty(props, prop::StructureName))});
    }
    if (type == db::ProjectsType)
        fields.append({"task", quoted(nameProperty(props, prop::TaskName))});
    return fields;
}

template <typename Record>
Record decoded(const PropertyList& props) {
    Record record;
    record.setFromProperties(props);
    return record;
}

// The record kind a database holds, and its fields; none for the lists.
std::pair<const char*, Fields> decode(quint32 type, const PropertyList& props) {
    switch (type) {
        case db::EntriesType:
            return {"TimeEntry", entryFields(decoded<TimeEntry>(props))};
        case db::ExpensesType:
            return {"ExpenseEntry", expenseFields(decoded<ExpenseEntry>(props))};
        case db::RatesType:
            return {"Rate", rateFields(decoded<Rate>(props))};
        case db::ClientsType:
            return {"Client", structureFields(type, props)};
        case db::ProjectsType:
            return {"Project", structureFields(type, props)};
        case db::TasksType:
            return {"Task", structureFields(type, props)};
        case db::ContactsType:
            return {"Contact", structureFields(type, props)};
        default:
            return {nullptr, {}};
    }
}

void dumpRecord(quint32 type, const PropertyList& props, QTextStream& out) {
    for (const Property& p : props)
        out << "    " << Hex8(p.id).view() << ' ' << platform::propTypeName(p.type()) << ' '
            << platform::describeValue(p) << '\n';
    const auto [kind, fields] = decode(type, props);
    if (!kind)
        return;
    out << "    = " << kind << '\n';
    for (const auto& [name, value] : fields)
        out << "      " << name << ": " << value << '\n';
}

}  // namespace

void dumpStore(platform::ObjectStore& store, QTextStream& out) {
    // Headers and records of one moment, even beside a running restore.
    const platform::ReadSnapshot snapshot(store);
    for (const platform::DatabaseInfo& info : store.databases()) {
        QStringList sorts;
        for (quint32 s : info.sortOrders)
            sorts.append(hex8(s));
        out << "database \"" << info.name << "\" type " << hex8(info.type) << " sort "
            << sorts.join(QLatin1Char(',')) << " records " << info.recordCount << '\n';
        auto handle = store.openDatabase(info.id, info.sortOrders.first());
        if (!handle)
            continue;
        PropertyList props;
        for (quint32 id = handle->seekBeginning(); id != 0; id = handle->seekCurrent(1)) {
            out << "  record " << Hex8(id).view() << '\n';
            if (handle->readCurrent(props) != platform::DatabaseHandle::Read)
                out << "    (unreadable)\n";
            else
                dumpRecord(info.type, props, out);
        }
    }
}

}  // namespace tempolatch
