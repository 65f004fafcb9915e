#include <QDir>
#include <QFile>
#include <functional>

#include "common/EnvironmentTest.h"
#include "common/SampleStore.h"
#include "common/TestDates.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"
#include "notes/NoteFiles.h"
#include "platform/OutputFile.h"
#include "records/EntryFilter.h"
#include "records/ExpenseCriteria.h"
#include "reports/CsvExport.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "timers/TimerKeeper.h"
#include "transfer/ArchiveOperation.h"
#include "transfer/BackupOperation.h"
#include "transfer/ClientStructureOperation.h"
#include "transfer/ListFile.h"

using namespace tempolatch;
using platform::OutputFile;

namespace {

using Writer = std::function<bool(Context&, const QString& path)>;

bool report(Context& context, const QString& path, int kind) {
    return writeReportFile(context, ReportLayout::builtInDefault(kind), EntryFilter(), path);
}

NoteData sampleNote() {
    NoteContent content;
    content.text = NoteText::fromPlainText(QStringLiteral("Call the client back.\nTwice."));
    return NoteData::fromContent(content);
}

bool saveTimers(const QString& path) {
    EntryTimerTable table;
    table.slot(0).state = EntryTimer::Running;
    table.slot(0).client = QStringLiteral("Acme");
    table.slot(0).elapsedSeconds = 4000;
    return TimerKeeper::save(table, test::at(2026, 12, 7, 9), path);
}

}  // namespace

Q_DECLARE_METATYPE(Writer)

// Every file the program writes meets a full disk the same way: the writer
// says it failed, and the file it was to replace is still there, whole.
class FullDiskTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillSampleStore(m_env->store(), 40));
    }
    void cleanup() {
        OutputFile::setDiskSpaceForTesting(-1);
        EnvironmentTest::cleanup();
    }

    void everyWriterKeepsTheEarlierFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Writer>("write");
        QTest::addColumn<qint64>("space");
        const QList<std::pair<QString, Writer>> writers = {
            {"entries.csv",
             [](Context& c, const QString& p) {
                 return exportTimeEntryCsv(c.store, c.settings, EntryFilter(), p);
             }},
            {"expenses.csv",
             [](Context& c, const QString& p) {
                 return exportExpenseCsv(c.store, c.settings, ExpenseType::General,
                                         ExpenseCriteria(), p);
             }},
            {"summary.csv",
             [](Context&, const QString& p) {
                 return exportSummaryCsv(
                     QList<QStringList>(20, {QStringLiteral("Acme"), QStringLiteral("12.50h"),
                                             QStringLiteral("500.00")}),
                     p);
             }},
            {"entries.xml",
             [](Context& c, const QString& p) {
                 return writeXmlFile(c.store, c.settings, EntryFilter(), p);
             }},
            {"tabular.html",
             [](Context& c, const QString& p) { return report(c, p, ReportLayout::Tabular); }},
            {"invoice.pdf",
             [](Context& c, const QString& p) { return report(c, p, ReportLayout::Invoice); }},
            {"phases.txt",
             [](Context&, const QString& p) {
                 return exportList(p, QStringList(30, QStringLiteral("Design")),
                                   ListFileEncoding::Utf16);
             }},
            {"note.rtf",
             [](Context&, const QString& p) {
                 return NoteFiles::save(p, sampleNote(), NoteStreamFormat::RichText);
             }},
            {"timers.dat", [](Context&, const QString& p) { return saveTimers(p); }},
            {"backup.tld",
             [](Context& c, const QString& p) { return BackupOperation(c.store).backup(p); }},
            {"clients.tlc",
             [](Context& c, const QString& p) {
                 return ClientStructureOperation(c.store).exportTo(p);
             }},
        };
        for (const auto& [name, write] : writers) {
            for (const qint64 space : {qint64(0), qint64(64)})
                QTest::addRow("%s, %lld bytes free", qPrintable(name), space)
                    << name << write << space;
        }
    }
    void everyWriterKeepsTheEarlierFile() {
        QFETCH(QString, name);
        QFETCH(Writer, write);
        QFETCH(qint64, space);
        // Written in a folder of its own: timers.dat is the profile's.
        const QString folder = m_env->filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QLatin1Char('/') + name;
        QVERIFY(write(m_env->context(), path));  // room enough: the earlier file
        const QByteArray earlier = test::fileContents(path);

        OutputFile::setDiskSpaceForTesting(space);
        QVERIFY(!write(m_env->context(), path));
        OutputFile::setDiskSpaceForTesting(-1);
        QCOMPARE(test::fileContents(path), earlier);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }
};

TEMPOLATCH_TEST(FullDiskTest);
#include "FullDiskTest.moc"
