#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>

#include <cstdio>

#include "app/cli/CliCommand.h"
#include "platform/Locale.h"
#include "reports/ChartData.h"
#include "reports/ChartImage.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"

namespace tempolatch {

namespace {

QString dayText(QDate day) {
    const platform::SystemTime st{
        quint16(day.year()), quint16(day.month()), 0, quint16(day.day()), 0, 0, 0, 0};
    return platform::Locale::shortDate(st);
}

// The days of the chart: --from and --to where given, else those of the
// first and last chosen entry.
std::pair<QDate, QDate> chartDays(const CliArguments& args, const EntryWalk& entries) {
    auto [first, last] = entryDays(entries);
    const QDate from = QDate::fromString(args.parser.value(QStringLiteral("from")), Qt::ISODate);
    const QDate to = QDate::fromString(args.parser.value(QStringLiteral("to")), Qt::ISODate);
    if (from.isValid())
        first = from;
    if (to.isValid())
        last = to;
    if (first.isValid() && !last.isValid())
        last = first;
    if (last.isValid() && !first.isValid())
        first = last;
    return {first, last};
}

int chartCommand(ChartTable::Kind kind, Context& context, const CliArguments& args) {
    const QString path = args.positional.at(0);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
        std::fprintf(stderr, "tempolatch: FILE must end in .png or .svg\n");
        return 2;
    }
    const EntryWalk entries = chosenEntries(context.store, args.criteria);
    const auto [first, last] = chartDays(args, entries);
    if (first.isValid() && first.daysTo(last) >= ChartMostDays) {
        std::fprintf(stderr,
                     "tempolatch: the chart would span %lld days, and shows at most %d: choose "
                     "them with --from and --to\n",
                     first.daysTo(last) + 1, ChartMostDays);
        return 2;
    }
    const ChartTable table =
        kind == ChartTable::HoursPerDay
            ? hoursPerDay(entries, first, last)
            : amountPerClient(entries, context.settings.hasFlag(PreciseCalculation));
    const QString span =
        first.isValid() ? dayText(first) + QStringLiteral(" - ") + dayText(last) : QString();
    const QString title = (kind == ChartTable::HoursPerDay ? QStringLiteral("Hours per day")
                                                           : QStringLiteral("Amount per client")) +
                          (span.isEmpty() ? QString() : QStringLiteral(", ") + span);
    QString error;
    if (!writeChartFile(table, title, path, error))
        return cannotWrite(path, error, QStringLiteral("the chart could not be written"));
    // An empty chart is still written, but a misspelt --client is told.
    if (table.isEmpty())
        std::fprintf(stderr, "tempolatch: 0 entries chosen; the chart shows none\n");
    return 0;
}

CliCommand chart(const QString& word, ChartTable::Kind kind, const QString& description) {
    CliCommand command = cliCommand(QStringLiteral("chart ") + word, description,
                                    [kind](Context& context, const CliArguments& args) {
                                        return chartCommand(kind, context, args);
                                    });
    command.arguments = {QStringLiteral("FILE")};
    command.writesFile = true;
    command.takesCriteria = true;
    command.drawsCharts = true;
    command.details = QStringLiteral(
        "FILE ending in .svg is written as SVG, one ending in .png as a PNG image of 1000 x "
        "600 pixels.");
    return command;
}

}  // namespace

CliCommands chartCommands() {
    CliCommand hours = chart(QStringLiteral("hours-per-day"), ChartTable::HoursPerDay,
                             QStringLiteral("chart the hours of the chosen entries per day, "
                                            "stacked by client, into FILE (PNG or SVG)"));
    hours.details += QStringLiteral(
        "\nThe days run from --from to --to, or from the first chosen entry to the last; a "
        "chart spans at most 366 days. Up to 8 clients have bars of their own; of more, the 7 "
        "with the most hours do and the others share one.");
    CliCommand amounts =
        chart(QStringLiteral("amount-per-client"), ChartTable::AmountPerClient,
              QStringLiteral("chart the amounts of the chosen billable, billed and paid entries "
                             "per client and currency into FILE (PNG or SVG)"));
    return {hours, amounts};
}

}  // namespace tempolatch
