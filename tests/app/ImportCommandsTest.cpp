#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/ImportCommands.h"
#include "common/EnvironmentTest.h"
#include "common/SampleStore.h"
#include "common/TestRegistry.h"
#include "notes/NoteStream.h"
#include "store/TimeEntries.h"
#include "transfer/ImportPreviewDialog.h"

using namespace tempolatch;

// Tools > Import in the window: the file, the preview, and only then the
// entries.
class ImportCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    int entryCount() { return m_env->store().entries().recordCount(); }
    QString sample() const {
        return test::testDataPath(QStringLiteral("import/toggl-detailed.csv"));
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void previewFirstThenImport() {
        int previews = 0;
        bool answer = false;
        const auto confirm = [&](const ImportPlan& plan, const QString&, QWidget*) {
            ++previews;
            // Nothing is written while the preview is shown.
            [&] { QCOMPARE(entryCount(), 0); }();
            [&] { QCOMPARE(plan.toAdd.size(), 5); }();
            return answer;
        };
        m_env->ui().queueFile(sample());
        QVERIFY(!importTimeEntries(m_env->context(), nullptr, ImportFormat::Toggl, confirm));
        QCOMPARE(entryCount(), 0);

        answer = true;
        m_env->ui().queueFile(sample());
        QVERIFY(importTimeEntries(m_env->context(), nullptr, ImportFormat::Toggl, confirm));
        QCOMPARE(previews, 2);
        QCOMPARE(entryCount(), 5);
        QVERIFY(m_env->ui().notices().last().contains(QStringLiteral("5 entries added")));
        // Toggl's description is the entry's note, in the note format.
        bool found = false;
        TimeEntries(m_env->store()).forEach([&found](const TimeEntry& e) {
            found |= noteToPlainText(e.note) == QLatin1String("Header and footer");
            return true;
        });
        QVERIFY(found);
        // Cancel in the file dialog asks nothing more.
        QVERIFY(!importTimeEntries(m_env->context(), nullptr, ImportFormat::Toggl, confirm));
        QCOMPARE(previews, 2);
    }

    void previewDialogOffersImportOnlyWhenEveryRowIsRead() {
        ImportRead read;
        ImportedRow row;
        row.line = 2;
        row.entry.client = QStringLiteral("Acme");
        row.entry.duration = 67;
        read.rows.append(row);
        ImportPlan good = planImportOf(m_env->store(), read);
        ImportPreviewDialog ok(good, QStringLiteral("in.csv"));
        QVERIFY(ok.findChild<QPushButton*>(QStringLiteral("importButton"))->isEnabled());
        const auto* table = ok.findChild<QTableWidget*>(QStringLiteral("importEntries"));
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("0.67"));
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("Acme"));

        read.problem(3, QStringLiteral("The duration \"x\" is not H:MM:SS."));
        ImportPreviewDialog refused(planImportOf(m_env->store(), read), QStringLiteral("in.csv"));
        QVERIFY(!refused.findChild<QPushButton*>(QStringLiteral("importButton"))->isEnabled());
        const auto* problems = refused.findChild<QListWidget*>(QStringLiteral("importProblems"));
        QCOMPARE(problems->item(0)->text(),
                 QStringLiteral("Line 3: The duration \"x\" is not H:MM:SS."));
    }
};

TEMPOLATCH_TEST(ImportCommandsTest);
#include "ImportCommandsTest.moc"
