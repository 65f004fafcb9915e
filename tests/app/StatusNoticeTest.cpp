#include <QDateEdit>
#include <QDir>
#include <QProcess>
#include <QStatusBar>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/SampleStore.h"
#include "common/TestRegistry.h"
#include "platform/StringTable.h"
#include "store/Databases.h"
#include "store/RecordStore.h"
#include "transfer/ArchiveRangeDialog.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using platform::Answer;

namespace {

// What an outside reader counts in a file: CSV rows after the header
// (python's csv module), or ITEM elements (xmllint).
int countedBy(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return -1;
    bool ok = false;
    const int count = process.readAllStandardOutput().trimmed().toInt(&ok);
    return ok ? count : -1;
}

int csvRows(const QString& path) {
    return countedBy(
        QStringLiteral("python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import csv,sys\n"
                        "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
                        "    print(len(list(csv.reader(f))) - 1)"),
         path});
}

int xmlItems(const QString& path) {
    return countedBy(
        QStringLiteral("xmllint"),
        {QStringLiteral("--xpath"), QStringLiteral("count(//*[local-name()='ITEM'])"), path});
}

QString counts(int entries, int expenses = -1) {
    return platform::recordCounts(entries, expenses);
}

}  // namespace

// The data commands say what they did in the status line, through the one
// notice of the Ui; failures stay messages and give no notice.
class StatusNoticeTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<MainFrame> m_frame;

    QString path(const QString& name) const {
        return QDir::toNativeSeparators(m_env->filePath(name));
    }
    int storedEntries() { return m_env->store().entries().recordCount(); }
    int storedExpenses() { return m_env->store().expenses().recordCount(); }
    static void acceptNextModal() {
        test::onNextModal([](QDialog* dialog) { dialog->accept(); });
    }
    void run(int command, const QString& file) {
        m_env->ui().queueFile(file);
        m_frame->onCommand(command);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillSampleStore(m_env->store(), 60));
        m_frame = std::make_unique<MainFrame>(m_env->context());
        QVERIFY(m_frame->create());
    }
    void cleanup() {
        m_frame.reset();
        EnvironmentTest::cleanup();
    }

    void successesAreNoticedInTheStatusLine_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("backup") << "backup";
        QTest::newRow("backup to a missing folder") << "backup failed";
        QTest::newRow("restore") << "restore";
        QTest::newRow("csv export") << "csv";
        QTest::newRow("xml export") << "xml";
        QTest::newRow("archive and load it back") << "archive";
    }
    void successesAreNoticedInTheStatusLine() {
        QFETCH(QString, command);
        const int entries = storedEntries();
        const int expenses = storedExpenses();
        QVERIFY(entries > 0 && expenses > 0);
        QStringList expected;
        QStringList messages;
        if (command == QLatin1String("backup")) {
            run(cmd::BackupCreate, path(QStringLiteral("all.tld")));
            expected << QStringLiteral("Backup written to %1 (%2).")
                            .arg(path(QStringLiteral("all.tld")), counts(entries, expenses));
        } else if (command == QLatin1String("backup failed")) {
            run(cmd::BackupCreate, path(QStringLiteral("no/such/folder/all.tld")));
            messages << QStringLiteral("Cannot write %1: the folder %2 does not exist.")
                            .arg(path(QStringLiteral("no/such/folder/all.tld")),
                                 path(QStringLiteral("no/such/folder")));
        } else if (command == QLatin1String("restore")) {
            run(cmd::BackupCreate, path(QStringLiteral("all.tld")));
            m_env->ui().queueAnswer(Answer::Yes);  // delete all first
            run(cmd::BackupRestore, path(QStringLiteral("all.tld")));
            QCOMPARE(storedEntries(), entries);
            messages << resourceString(str::DeleteBeforeRestoreQuestion);
            expected << m_env->ui().notices().value(0)
                     << QStringLiteral("Restored from %1 (%2 now).")
                            .arg(path(QStringLiteral("all.tld")), counts(entries, expenses));
        } else if (command == QLatin1String("csv")) {
            acceptNextModal();  // the criteria sheet, on the period shown
            run(cmd::ExportCsv, path(QStringLiteral("week.csv")));
            const int rows = csvRows(path(QStringLiteral("week.csv")));
            QVERIFY(rows >= 0);
            expected << QStringLiteral("CSV written to %1 (%2).")
                            .arg(path(QStringLiteral("week.csv")), counts(rows));
        } else if (command == QLatin1String("xml")) {
            // The whole range: every entry goes out.
            test::onNextModal([](QDialog* sheet) {
                for (QDateEdit* date : sheet->findChildren<QDateEdit*>())
                    date->setDate(
                        date->objectName().contains(QLatin1String("end"), Qt::CaseInsensitive)
                            ? QDate(2100, 1, 1)
                            : QDate(1990, 1, 1));
                sheet->accept();
            });
            run(cmd::ExportXml, path(QStringLiteral("all.xml")));
            const int items = xmlItems(path(QStringLiteral("all.xml")));
            QVERIFY(items > 0);
            expected << QStringLiteral("XML written to %1 (%2).")
                            .arg(path(QStringLiteral("all.xml")), counts(items));
        } else {
            test::onNextModalOf<ArchiveRangeDialog>([](ArchiveRangeDialog* dialog) {
                dialog->findChild<QDateEdit*>(QStringLiteral("archiveStart"))
                    ->setDate(QDate(1990, 1, 1));
                dialog->findChild<QDateEdit*>(QStringLiteral("archiveEnd"))
                    ->setDate(QDate(2100, 1, 1));
                dialog->accept();
            });
            run(cmd::ArchiveEntries, path(QStringLiteral("all.tla")));
            QCOMPARE(storedEntries(), 0);
            run(cmd::ArchiveLoad, path(QStringLiteral("all.tla")));
            QCOMPARE(storedEntries(), entries);
            // Every expense is in the store already: none is added twice.
            expected << QStringLiteral("Archive written to %1 (%2, deleted here).")
                            .arg(path(QStringLiteral("all.tla")), counts(entries))
                     << QStringLiteral("Archive loaded from %1 (%2 added).")
                            .arg(path(QStringLiteral("all.tla")), counts(entries, 0));
            messages << resourceString(str::ArchiveLoaded);
        }
        QCOMPARE(m_env->ui().notices(), expected);
        QCOMPARE(m_env->ui().shownTexts(), messages);
        QCOMPARE(m_frame->statusBar()->currentMessage(), expected.value(expected.size() - 1));
    }
};

TEMPOLATCH_TEST(StatusNoticeTest);
#include "StatusNoticeTest.moc"
