#include "transfer/TimeImport.h"

#include <QFile>
#include <QSet>
#include <set>
#include <tuple>

#include "platform/Clock.h"
#include "platform/FileProblem.h"
#include "platform/NativePath.h"
#include "records/RecordSaving.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "transfer/HarvestCsvReader.h"
#include "transfer/ICalendarReader.h"
#include "transfer/KimaiReader.h"
#include "transfer/TimewarriorReader.h"
#include "transfer/TogglCsvReader.h"

namespace tempolatch {

namespace {

using EntryKey = std::tuple<QString, QString, QString, quint64, qint32>;

EntryKey keyOf(const TimeEntry& entry) {
    return {entry.client, entry.project, entry.task, entry.date.ticks, entry.duration};
}

std::optional<QByteArray> readImportFile(const QString& path, ImportRead& read) {
    // By the name as the system spells it, which need not be UTF-8.
    QFile file;
    if (const QString problem = platform::readProblem(path);
        !problem.isEmpty() || !platform::openNative(file, path, QIODevice::ReadOnly, nullptr)) {
        read.problem(0, QStringLiteral("The file cannot be read: %1.")
                            .arg(problem.isEmpty() ? file.errorString() : problem));
        return std::nullopt;
    }
    // A pipe tells no size: what it gives is counted instead.
    const QByteArray bytes =
        file.size() > MaxImportFileBytes ? QByteArray() : file.read(MaxImportFileBytes + 1);
    if (file.size() > MaxImportFileBytes || bytes.size() > MaxImportFileBytes) {
        read.problem(0, QStringLiteral("The file is over %1 MB; such files are not read.")
                            .arg(MaxImportFileBytes / (1024 * 1024)));
        return std::nullopt;
    }
    return bytes;
}

// The keys of the stored entries dated within the rows' dates.
std::set<EntryKey> storedKeys(RecordStore& store, const QList<ImportedRow>& rows) {
    std::set<EntryKey> keys;
    if (rows.isEmpty())
        return keys;
    auto [first, last] = std::minmax_element(
        rows.begin(), rows.end(),
        [](const ImportedRow& a, const ImportedRow& b) { return a.entry.date < b.entry.date; });
    TimeEntries(store).forEachInRange(first->entry.date, last->entry.date,
                                      [&keys](const TimeEntry& entry) {
                                          keys.insert(keyOf(entry));
                                          return true;
                                      });
    return keys;
}

// The clients and projects the rows name that the store lacks.
void findNewStructure(RecordStore& store, ImportPlan& plan) {
    ClientStructure structure(store);
    QSet<QString> seenClients;
    QSet<QString> seenProjects;
    for (const ImportedRow& row : plan.toAdd) {
        const TimeEntry& entry = row.entry;
        if (entry.client.isEmpty())
            continue;
        const auto client = structure.findClientNamed(entry.client);
        if (!client && !seenClients.contains(entry.client)) {
            seenClients.insert(entry.client);
            plan.newClients.append(entry.client);
        }
        if (entry.project.isEmpty())
            continue;
        const QString name = entry.client + QStringLiteral(" / ") + entry.project;
        if (seenProjects.contains(name))
            continue;
        seenProjects.insert(name);
        const auto projects = client ? structure.projectsOf(client->clientId) : std::nullopt;
        const bool known = projects && std::any_of(projects->begin(), projects->end(),
                                                   [&entry](const Project& project) {
                                                       return project.project == entry.project;
                                                   });
        if (!known)
            plan.newProjects.append(name);
    }
}

QString rowText(const ImportedRow& row) {
    const TimeEntry& entry = row.entry;
    const auto st = platform::toSystemTime(entry.date);
    QStringList names{entry.client, entry.project, entry.task};
    names.removeAll(QString());
    return QStringLiteral("  line %1: %2  %3 h  %4  %5")
        .arg(row.line)
        .arg(st ? st->timestampText().left(16) : QString())
        .arg(QString::number(entry.duration / 100.0, 'f', 2))
        .arg(names.join(QStringLiteral(" / ")), statusName(entry.status));
}

}  // namespace

ImportRead readExport(ImportFormat format, const QByteArray& bytes, EntryStatus status) {
    switch (format) {
        case ImportFormat::Toggl:
            return readTogglCsv(bytes, status);
        case ImportFormat::Harvest:
            return readHarvestCsv(bytes, status);
        case ImportFormat::Kimai:
            return readKimaiExport(bytes, status);
        case ImportFormat::ICalendar:
            return readICalendar(bytes, status);
        case ImportFormat::Timewarrior:
            break;
    }
    return readTimewarriorJson(bytes, status);
}

ImportPlan planImport(RecordStore& store, ImportFormat format, const QString& path,
                      EntryStatus defaultStatus) {
    ImportRead read;
    if (const auto bytes = readImportFile(path, read)) {
        read = readExport(format, *bytes, defaultStatus);
    }
    return planImportOf(store, read);
}

ImportPlan planImportOf(RecordStore& store, ImportRead read) {
    ImportPlan plan;
    plan.problems = read.problems;
    plan.notices = read.notices;
    for (const ImportedRow& row : std::as_const(read.rows)) {
        if (row.entry.problem() == TimeEntry::Problem::DurationOutOfRange)
            plan.problems.append({row.line, QStringLiteral("The duration is over 655.35 hours, "
                                                           "more than an entry holds.")});
    }
    if (!plan.problems.isEmpty())
        return plan;
    const std::set<EntryKey> stored = storedKeys(store, read.rows);
    for (const ImportedRow& row : std::as_const(read.rows)) {
        if (stored.count(keyOf(row.entry)) > 0)
            ++plan.alreadyStored;
        else
            plan.toAdd.append(row);
    }
    findNewStructure(store, plan);
    return plan;
}

StoreOutcome runImport(RecordStore& store, const ImportPlan& plan,
                       const std::function<QByteArray(const QString&)>& noteBytes) {
    if (!plan.canImport())
        return {};
    return writeInOneTransaction(store, [&] {
        TimeEntries entries(store);
        const platform::FileTime now = platform::Clock::nowFileTime();
        for (const ImportedRow& row : plan.toAdd) {
            TimeEntry entry = row.entry;
            entry.modified = now;
            if (!row.note.isEmpty())
                entry.note = noteBytes(row.note);
            WriteResult result = entries.add(entry);
            if (succeeded(result))
                result = addEntryStructure(store, entry);
            if (!succeeded(result))
                return result;
        }
        return plan.toAdd.isEmpty() ? WriteResult::Unchanged : WriteResult::Written;
    });
}

QString importLineText(const ImportProblem& problem) {
    return problem.line > 0 ? QStringLiteral("Line %1: %2").arg(problem.line).arg(problem.reason)
                            : problem.reason;
}

QString importPreview(const ImportPlan& plan, int firstRows) {
    QStringList lines;
    const auto counted = [](qsizetype n, const char* one, const char* many) {
        return QString::number(n) + u' ' + QLatin1String(n == 1 ? one : many);
    };
    lines << QStringLiteral("%1 to add, %2 already in the store, %3 that cannot be read.")
                 .arg(counted(plan.toAdd.size(), "entry", "entries"),
                      QString::number(plan.alreadyStored),
                      counted(plan.problems.size(), "row", "rows"));
    if (!plan.newClients.isEmpty())
        lines << QStringLiteral("New clients: %1").arg(plan.newClients.join(QStringLiteral(", ")));
    if (!plan.newProjects.isEmpty())
        lines
            << QStringLiteral("New projects: %1").arg(plan.newProjects.join(QStringLiteral(", ")));
    if (!plan.toAdd.isEmpty()) {
        lines << QStringLiteral("First entries:");
        for (qsizetype i = 0; i < plan.toAdd.size() && i < firstRows; ++i)
            lines << rowText(plan.toAdd.at(i));
    }
    for (const auto* list : {&plan.notices, &plan.problems}) {
        for (const ImportProblem& problem : *list)
            lines << importLineText(problem);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace tempolatch
