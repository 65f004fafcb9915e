#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <functional>
#include <memory>

#include "clients/ClientsSetupDialog.h"
#include "clients/RatesSetupDialog.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "editing/EntryEditor.h"
#include "reports/ReportLayoutDialog.h"
#include "reports/SummaryDialog.h"
#include "settings/OptionsSheet.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"

using namespace tempolatch;

using MakeDialog = std::function<QDialog*(Context&)>;
Q_DECLARE_METATYPE(MakeDialog)

// The program's own dialogs come back where the user left them, and inside
// the screen when they were left larger than it.
class DialogPlacesTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void dialogsComeBackWhereTheyWereLeft_data() {
        QTest::addColumn<MakeDialog>("make");
        QTest::newRow("entry editor") << MakeDialog(
            [](Context& c) -> QDialog* { return new EntryEditor(c, nullptr, false, 0); });
        QTest::newRow("clients setup")
            << MakeDialog([](Context& c) -> QDialog* { return new ClientsSetupDialog(c); });
        QTest::newRow("rates setup")
            << MakeDialog([](Context& c) -> QDialog* { return new RatesSetupDialog(c); });
        QTest::newRow("report layout")
            << MakeDialog([](Context& c) -> QDialog* { return new ReportLayoutDialog(c, 0); });
        QTest::newRow("quick summary") << MakeDialog([](Context& c) -> QDialog* {
            return new SummaryDialog(SummaryDialog::Kind::Quick, c);
        });
        QTest::newRow("options") << MakeDialog([](Context& c) -> QDialog* {
            return new OptionsSheet(c.settings, QStringList(), c.registry);
        });
    }
    void dialogsComeBackWhereTheyWereLeft() {
        QFETCH(MakeDialog, make);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        // Left at a place of its own, then far larger than the screen.
        const QRect left(area.left() + 23, area.top() + 31, 760, 520);
        const QRect huge(area.left() + 300, area.top() + 200, area.width() * 2, area.height() * 2);
        for (const QRect& place : {left, huge}) {
            {
                std::unique_ptr<QDialog> dialog(make(m_env->context()));
                dialog->show();
                QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
                dialog->setGeometry(place);
                dialog->reject();
            }
            std::unique_ptr<QDialog> again(make(m_env->context()));
            again->show();
            QVERIFY(QTest::qWaitForWindowExposed(again.get()));
            if (place == left)
                QCOMPARE(again->geometry(), left);
            else
                QVERIFY2(area.contains(again->frameGeometry()),
                         qPrintable(QDebug::toString(again->frameGeometry())));
            again->reject();
        }
    }
};

TEMPOLATCH_TEST(DialogPlacesTest);
#include "DialogPlacesTest.moc"
