#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <optional>

namespace tempolatch {

// The client structure as the quick entry line sees it: names only.
struct KnownNames {
    std::function<QStringList()> clients;
    std::function<QStringList(const QString& client)> projects;
    // The tasks of a client's project; with an empty project the client's own.
    std::function<QStringList(const QString& client, const QString& project)> tasks;
};

// One line of work as typed: "1.5h Acme/Website/Design fixing the header"
// or "9:00-10:30 acme web". First the time: hours ("1.5h", "1.5", "0.67h"),
// minutes ("90m"), hours and minutes ("1:30", "1h30"), or a range of two
// times of day ("9:00-10:30", "930-1030", "9am-1pm"); a range that ends
// before it starts ends the next day. Then the client, project and task:
// separated by "/" (each its name in any case, or the start of exactly one
// name; names may hold spaces), or by spaces, where each name is the longest
// run of words that names one. What follows the last name is the note.
struct QuickEntry {
    qint32 duration = 0;         // hundredths of an hour
    std::optional<QTime> start;  // set by a range
    QString client;
    QString project;
    QString task;
    QString note;
};

// What a line reads as; `problem` says what could not be read (and then
// there is no entry).
struct QuickEntryReading {
    std::optional<QuickEntry> entry;
    QString problem;
};

namespace quickentry {

QuickEntryReading read(const QString& line, const KnownNames& names);

// Whole lines that complete the name being typed at the end of `line`, in
// the order of the names; empty when the line is past its names.
QStringList completions(const QString& line, const KnownNames& names);

}  // namespace quickentry
}  // namespace tempolatch
