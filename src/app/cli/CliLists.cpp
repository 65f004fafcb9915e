#include <QCommandLineParser>
#include <cstdio>

#include "app/cli/CliCommand.h"
#include "clients/DropListEdits.h"
#include "clients/FieldReplacement.h"
#include "platform/Clock.h"
#include "platform/FileProblem.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "transfer/ListFile.h"

namespace tempolatch {

namespace {

// The words that name the fields and lists on the command line.
const QStringList& fieldWords() {
    static const QStringList words{"client",  "project", "phase",   "task",    "currency",
                                   "bill-to", "custom1", "custom2", "custom3", "project-task"};
    return words;
}

const QStringList& listWords() {
    static const QStringList words{"phase",   "currency", "custom1",    "custom2",
                                   "custom3", "category", "description"};
    return words;
}

std::optional<ListKind> listKindNamed(const QString& word) {
    const qsizetype at = listWords().indexOf(word);
    if (at < 0)
        return std::nullopt;
    return dropListTypes().at(at).kind;
}

int badWord(const QString& what, const QString& word, const QStringList& choices) {
    std::fprintf(stderr, "tempolatch: unknown %s \"%s\" (one of %s)\n", qPrintable(what),
                 qPrintable(word), qPrintable(choices.join(QStringLiteral(", "))));
    return 2;
}

int replaceTextCommand(Context& context, const CliArguments& args) {
    const qsizetype field = fieldWords().indexOf(args.positional.at(0));
    if (field < 0)
        return badWord(QStringLiteral("field"), args.positional.at(0), fieldWords());
    const QString& find = args.positional.at(1);
    const QString& replacement = args.positional.at(2);
    if (find.isEmpty() || replacement.isEmpty()) {
        std::fprintf(stderr, "tempolatch: FIND and REPLACEMENT cannot be empty\n");
        return 2;
    }
    const ReplaceOutcome outcome = replaceFieldText(context.store, ReplaceField(field), find,
                                                    replacement, platform::Clock::nowFileTime());
    if (!outcome.ok) {
        context.ui.message(storeErrorText(outcome.error), platform::MessageIcon::Stop);
        return 1;
    }
    std::printf("%d time entries changed\n", outcome.entriesChanged);
    return 0;
}

int listExportCommand(Context& context, const CliArguments& args) {
    const auto kind = listKindNamed(args.positional.at(0));
    if (!kind)
        return badWord(QStringLiteral("list"), args.positional.at(0), listWords());
    const QStringList names = context.store.lists().texts(*kind);
    const auto encoding = args.parser.isSet(QStringLiteral("unicode")) ? ListFileEncoding::Utf16
                                                                       : ListFileEncoding::EightBit;
    const QString& path = args.positional.at(1);
    QString error;
    if (exportList(path, names, encoding, &error))
        return 0;
    std::fprintf(stderr, "tempolatch: cannot write %s: %s\n", qPrintable(path), qPrintable(error));
    return 1;
}

int listImportCommand(Context& context, const CliArguments& args) {
    const auto kind = listKindNamed(args.positional.at(0));
    if (!kind)
        return badWord(QStringLiteral("list"), args.positional.at(0), listWords());
    const QString& path = args.positional.at(1);
    const QString problem = platform::readProblem(path);
    if (!problem.isEmpty())
        return cannotRead(path, problem);
    ListFileProblem why = ListFileProblem::Unreadable;
    if (DropListEdits(context.store).importFile(*kind, path, &why))
        return 0;
    // The file could be opened: its text, or the store, is to blame.
    if (why == ListFileProblem::NotText) {
        context.ui.message(notTextMessage(path), platform::MessageIcon::Stop);
        return 1;
    }
    std::fprintf(stderr, "tempolatch: the store refused the names (error %d)\n",
                 context.store.lastError());
    return 1;
}

}  // namespace

CliCommands listCommands() {
    CliCommand replace =
        cliCommand(QStringLiteral("replace-text"),
                   QStringLiteral("give FIELD's value FIND the text REPLACEMENT everywhere"),
                   replaceTextCommand);
    replace.arguments = {QStringLiteral("FIELD"), QStringLiteral("FIND"),
                         QStringLiteral("REPLACEMENT")};
    replace.details =
        QStringLiteral(
            "FIELD is one of %1. As Replace Field Text: the client setup or drop list "
            "first, then every time entry whose field is exactly FIND; a REPLACEMENT "
            "that exists already is merged with FIND. All or nothing; asks nothing.\n"
            "A FIND or REPLACEMENT that begins with - goes after --: "
            "replace-text task -- -draft- final")
            .arg(fieldWords().join(QStringLiteral(", ")));

    CliCommand exporting =
        cliCommand(QStringLiteral("list export"),
                   QStringLiteral("write the values of a drop LIST to FILE"), listExportCommand);
    exporting.arguments = {QStringLiteral("LIST"), QStringLiteral("FILE")};
    exporting.writesFile = true;
    exporting.details = QStringLiteral(
                            "LIST is one of %1. One value a line, CR LF between them; FILE - is "
                            "standard output.")
                            .arg(listWords().join(QStringLiteral(", ")));
    exporting.options = {
        {QStringLiteral("unicode"), QStringLiteral("Write UTF-16 text (with its mark).")}};

    CliCommand importing = cliCommand(
        QStringLiteral("list import"),
        QStringLiteral("add the names of the list FILE to a drop LIST"), listImportCommand);
    importing.arguments = {QStringLiteral("LIST"), QStringLiteral("FILE")};
    importing.details = QStringLiteral(
        "As Import... of Edit Drop Lists: names the list has already are left out; "
        "all or nothing.");
    return {replace, exporting, importing};
}

}  // namespace tempolatch
