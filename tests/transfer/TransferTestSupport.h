#pragma once

#include <QStringList>
#include <QTest>
#include <QTextStream>

#include "common/OleFileListing.h"
#include "common/TestEnvironment.h"
#include "platform/ObjectStore.h"
#include "platform/compound/CompoundFile.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

namespace tempolatch::test {

// The whole store as text: equal before and after means nothing changed.
inline QString storeSnapshot() {
    QString text;
    QTextStream out(&text);
    dumpStore(*TestEnvironment::current().store().objectStore(), out);
    out.flush();
    return text;
}

// Every record of the database in its order.
template <typename Record>
QList<Record> allRecords(Records<Record>&& records) {
    QList<Record> out;
    records.forEach([&](const Record& record) {
        out.append(record);
        return true;
    });
    return out;
}

inline QList<TimeEntry> allEntries() {
    return allRecords(TimeEntries(TestEnvironment::current().store()));
}

inline QList<ExpenseEntry> allExpenses() {
    return allRecords(Expenses(TestEnvironment::current().store()));
}

// Records as a file carries them: without record id and change flags.
template <typename Record>
QList<Record> withoutIds(QList<Record> records) {
    for (Record& r : records) {
        r.recordId = 0;
        r.changeFlags = 0;
    }
    return records;
}

inline QString rateLine(const Rate& r) {
    return QStringLiteral("rate %1 %2 %3 %4 %5")
        .arg(int(r.rateType))
        .arg(r.rate)
        .arg(r.description)
        .arg(r.flag)
        .arg(r.modified.ticks);
}

// The client structure by name, without ids: one line per record.
inline QStringList structureLines() {
    ClientStructureStore& s = TestEnvironment::current().store().clientStructure();
    QStringList lines;
    auto addRates = [&](quint32 clientId) {
        for (const Rate& r : listRates(s.rates, clientId))
            lines << rateLine(r);
    };
    for (const Client& c : listClients(s.clients)) {
        lines << QStringLiteral("client ") + c.name;
        for (const Project& p : projectRecords(s.projects, c.clientId))
            lines << QStringLiteral("pair %1/%2").arg(p.project, p.task);
        for (const QString& t : listTasks(s.tasks, c.clientId))
            lines << QStringLiteral("task ") + t;
        for (const QString& t : listContacts(s.contacts, c.clientId))
            lines << QStringLiteral("contact ") + t;
        addRates(c.clientId);
    }
    lines << QStringLiteral("defaults");
    addRates(0);
    return lines;
}

inline Rate sampleRate(quint32 clientId, const QString& description, RateType type, qint32 value,
                       platform::FileTime modified) {
    Rate r;
    r.clientId = clientId;
    r.description = description;
    r.rateType = type;
    r.rate = value;
    r.flag = value % 2 == 0;
    r.modified = modified;
    return r;
}

// Time entries (notes of every size, a paid and a fixed one, texts beyond
// Latin-1), general and mileage expenses, `clients` clients added against
// their name order, each with pairs, tasks, contacts and rates, and
// default rates.
inline void fillStore(int clients) {
    RecordStore& store = TestEnvironment::current().store();
    for (int i = 0; i < 5; ++i) {
        TimeEntry e;
        e.date = at(2026, 11, 2 + i, 9, 30, i % 2);
        e.client = QStringLiteral("Client %1").arg(i % 3, 2, 10, QLatin1Char('0'));
        e.project = i == 1 ? QString() : QStringLiteral("Projekt Ü");
        e.phase = QStringLiteral("Phase");
        e.task = QStringLiteral("Task ✓");
        e.currency = QStringLiteral("€");
        e.duration = 25 * (i + 1);
        e.breakTime = i * 17;
        e.rate = i == 3 ? 0 : 4250 + i;
        e.rateType = i == 2 ? RateType::Fixed : RateType::Normal;
        e.status = EntryStatus(i % 4);
        if (e.status == EntryStatus::Paid)
            e.paidDate = at(2026, 12, 1, 12);
        e.billTo = QStringLiteral("Bill");
        e.custom1 = QStringLiteral("c1 %1").arg(i);
        e.custom3 = QStringLiteral("c3");
        e.modified = at(2026, 11, 20, 8, i);
        // Notes are bytes: zeros, high bytes, and none at all.
        if (i != 0)
            for (int b = 0; b < 300 * i; ++b)
                e.note.append(char((b * 37 + i) & 0xFF));
        TimeEntries(store).add(e);
    }
    for (int i = 0; i < 3; ++i) {
        ExpenseEntry x;
        x.date = at(2026, 10, 5 + i, 14);
        x.type = i == 1 ? ExpenseType::Mileage : ExpenseType::General;
        x.status = EntryStatus(i + 1);
        x.description = QStringLiteral("Trip %1").arg(i);
        x.client = QStringLiteral("Client 01");
        x.project = QStringLiteral("Projekt Ü");
        x.currency = QStringLiteral("USD");
        x.amount = 1999 + i;
        if (x.isMileage()) {
            x.startOdometer = 12000;
            x.distance = 340;
        } else {
            x.category = QStringLiteral("Meals");
        }
        x.receipt = i == 0;
        x.paidDate = i == 2 ? at(2026, 11, 1) : platform::FileTime();
        x.billTo = QStringLiteral("Ann");
        x.custom2 = QStringLiteral("x");
        x.note = i == 2 ? QStringLiteral("line 1\r\nline 2") : QString();
        x.modified = at(2026, 11, 21, 9, i);
        Expenses(store).add(x);
    }
    ClientStructureStore& s = store.clientStructure();
    for (int i = clients - 1; i >= 0; --i) {
        Client c{0, QStringLiteral("Client %1").arg(i, 2, 10, QLatin1Char('0')), 0};
        addClient(s.clients, c);
        addProjectTask(s.projects, c.clientId, QStringLiteral("Projekt Ü"), QString());
        addProjectTask(s.projects, c.clientId, QStringLiteral("Projekt Ü"), QStringLiteral("Do"));
        addProjectTask(s.projects, c.clientId, QStringLiteral("Other %1").arg(i),
                       QStringLiteral("Check"));
        addTask(s.tasks, c.clientId, QStringLiteral("Task ✓"));
        addContact(s.contacts, c.clientId, QStringLiteral("Ann"));
        addContact(s.contacts, c.clientId, QStringLiteral("Bob %1").arg(i));
        Rate a = sampleRate(c.clientId, QStringLiteral("Std"), RateType::Normal, 5000 + i,
                            at(2026, 1, 1 + i));
        Rate b = sampleRate(c.clientId, QStringLiteral("Late"), RateType::Overtime, 7501,
                            at(2025, 6, 1));
        Rates(s.rates).add(a);
        Rates(s.rates).add(b);
    }
    Rate d1 = sampleRate(0, QStringLiteral("Default"), RateType::Normal, 4000, at(2024, 2, 29));
    Rate d2 = sampleRate(0, QStringLiteral("Weekend"), RateType::Weekend, 6000, at(2024, 3, 1));
    Rates(s.rates).add(d1);
    Rates(s.rates).add(d2);
}

// Every element of a compound file as "path storage" or "path stream <hex>"
// lines, in directory order; empty when anything cannot be read.
inline void dumpCompound(const platform::CompoundStorage& storage, const QString& prefix,
                         QStringList& out, bool& ok) {
    const auto children = storage.children();
    ok = ok && children.has_value();
    for (const platform::CompoundEntry& e : children.value_or(QList<platform::CompoundEntry>())) {
        if (e.isStorage) {
            out << prefix + e.name + QStringLiteral(" storage");
            dumpCompound(storage.openStorage(e.name), prefix + e.name + u'/', out, ok);
            continue;
        }
        platform::CompoundStream s = storage.openStream(e.name);
        QByteArray bytes;
        ok = ok && s && s.readBytes(s.remaining(), bytes);
        out << prefix + e.name + QStringLiteral(" stream ") + QString::fromLatin1(bytes.toHex());
    }
}

// olefile, a reader independent of ours, sees in the file what ours sees
// (`ours`, from compoundLines). Passes when olefile is not installed.
inline void compareWithOlefile(const QString& file, QStringList ours) {
    const OleFileListing theirs = oleFileListing(file);
    if (!theirs.available)
        return;
    QVERIFY2(theirs.ok, qPrintable(theirs.error));
    ours.sort();
    QCOMPARE(theirs.lines, ours);
}

inline QStringList compoundLines(const QString& path) {
    auto file = platform::CompoundFile::open(path);
    QStringList lines;
    bool ok = file != nullptr;
    if (ok)
        dumpCompound(file->root(), QString(), lines, ok);
    return ok ? lines : QStringList();
}

// A time entry in the layout of data version `v`, written as the versions
// before ours wrote it.
inline void writeEntryOfVersion(platform::CompoundStream& s, quint32 v, const TimeEntry& e) {
    if (v > 220) {
        s.writeUInt16(quint16(e.status));
    } else {
        s.writeUInt8(e.status == EntryStatus::Billable ? 1 : 0);
        s.writeUInt8(e.status == EntryStatus::Paid ? 1 : 0);
    }
    s.writeUInt64(e.date.ticks);
    for (const QString* t : {&e.client, &e.project, &e.phase, &e.task, &e.currency})
        s.writeString(*t);
    s.writeInt32(e.duration);
    if (v >= 300)
        s.writeInt32(e.breakTime);
    s.writeInt32(e.rate);
    if (v > 220) {
        s.writeUInt16(quint16(e.rateType));
        s.writeUInt64(e.paidDate.ticks);
    } else {
        s.writeUInt32(0xABCD0000u | quint32(e.rateType));  // only the low half counts
    }
    for (const QString* t : {&e.billTo, &e.custom1, &e.custom2, &e.custom3})
        s.writeString(*t);
    if (v >= 251)
        s.writeUInt64(e.modified.ticks);
    s.writeInt32(e.noteSize());
    s.writeBytes(e.note);
}

inline void writeRateOfVersion(platform::CompoundStream& s, quint32 v, const Rate& r) {
    s.writeUInt32(quint32(r.rateType));
    s.writeUInt32(quint32(r.rate));
    s.writeString(r.description);
    s.writeUInt8(r.flag ? 1 : 0);
    if (v >= 251)
        s.writeUInt64(r.modified.ticks);
}

}  // namespace tempolatch::test
