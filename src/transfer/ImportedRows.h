#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "store/TimeEntry.h"

namespace tempolatch {

// A time entry read from another tracker's export, with the line of the
// file it starts on and its note as text.
struct ImportedRow {
    int line = 0;
    TimeEntry entry;
    QString note;
};

// A row (or the whole file, line 0 or the line where reading stopped) that
// cannot be read, with the reason.
struct ImportProblem {
    int line = 0;
    QString reason;
};

struct ImportRead {
    QList<ImportedRow> rows;
    QList<ImportProblem> problems;
    // What the user should know of rows that were read: those left out on
    // purpose, or read only in part.
    QList<ImportProblem> notices;

    void problem(int line, const QString& reason) { problems.append({line, reason}); }
    void notice(int line, const QString& what) { notices.append({line, what}); }
};

// Files larger than this are refused before they are read.
inline constexpr qint64 MaxImportFileBytes = 64 * 1024 * 1024;

// The text of an export: UTF-8 (with or without its mark) or UTF-16 with
// its byte order mark. nullopt, with a problem naming the first line that
// is not such text, for any other encoding.
std::optional<QString> importText(const QByteArray& bytes, ImportRead& read);

// A local date and time as an entry's date with its start time (minutes;
// seconds = 1 marks that a start time is set). nullopt when it names no
// real instant.
std::optional<platform::FileTime> entryStart(const QDateTime& local);

// "150", "150.5", "150.00" as hundredths; nullopt for anything else, a
// negative amount or one beyond what an entry's rate holds.
std::optional<qint64> hundredthsOfAmount(const QString& text);

// Sets the entry's rate so that it is worth `cents`: an hourly rate when
// one gives exactly that amount for its duration, else a fixed amount.
void setRateForAmount(TimeEntry& entry, qint64 cents);

// Seconds as hundredths of an hour, to the nearest (40 minutes = 0.67 h);
// beyond what an int holds, the most it holds (refused later as too long).
qint32 hundredthsOfSeconds(qint64 seconds);

}  // namespace tempolatch
