#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "clients/ClientsTestSupport.h"
#include "clients/ModalDriver.h"
#include "clients/RateDialog.h"
#include "clients/RatesSetupDialog.h"
#include "clients/SetupCommandIds.h"
#include "clients/SetupTree.h"
#include "common/EnvironmentTest.h"
#include "common/PopupMenu.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/Rates.h"
#include "store/StoreWatcher.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "widgets/DialogBar.h"
#include "widgets/HelpWindow.h"
#include "widgets/Mnemonics.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

// Fills the rate dialog that opens next and presses OK.
void answerRate(int type, const QString& description, const QString& value) {
    whenModal<RateDialog>([=](RateDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("rateType"))->setCurrentIndex(type);
        auto* text = dialog.findChild<QLineEdit*>(QStringLiteral("description"));
        text->clear();
        QTest::keyClicks(text, description);
        auto* rate = dialog.findChild<QLineEdit*>(QStringLiteral("rate"));
        rate->clear();
        QTest::keyClicks(rate, value);
        dialog.accept();
    });
}

}  // namespace

class RatesSetupDialogTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<RatesSetupDialog> m_dialog;

    RatesSetupDialog& open() {
        m_dialog = std::make_unique<RatesSetupDialog>(m_env->context());
        return *m_dialog;
    }
    SetupTree* tree() { return m_dialog->tree(); }
    QTreeWidgetItem* group(int index) { return tree()->topLevelItem(index); }
    bool enabled(int id) { return m_dialog->commandBar()->command(id)->isEnabled(); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }
    void cleanup() {
        m_dialog.reset();
        if (HelpWindow* help = HelpWindow::current())
            delete help;
        EnvironmentTest::cleanup();
    }

    void modifyAndDeleteOnlyForRates_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<int>("newId");
        QTest::newRow("classic") << false << cmd::NewRateClassic;
        QTest::newRow("soft keys") << true << cmd::NewRate;
    }
    void modifyAndDeleteOnlyForRates() {
        QFETCH(bool, softKeys);
        QFETCH(int, newId);
        m_env->settings().setFlag(SoftKeyMenus, softKeys);
        const Client acme = seedClient(QStringLiteral("Acme"));
        seedRate(acme.clientId, QStringLiteral("Work"), RateType::Normal, 5000);
        open();
        QVERIFY(m_dialog->commandBar()->command(newId));
        for (int g : {0, 1}) {
            tree()->setCurrentItem(group(g));
            QVERIFY(enabled(newId));
            QVERIFY(!enabled(cmd::ModifyItem));
            QVERIFY(!enabled(cmd::DeleteItem));
            // Neither the command nor the key does anything to a group.
            m_dialog->onCommand(cmd::DeleteItem);
            QTest::keyClick(tree(), Qt::Key_Delete);
        }
        QCOMPARE(rateDescriptions(acme.clientId), QStringList{QStringLiteral("Work")});
        tree()->setCurrentItem(group(1)->child(0));
        QVERIFY(enabled(cmd::ModifyItem));
        QVERIFY(enabled(cmd::DeleteItem));
    }

    void newWithAClientsRateSelectedAddsToThatClient() {
        const Client acme = seedClient(QStringLiteral("Acme"));
        seedRate(acme.clientId, QStringLiteral("Work"), RateType::Normal, 5000);
        seedRate(acme.clientId, QStringLiteral("Sunday"), RateType::Weekend, 9000);
        open();
        tree()->setCurrentItem(group(1)->child(1));
        answerRate(int(RateType::Overtime), QStringLiteral("Late"), QStringLiteral("7,5"));
        m_dialog->onCommand(cmd::NewRateClassic);
        QCOMPARE(childTexts(group(1)),
                 (QStringList{QStringLiteral("Work (50.00)"), QStringLiteral("Late (7.00)"),
                              QStringLiteral("Sunday (90.00)")}));
        QCOMPARE(tree()->currentItem(), group(1)->child(1));
        QList<Rate> stored = listRates(structure().rates, acme.clientId);
        QCOMPARE(stored.size(), 3);
        const Rate& late = stored.last();
        QCOMPARE(late.description, QStringLiteral("Late"));
        QCOMPARE(late.rateType, RateType::Overtime);
        QCOMPARE(late.rate, 700);
        QCOMPARE(late.modified, platform::Clock::nowFileTime());
        QCOMPARE(late.changeFlags, quint16(3));
        QVERIFY(rateDescriptions(0).isEmpty());

        // The same type and description again is a second rate.
        answerRate(int(RateType::Overtime), QStringLiteral("Late"), QString());
        m_dialog->onCommand(cmd::NewRateClassic);
        QCOMPARE(group(1)->childCount(), 4);
        QCOMPARE(listRates(structure().rates, acme.clientId).last().rate, 0);
    }

    void modifyKeepsThePlace() {
        const Client acme = seedClient(QStringLiteral("Acme"));
        seedRate(acme.clientId, QStringLiteral("Audit"), RateType::Normal, 6000);
        const Rate work = seedRate(acme.clientId, QStringLiteral("Work"), RateType::Normal, 5000);
        open();
        tree()->setCurrentItem(group(1)->child(0));
        QString shownModified;
        whenModal<RateDialog>([&](RateDialog& dialog) {
            shownModified = dialog.findChild<QLabel*>(QStringLiteral("lastModified"))->text();
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("rate"))->text(),
                     QStringLiteral("60.00"));
            auto* text = dialog.findChild<QLineEdit*>(QStringLiteral("description"));
            text->setText(QStringLiteral("Zoning"));
            dialog.findChild<QComboBox*>(QStringLiteral("rateType"))->setCurrentIndex(3);
            // The store watcher may rebuild the tree under the rate dialog.
            m_dialog->rebuild();
            dialog.accept();
        });
        m_dialog->onCommand(cmd::ModifyItem);
        QCOMPARE(shownModified, QStringLiteral("<New>"));  // never saved through the dialog
        QCOMPARE(childTexts(group(1)),
                 (QStringList{QStringLiteral("Zoning (60.00)"), QStringLiteral("Work (50.00)")}));
        Rate stored = listRates(structure().rates, acme.clientId).first();
        QCOMPARE(stored.description, QStringLiteral("Zoning"));
        QCOMPARE(stored.rateType, RateType::Fixed);
        QCOMPARE(stored.modified, platform::Clock::nowFileTime());
        Q_UNUSED(work);
    }

    // Entries store the rate's value, not a link: deleting leaves them be.
    void deleteAtOnceWithoutAQuestion() {
        const Client acme = seedClient(QStringLiteral("Acme"));
        seedRate(acme.clientId, QStringLiteral("Work"), RateType::Normal, 5000);
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        entry.rate = 5000;
        QVERIFY(TimeEntries(m_env->store()).add(entry) == WriteResult::Written);
        open();
        tree()->setCurrentItem(group(1)->child(0));
        m_dialog->onCommand(cmd::DeleteItem);
        QVERIFY(m_env->ui().shown().isEmpty());
        QCOMPARE(group(1)->childCount(), 0);
        QVERIFY(rateDescriptions(acme.clientId).isEmpty());
        const auto found = TimeEntries(m_env->store()).find(entry.recordId);
        QVERIFY(found);
        const TimeEntry& stored = *found;
        QCOMPARE(stored.rate, 5000);
    }

    // The context menu acts on the selected rate; a right click first
    // selects the rate under the pointer. The keys ignore the pointer.
    void contextMenuActsOnTheChosenRate_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<MenuPath>("path");
        QTest::addColumn<QStringList>("left");
        for (const bool softKeys : {false, true}) {
            for (const MenuPath path : AllMenuPaths) {
                const QStringList left = path == MenuPath::RightClick
                                             ? QStringList{QStringLiteral("Audit (1.00)")}
                                             : QStringList{QStringLiteral("Work (50.00)")};
                QTest::addRow("%s, %s", softKeys ? "soft keys" : "classic", menuPathName(path))
                    << softKeys << path << left;
            }
        }
    }
    void contextMenuActsOnTheChosenRate() {
        QFETCH(bool, softKeys);
        QFETCH(MenuPath, path);
        QFETCH(QStringList, left);
        m_env->settings().setFlag(SoftKeyMenus, softKeys);
        const Client acme = seedClient(QStringLiteral("Acme"));
        seedRate(acme.clientId, QStringLiteral("Audit"), RateType::Normal, 100);
        seedRate(acme.clientId, QStringLiteral("Work"), RateType::Normal, 5000);
        open().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        tree()->setCurrentItem(group(1)->child(0));  // Audit
        const QPoint work = tree()->visualItemRect(group(1)->child(1)).center();
        auto shown = std::make_shared<bool>(false);
        chooseInNextPopup(cmd::DeleteItem, shown);
        requestContextMenu(tree(), path, work);
        QVERIFY(*shown);
        QCOMPARE(childTexts(group(1)), left);

        // On a group, Modify and Delete are greyed and New adds to it.
        tree()->setCurrentItem(group(0));
        std::unique_ptr<QMenu> menu(m_dialog->commandBar()->createContextMenu(nullptr));
        QStringList enabled;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled())
                enabled.append(mnemonics::plain(action->text()));
        }
        QCOMPARE(enabled, QStringList{QStringLiteral("New Rate...")});
        answerRate(0, QStringLiteral("Standard"), QStringLiteral("80"));
        chooseInNextPopup(softKeys ? cmd::NewRate : cmd::NewRateClassic);
        requestContextMenu(tree(), path, tree()->visualItemRect(group(0)).center());
        QCOMPARE(childTexts(group(0)), QStringList{QStringLiteral("Standard (80.00)")});
    }

    void rebuildShowsChangesAndKeepsTheSelection() {
        const Client acme = seedClient(QStringLiteral("Acme"));
        const Rate work = seedRate(acme.clientId, QStringLiteral("Work"), RateType::Normal, 5000);
        open();
        tree()->setCurrentItem(group(1)->child(0));
        seedRate(acme.clientId, QStringLiteral("Audit"), RateType::Normal, 100);
        seedClient(QStringLiteral("Beta"));
        m_dialog->rebuild();
        QCOMPARE(tree()->topLevelItemCount(), 3);
        QCOMPARE(childTexts(group(1)),
                 (QStringList{QStringLiteral("Audit (1.00)"), QStringLiteral("Work (50.00)")}));
        QCOMPARE(tree()->currentItem(), group(1)->child(1));
        QCOMPARE(tree()->currentItem()->data(0, RatesSetupDialog::DataRole).toUInt(),
                 work.recordId);
    }

    // Another program adds a rate while the dialog is open: the watcher's
    // next poll rebuilds the tree.
    void anotherProgramsChangeRebuildsTheTree() {
        const Client acme = seedClient(QStringLiteral("Acme"));
        StoreWatcher watcher(m_env->store());
        watcher.start(60 * 60 * 1000);
        int groups = 0;
        QStringList shown;
        whenModal<RatesSetupDialog>([&](RatesSetupDialog& dialog) {
            {
                QString error;
                auto other = platform::ObjectStore::open(platform::Profile::storePath(),
                                                         platform::ObjectStore::Access::ReadWrite,
                                                         QStringLiteral("en_US"), &error);
                QVERIFY2(other, qPrintable(error));
                RatesDatabase otherRates(other.get());
                QVERIFY(otherRates.open());
                Rate rate;
                rate.clientId = acme.clientId;
                rate.description = QStringLiteral("Remote");
                QCOMPARE(Rates(otherRates).add(rate), WriteResult::Written);
            }
            QVERIFY(watcher.check());
            groups = dialog.tree()->topLevelItemCount();
            shown = childTexts(dialog.tree()->topLevelItem(1));
            dialog.accept();
        });
        runRatesSetup(m_env->context(), nullptr, &watcher);
        QCOMPARE(groups, 2);
        QCOMPARE(shown, QStringList{QStringLiteral("Remote (0.00)")});
    }

    void rateDialogChecks_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("message");  // 0: accepted
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("value");
        QTest::newRow("whole") << "Work"
                               << "75" << 0 << "" << 7500;
        QTest::newRow("empty rate") << "Work"
                                    << "" << 0 << "" << 0;
        QTest::newRow("third decimal") << "Work"
                                       << "12.345" << 0 << "" << 1234;
        QTest::newRow("no description") << ""
                                        << "75" << str::EnterDescription << "description" << 0;
        QTest::newRow("letter") << "Work"
                                << "7b" << str::InvalidRate << "rate" << 0;
    }
    void rateDialogChecks() {
        QFETCH(QString, description);
        QFETCH(QString, rate);
        QFETCH(int, message);
        QFETCH(QString, focused);
        QFETCH(int, value);
        RateDialog dialog(Rate(), m_env->ui());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lastModified"))->text(),
                 QStringLiteral("<New>"));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("rate"))->text(),
                 QStringLiteral("0.00"));
        dialog.findChild<QLineEdit*>(QStringLiteral("description"))->setText(description);
        dialog.findChild<QLineEdit*>(QStringLiteral("rate"))->setText(rate);
        dialog.accept();
        if (message == 0) {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.rate().rate, value);
            QVERIFY(m_env->ui().shown().isEmpty());
            return;
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(message)});
        QCOMPARE(m_env->ui().shown()[0].icon, platform::MessageIcon::Warning);
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    void rateDialogShowsAStoredRate() {
        Rate rate;
        rate.description = QString(80, QLatin1Char('d'));
        rate.rateType = RateType::Discount;
        rate.rate = -250;
        rate.modified = platform::fileTimeOf(TestEnvironment::fixedNow());
        RateDialog dialog(rate, m_env->ui());
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("rateType"))->currentText(),
                 QStringLiteral("Discount Rate"));
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("rateType"))->count(), 5);
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("rate"))->text(),
                 QStringLiteral("-2.50"));
        // A description longer than the dialog takes is shown whole.
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("description"))->text(),
                 rate.description);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lastModified"))->text(),
                 QStringLiteral("Monday, December 7, 2026 10:00:00 AM"));
    }

    void f1OpensTheRatesTopic() {
        open();
        QCOMPARE(helpTopicOnF1(*m_dialog), QStringLiteral("ratesetup"));
    }
};

TEMPOLATCH_TEST(RatesSetupDialogTest);
#include "RatesSetupDialogTest.moc"
