#include <QComboBox>
#include <QTest>

#include "common/BackendTest.h"
#include "common/TestRegistry.h"
#include "editing/EntryEditor.h"
#include "platform/Profile.h"
#include "store/TimeEntries.h"

using namespace tempolatch;
using namespace tempolatch::test;

// A server store whose server goes away under an open editor: the user is
// told, keeps what was typed, and the next OK connects anew and saves it.
class LostConnectionTest : public ServerTest {
    Q_OBJECT

    std::unique_ptr<ServerRole> m_user;

private Q_SLOTS:
    void init() {
        ServerTest::init();
        if (!m_env->store().isOpen())
            return;  // skipped
        // The user gets rights on the tables that the first opening made.
        m_env->store().close();
        m_user = std::make_unique<ServerRole>(server(),
                                              QStringLiteral("SELECT, INSERT, UPDATE, DELETE"));
        QVERIFY(m_user->isReady());
        platform::Profile::setStore(m_user->address());
        QVERIFY2(m_env->store().openAll(), qPrintable(m_env->store().openError()));
    }
    void cleanup() {
        m_env->store().close();
        m_user.reset();
        ServerTest::cleanup();
    }

    void typingKeptAndSavedOnTheNextTry() {
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        entry.task = QStringLiteral("Design");
        entry.duration = 100;
        TimeEntries entries(m_env->store());
        QCOMPARE(entries.add(entry), WriteResult::Written);

        EntryEditor editor(m_env->context(), &entry, false, EntryEditor::GeneralPage);
        auto* duration = editor.findChild<QComboBox*>(QStringLiteral("duration"));
        duration->setEditText(QStringLiteral("4.5"));
        QVERIFY(m_user->allowLogin(false));
        QVERIFY(m_user->dropSessions());

        editor.accept();
        QVERIFY(!editor.saved());
        const QStringList shown = m_env->ui().shownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Error: 1236. The connection to the store's "
                                                    "server was lost")),
                 qPrintable(shown[0]));
        QCOMPARE(duration->currentText(), QStringLiteral("4.5"));

        QVERIFY(m_user->allowLogin(true));
        editor.accept();
        QVERIFY(editor.saved());
        QCOMPARE(entries.find(entry.recordId)->duration, 450);
        QCOMPARE(m_env->ui().shownTexts().size(), 1);
    }

    // A read after the server came back needs no second try: the view's
    // reload connects anew by itself.
    void readsConnectAnewByThemselves() {
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        TimeEntries entries(m_env->store());
        QCOMPARE(entries.add(entry), WriteResult::Written);
        QVERIFY(m_user->dropSessions());
        QCOMPARE(entries.find(entry.recordId)->client, QStringLiteral("Acme"));
    }
};

TEMPOLATCH_TEST(LostConnectionTest);
#include "LostConnectionTest.moc"
