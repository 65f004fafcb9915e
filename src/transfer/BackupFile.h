#pragma once

#include <QString>

#include "platform/FileTime.h"

namespace tempolatch {

namespace platform {
class CompoundStream;
}
class TimeEntry;
class ExpenseEntry;
class Rate;

// The compound-file layout of backups, archives and client-structure files:
// "DataVersion" (data version, file kind), the storages "Records",
// "Expenses" and "Clients", one stream per record. Other programs and older
// versions of ours read and write these files, so names and byte layouts
// never change; a reader follows the data version of the file.
class BackupFile {
public:
    enum class Kind : quint32 { Backup = 1, Archive = 2, ClientStructure = 4 };

    // The version we write, and the ones where the layout changed.
    static constexpr quint32 CurrentVersion = 300;
    static constexpr quint32 OldestRestorable = 250;
    static constexpr quint32 LastWithFlagBytes = 220;  // billable and paid bytes, 4-byte rate type
    static constexpr quint32 FirstWithModified = 251;
    static constexpr quint32 FirstWithBreak = 300;
    static constexpr quint32 FirstWithExpenses = 300;

    static QString dataVersionName() { return QStringLiteral("DataVersion"); }
    static QString recordsName() { return QStringLiteral("Records"); }
    static QString expensesName() { return QStringLiteral("Expenses"); }
    static QString clientsName() { return QStringLiteral("Clients"); }
    static QString defaultClientName() { return QStringLiteral("DefaultClient"); }
    static QString nameStreamName() { return QStringLiteral("Name"); }
    static QString projectTasksName() { return QStringLiteral("ProjectTasks"); }
    static QString tasksName() { return QStringLiteral("Tasks"); }
    static QString contactsName() { return QStringLiteral("Contacts"); }
    static QString ratesName() { return QStringLiteral("Rates"); }
    static QString recordName(int number) { return QStringLiteral("Record%1").arg(number); }
    static QString clientName(int number) { return QStringLiteral("Client%1").arg(number); }

    // A time entry as the current version writes it; the record id and the
    // change flags are not stored.
    static bool writeEntry(platform::CompoundStream& stream, const TimeEntry& entry);
    // Reads an entry written with data version `version`. A zero modified
    // time becomes `now`; versions before 251 carry none and leave it zero.
    static bool readEntry(platform::CompoundStream& stream, quint32 version, platform::FileTime now,
                          TimeEntry& entry);

    static bool writeExpense(platform::CompoundStream& stream, const ExpenseEntry& expense);
    static bool readExpense(platform::CompoundStream& stream, platform::FileTime now,
                            ExpenseEntry& expense);

    // One rate item of a "Rates" or "DefaultClient" stream (after its count).
    // A modified time before 1900 becomes `now`; versions before 251 carry
    // none and leave it zero. The client id is not part of the item.
    static bool writeRate(platform::CompoundStream& stream, const Rate& rate);
    static bool readRate(platform::CompoundStream& stream, quint32 version, platform::FileTime now,
                         Rate& rate);
};

}  // namespace tempolatch
