#pragma once

#include <QCommandLineOption>
#include <QList>
#include <optional>

class QCommandLineParser;

namespace tempolatch {

class EntryFilter;
class ExpenseFilter;
namespace platform {
struct SystemTime;
}

// The criteria of the entry criteria sheet as options: --from and --to
// (YYYY-MM-DD, inclusive), exact texts (--client, --project, --phase,
// --task, --bill-to, --currency), --status, a comma list of
// nonbillable, billable, billed and paid, and --search WORDS.
QList<QCommandLineOption> criteriaOptions();

// Sets the filter's range from --from and --to; a side not given is open.
bool dateRangeFromOptions(const QCommandLineParser& parser, EntryFilter& filter, QString& error);
// The same into any range: left as it is when neither is given.
bool dateRangeFromOptions(const QCommandLineParser& parser, platform::SystemTime& start,
                          platform::SystemTime& end, QString& error);

// The filter the options give; without --from/--to the range is open on
// that side. False with `error` set when a value cannot be used.
bool criteriaFromOptions(const QCommandLineParser& parser, EntryFilter& filter, QString& error);

// The criteria options that choose expenses: --from and --to, exact
// --client, --project, --category, --bill-to and --currency, --status as
// for entries, --search WORDS and --receipt yes|no.
QList<QCommandLineOption> expenseCriteriaOptions();

// The expense criteria those options give, over a reset filter (any type:
// the command sets it). False with `error` set when a value cannot be used.
bool expenseCriteriaFromOptions(const QCommandLineParser& parser, ExpenseFilter& filter,
                                QString& error);

}  // namespace tempolatch
