#include "store/StoreDump.h"

#include <QIODevice>

#include "platform/DatabaseHandle.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/ClientWalk.h"
#include "store/ExpenseEntry.h"
#include "store/Rate.h"
#include "store/TimeEntry.h"

namespace tempolatch {

using platform::FileTime;
using platform::Property;
using platform::PropertyList;

namespace {

// The dump's UTF-8 text, built in one buffer and handed on in large pieces:
// the dump prints some forty values for every record, and an allocation per
// value would cost more than reading the store.
class DumpText {
public:
    explicit DumpText(QTextStream& out) : m_out(out) {}
    ~DumpText() { flush(); }
    DumpText(const DumpText&) = delete;
    DumpText& operator=(const DumpText&) = delete;

    template <std::size_t N>
    DumpText& operator<<(const char (&text)[N]) {
        m_text.append(text, N - 1);
        return *this;
    }
    DumpText& text(const char* text) {
        m_text.append(text);
        return *this;
    }
    DumpText& operator<<(char c) {
        m_text.append(c);
        return *this;
    }
    DumpText& operator<<(const QString& text) {
        platform::appendUtf8(text, m_text);
        return *this;
    }
    DumpText& number(quint64 value) {
        platform::appendNumber(value, m_text);
        return *this;
    }
    // "0x" and eight upper-case digits.
    DumpText& hex8(quint32 value) {
        static const char digits[] = "0123456789ABCDEF";
        char text[10] = {'0', 'x'};
        for (int i = 9; i >= 2; --i, value >>= 4)
            text[i] = digits[value & 0xF];
        m_text.append(text, sizeof text);
        return *this;
    }
    DumpText& quoted(const QString& text) {
        platform::appendQuotedText(text, m_text);
        return *this;
    }
    DumpText& value(const Property& p) {
        platform::appendValueText(p, m_text);
        return *this;
    }
    DumpText& date(FileTime t) {
        if (t.isNull())
            return *this << "none";
        const auto st = platform::toSystemTime(t);
        if (!st)
            return *this << "out of range";
        char text[32];
        m_text.append(text, st->writeTimestamp(text));
        return *this;
    }
    // A number and, when it has one, its name: "1 (Billable)".
    DumpText& numbered(int value, const QString& name) {
        number(quint64(value));
        return name.isEmpty() ? *this : *this << " (" << name << ')';
    }
    // "      <name>: " before a decoded field's value.
    DumpText& field(const char* name) { return (*this << "      ").text(name) << ": "; }
    void endLine() {
        m_text.append('\n');
        if (m_text.size() >= kChunk)
            flush();
    }

private:
    static constexpr qsizetype kChunk = 1 << 16;

    void flush() {
        if (m_text.isEmpty())
            return;
        if (QIODevice* device = m_out.device()) {
            m_out.flush();
            device->write(m_text.view().data(), m_text.size());
        } else {
            m_out << QString::fromUtf8(m_text.view());
        }
        m_text.clear();
    }

