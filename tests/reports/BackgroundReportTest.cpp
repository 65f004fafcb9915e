#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/SampleStore.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/WorkProgress.h"
#include "records/EntryFilter.h"
#include "reports/CsvExport.h"
#include "reports/ReportFileCommands.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/ReportsTestSupport.h"
#include "store/RecordStore.h"
#include "transfer/BackupOperation.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/ProgressDialog.h"

using namespace tempolatch;
using platform::WorkProgress;

namespace {

void writeEarlierFile(const QString& path) {
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    QCOMPARE(earlier.write("earlier"), 7);
}

// The files of `folder` beside the profile's own.
QStringList filesBesideProfile(const QString& folder) {
    QStringList files = QDir(folder).entryList(QDir::Files);
    files.removeIf([](const QString& f) {
        return f.startsWith(QLatin1String("store.db")) ||
               f.startsWith(QLatin1String("registry.db"));
    });
    return files;
}

}  // namespace

// Reports and exports are written off the window's thread: the window
// keeps handling its events meanwhile, and a write that is cancelled
// leaves no file behind and the file it was to replace as it was.
class BackgroundReportTest : public test::EnvironmentTest {
    Q_OBJECT

    static constexpr int kEntries = 10'000;
    QStringList m_opened;

    QString path(const QString& name) const { return m_env->filePath(name); }

    ReportFileCommandHost host() {
        return {&m_env->context(), nullptr,
                [](platform::SystemTime& start, platform::SystemTime& end) {
                    start = test::day(2000, 1, 1);
                    end = test::day(2100, 12, 31);
                },
                [this](const QString& file) { m_opened.append(file); }, [] {}};
    }

    // Runs Report > Tabular... into `file`, through its layout dialog and
    // criteria sheet; `whileWriting` runs once the progress dialog is up.
    void runTabularReport(const QString& file,
                          std::function<void(ProgressDialog*)> whileWriting = {}) {
        CommandTable table;
        registerReportFileCommands(table, host());
        test::onNextModal([whileWriting](QDialog* layout) {
            // The criteria sheet, then the progress dialog, come next.
            test::onNextModal([whileWriting](QDialog* sheet) {
                if (whileWriting)
                    test::onNextModalOf<ProgressDialog>(whileWriting);
                sheet->accept();
            });
            layout->accept();
        });
        m_env->ui().queueFile(file);
        QVERIFY(table.run(cmd::ReportTabular));
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_opened.clear();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillSampleStore(m_env->store(), kEntries));
    }

    // The window's timers fire while the 10,000-entry report is written,
    // and the page is whole at the end.
    void windowRunsWhileReportIsWritten() {
        int ticksWhileWriting = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            if (qobject_cast<ProgressDialog*>(QApplication::activeModalWidget()))
                ++ticksWhileWriting;
        });
        ticker.start(1);
        runTabularReport(path(QStringLiteral("all.html")));
        ticker.stop();
        QCOMPARE(m_opened, QStringList{path(QStringLiteral("all.html"))});
        const QByteArray page = test::fileBytes(m_opened.first());
        QVERIFY2(page.trimmed().endsWith("</html>"), page.right(200).constData());
        QVERIFY2(page.count("<tr") > kEntries, qPrintable(QString::number(page.count("<tr"))));
        QVERIFY2(ticksWhileWriting > 0, "the window's events waited for the report");
    }

    // Cancel in the progress dialog: the earlier file stays, no message
    // is shown and nothing is opened. (A PDF of 10,000 entries takes long
    // enough to be cancelled for certain; the other writers are cancelled
    // at known places below.)
    void cancelKeepsEarlierFile() {
        const QString name = QStringLiteral("all.pdf");
        writeEarlierFile(path(name));
        bool clicked = false;
        runTabularReport(path(name), [&](ProgressDialog* dialog) {
            auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("cancel"));
            QVERIFY(cancel && cancel->isVisible());
            cancel->click();
            clicked = true;
        });
        QVERIFY(clicked);
        QCOMPARE(test::fileBytes(path(name)), QByteArray("earlier"));
        QCOMPARE(filesBesideProfile(m_env->folder()), QStringList{name});
        QVERIFY(m_opened.isEmpty());
        QCOMPARE(m_env->ui().shownTexts(), QStringList());
    }
};

// The writers themselves, on the test's own thread: cancelled, each stops
// and refuses to put its file in place.
class CancelledFileWriteTest : public test::EnvironmentTest {
    Q_OBJECT

    static constexpr int kEntries = 1'000;

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillSampleStore(m_env->store(), kEntries));
    }

    // Every file the work writes for the user, cancelled part of the way
    // (after its first record, or half-way): no file of the name appears
    // beside the earlier one, which keeps its bytes.
    void cancelledWriteLeavesNoFile_data() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("cancelAt");
        for (const char* writer : {"csv", "xml", "html", "pdf", "backup"}) {
            QTest::addRow("%s at once", writer) << QString::fromLatin1(writer) << 1;
            QTest::addRow("%s half-way", writer) << QString::fromLatin1(writer) << kEntries / 2;
        }
    }
    void cancelledWriteLeavesNoFile() {
        QFETCH(QString, writer);
        QFETCH(int, cancelAt);
        Context& context = m_env->context();
        const ReportLayout tabular = ReportLayout::builtInDefault(ReportLayout::Tabular);
        const std::map<QString, std::function<bool(const QString&)>> writers = {
            {QStringLiteral("csv"),
             [&](const QString& file) {
                 return exportTimeEntryCsv(context.store, context.settings, EntryFilter(),
                                           file);
             }},
            {QStringLiteral("xml"),
             [&](const QString& file) {
                 return writeXmlFile(context.store, context.settings, EntryFilter(), file);
             }},
            {QStringLiteral("html"),
             [&](const QString& file) {
                 return writeReportFile(context, tabular, EntryFilter(), file);
             }},
            {QStringLiteral("pdf"),
             [&](const QString& file) {
                 return writeReportFile(context, tabular, EntryFilter(), file + ".pdf");
             }},
            {QStringLiteral("backup"),
             [&](const QString& file) { return BackupOperation(context.store).backup(file); }},
        };
        const auto write = writers.at(writer);
        const QString name =
            writer == QLatin1String("pdf") ? QStringLiteral("out.pdf") : QStringLiteral("out");
        const QString file = m_env->filePath(QStringLiteral("out"));
        writeEarlierFile(m_env->filePath(name));

        WorkProgress progress;
        progress.cancelAt(cancelAt);
        {
            const WorkProgress::Scope scope(progress);
            QVERIFY(!write(file));
        }
        QCOMPARE(test::fileBytes(m_env->filePath(name)), QByteArray("earlier"));
        QCOMPARE(filesBesideProfile(m_env->folder()), QStringList{name});
        // Uncancelled, the same write replaces it, counting its records.
        WorkProgress uncancelled;
        const WorkProgress::Scope scope(uncancelled);
        QVERIFY(write(file));
        QVERIFY(test::fileBytes(m_env->filePath(name)) != "earlier");
        QVERIFY(uncancelled.rows() >= kEntries);
    }
};

TEMPOLATCH_TEST(BackgroundReportTest);
TEMPOLATCH_TEST(CancelledFileWriteTest);
#include "BackgroundReportTest.moc"
