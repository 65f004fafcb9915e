#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "app/DataUpgradeDialog.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/DataUpgrade.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "widgets/ProgressDialog.h"

using namespace tempolatch;
using namespace tempolatch::platform;

class DataUpgradeDialogTest : public test::EnvironmentTest {
    Q_OBJECT

    quint32 m_savedVersion = 0;

    // A Paid entry of an old version: no paid date, no modified time.
    quint32 addOldPaidEntry() {
        TimeEntryDatabase& db = m_env->store().entries();
        return db.addProperties({Property::fileTime(prop::EntryDate, Clock::nowFileTime()),
                                 Property::string(prop::ClientName, QStringLiteral("Old")),
                                 Property::ui2(prop::Status, 3)});
    }

    TimeEntry entry(quint32 id) {
        return TimeEntries(m_env->store()).find(id).value_or(TimeEntry());
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_savedVersion = m_env->settings().version;
    }
    void cleanup() {
        m_env->settings().version = m_savedVersion;
        EnvironmentTest::cleanup();
    }

    void workStartsOnceTheDialogIsShown() {
        ProgressDialog dialog(QStringLiteral("Working"));
        bool visible = false;
        bool barHidden = false;
        bool cursorWaits = false;
        dialog.run([&](ProgressDialog& d) {
            visible = d.isVisible();
            barHidden = d.findChild<QProgressBar*>(QStringLiteral("progress"))->isHidden();
            cursorWaits = QApplication::overrideCursor() &&
                          QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            QTest::keyClick(&d, Qt::Key_Escape);  // the user cannot close it while it works
            QVERIFY(d.isVisible());
            d.showProgress(3);
            for (int i = 0; i < 5; ++i)
                d.step();
        });
        QVERIFY(visible);
        QVERIFY(barHidden);
        QVERIFY(cursorWaits);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.findChild<QProgressBar*>(QStringLiteral("progress"))->value(), 3);
        QVERIFY(!QApplication::overrideCursor());
    }

    void upgradeRunsInItsDialogWhenNeeded() {
        const quint32 id = addOldPaidEntry();
        m_env->settings().version = 250;
        QString shownText;
        ProgressDialog* seen = nullptr;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
            if (seen)
                shownText = seen->findChild<QLabel*>(QStringLiteral("text"))->text();
        });
        QVERIFY(runDataUpgradeIfNeeded(m_env->context(), nullptr));
        QVERIFY(seen);
        QCOMPARE(shownText, resourceString(str::UpdatingData));
        QCOMPARE(entry(id).paidDate, Clock::nowFileTime());
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    // A program ended without its orderly exit (killed, a crash) after the
    // repair must not repair again: the version is stored when it commits.
    void theVersionIsStoredAsSoonAsTheRepairIsKept() {
        const QString key = QString::fromLatin1(Registry::AppKey);
        auto storedVersion = [&] {
            return m_env->registry().readNumber(key, QStringLiteral("tlVersion")).value_or(0);
        };
        QVERIFY(m_env->registry().createKey(key));
        QVERIFY(m_env->registry().writeNumber(key, QStringLiteral("tlVersion"), 250));
        m_env->settings().load(m_env->registry());
        QCOMPARE(m_env->settings().version, 250u);
        addOldPaidEntry();
        QVERIFY(runDataUpgradeIfNeeded(m_env->context(), nullptr));
        QCOMPARE(storedVersion(), Settings::CurrentVersion);

        Settings nextStart;
        nextStart.load(m_env->registry());
        QVERIFY(!DataUpgrade::needsUpgrade(nextStart.version, m_env->store()));
    }

    void noUpgradeForCurrentSettingsOrAnEmptyStore() {
        m_env->settings().version = 250;
        QVERIFY(!runDataUpgradeIfNeeded(m_env->context(), nullptr));
        const quint32 id = addOldPaidEntry();
        m_env->settings().version = Settings::CurrentVersion;
        QVERIFY(!runDataUpgradeIfNeeded(m_env->context(), nullptr));
        QCOMPARE(entry(id).paidDate, FileTime());
    }
};

TEMPOLATCH_TEST(DataUpgradeDialogTest);
#include "DataUpgradeDialogTest.moc"