    QTextStream& m_out;
    platform::Utf8Text m_text;
};

// Hundredths as "1.50" (the store's amounts and durations).
void hundredthsField(DumpText& out, const char* name, qint64 hundredths) {
    const quint64 magnitude =
        hundredths < 0 ? quint64(0) - quint64(hundredths) : quint64(hundredths);
    out.field(name);
    if (hundredths < 0)
        out << '-';
    const int cents = int(magnitude % 100);
    out.number(magnitude / 100) << '.' << char('0' + cents / 10) << char('0' + cents % 10);
    out.endLine();
}

void textField(DumpText& out, const char* name, const QString& text) {
    out.field(name).quoted(text);
    out.endLine();
}

void dateField(DumpText& out, const char* name, FileTime t) {
    out.field(name).date(t);
    out.endLine();
}

void numberField(DumpText& out, const char* name, quint64 value) {
    out.field(name).number(value);
    out.endLine();
}

void numberedField(DumpText& out, const char* name, int value, const QString& valueName) {
    out.field(name).numbered(value, valueName);
    out.endLine();
}

void entryFields(DumpText& out, const TimeEntry& e) {
    numberedField(out, "status", int(e.status), statusName(e.status));
    numberedField(out, "rate type", int(e.rateType), rateTypeName(e.rateType));
    textField(out, "client", e.client);
    textField(out, "project", e.project);
    textField(out, "phase", e.phase);
    textField(out, "task", e.task);
    textField(out, "currency", e.currency);
    textField(out, "bill to", e.billTo);
    textField(out, "custom 1", e.custom1);
    textField(out, "custom 2", e.custom2);
    textField(out, "custom 3", e.custom3);
    out.field("date").date(e.date);
    if (e.hasStartTime())
        out << " (start time)";
    out.endLine();
    dateField(out, "paid date", e.paidDate);
    out.field("note").number(quint64(e.noteSize())) << " bytes";
    out.endLine();
    hundredthsField(out, "duration", e.duration);
    hundredthsField(out, "break", e.breakTime);
    hundredthsField(out, "rate", e.rate);
    dateField(out, "end time", e.endTime());
    dateField(out, "modified", e.modified);
    numberField(out, "change flags", e.changeFlags);
}

void expenseFields(DumpText& out, const ExpenseEntry& e) {
    numberedField(out, "type", int(e.type), expenseTypeName(e.type));
    dateField(out, "date", e.date);
    textField(out, "description", e.description);
    textField(out, "client", e.client);
    textField(out, "project", e.project);
    textField(out, "category", e.category);
    numberField(out, "start odometer", e.startOdometer);
    numberField(out, "distance", e.distance);
    numberedField(out, "status", int(e.status), statusName(e.status));
    textField(out, "currency", e.currency);
    hundredthsField(out, "amount", e.amount);
    out.field("receipt").text(e.receipt ? "yes" : "no");
    out.endLine();
    dateField(out, "paid date", e.paidDate);
    textField(out, "bill to", e.billTo);
    textField(out, "custom 1", e.custom1);
    textField(out, "custom 2", e.custom2);
    textField(out, "note", e.note);
    dateField(out, "modified", e.modified);
    numberField(out, "change flags", e.changeFlags);
}

void rateFields(DumpText& out, const Rate& r) {
    numberField(out, "client id", r.clientId);
    textField(out, "description", r.description);
    numberedField(out, "rate type", int(r.rateType), rateTypeName(r.rateType));
    hundredthsField(out, "rate", r.rate);
    numberField(out, "rate flag", r.flag ? 1 : 0);
    dateField(out, "modified", r.modified);
    numberField(out, "change flags", r.changeFlags);
}

// Clients, projects, tasks and contacts: a client id and one or two names.
void structureFields(DumpText& out, quint32 type, const PropertyList& props) {
    numberField(out, "client id", clientIdProperty(props));
    if (type == db::ClientsType) {
        textField(out, "name", nameProperty(props, prop::ClientName));
    } else {
        textField(out, type == db::ProjectsType ? "project" : "name",
                  nameProperty(props, prop::StructureName));
    }
    if (type == db::ProjectsType)
        textField(out, "task", nameProperty(props, prop::TaskName));
}

template <typename Record>
Record decoded(const PropertyList& props) {
    Record record;
    record.setFromProperties(props);
    return record;
}

// The record kind a database holds; none for the lists.
const char* recordKind(quint32 type) {
    switch (type) {
        case db::EntriesType:
            return "TimeEntry";
        case db::ExpensesType:
            return "ExpenseEntry";
        case db::RatesType:
            return "Rate";
        case db::ClientsType:
            return "Client";
        case db::ProjectsType:
            return "Project";
        case db::TasksType:
            return "Task";
        case db::ContactsType:
            return "Contact";
        default:
            return nullptr;
    }
}

void decodedFields(DumpText& out, quint32 type, const PropertyList& props) {
    switch (type) {
        case db::EntriesType:
            return entryFields(out, decoded<TimeEntry>(props));
        case db::ExpensesType:
            return expenseFields(out, decoded<ExpenseEntry>(props));
        case db::RatesType:
            return rateFields(out, decoded<Rate>(props));
        default:
            return structureFields(out, type, props);
    }
}

void dumpRecord(quint32 type, const PropertyList& props, DumpText& out) {
    for (const Property& p : props) {
        out << "    ";
        out.hex8(p.id) << ' ' << platform::propTypeName(p.type()) << ' ';
        out.value(p).endLine();
    }
    const char* kind = recordKind(type);
    if (!kind)
        return;
    (out << "    = ").text(kind);
    out.endLine();
    decodedFields(out, type, props);
}

}  // namespace

void dumpStore(platform::ObjectStore& store, QTextStream& stream) {
    // Headers and records of one moment, even beside a running restore.
    const platform::ReadSnapshot snapshot(store);
    DumpText out(stream);
    for (const platform::DatabaseInfo& info : store.databases()) {
        out << "database \"" << info.name << "\" type ";
        out.hex8(info.type) << " sort ";
        for (qsizetype i = 0; i < info.sortOrders.size(); ++i)
            (i ? out << ',' : out).hex8(info.sortOrders.at(i));
        out << " records ";
        out.number(quint64(info.recordCount)).endLine();
        auto handle = store.openDatabase(info.id, info.sortOrders.first());
        if (!handle)
            continue;
        PropertyList props;
        for (quint32 id = handle->seekBeginning(); id != 0; id = handle->seekCurrent(1)) {
            out << "  record ";
            out.hex8(id).endLine();
            if (handle->readCurrent(props) != platform::DatabaseHandle::Read) {
                out << "    (unreadable)";
                out.endLine();
            } else {
                dumpRecord(info.type, props, out);
            }
        }
    }
}

bool dumpProfileStore(QTextStream& out, QString* error) {
    auto store = platform::ObjectStore::open(platform::Profile::storeAddress(),
                                             platform::ObjectStore::Access::ReadOnly,
                                             platform::Locale::collationName(), error);
    if (!store)
        return false;
    dumpStore(*store, out);
    return true;
}

}  // namespace tempolatch
