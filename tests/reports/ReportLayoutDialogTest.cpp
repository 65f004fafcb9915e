#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "reports/ReportLayoutDialog.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "widgets/NameInputDialog.h"

using namespace tempolatch;

class ReportLayoutDialogTest : public test::EnvironmentTest {
    Q_OBJECT

    SavedReports reports() { return SavedReports(m_env->store()); }

    static void answerName(const QString& name) {
        test::onNextModal([name](QDialog* dialog) {
            auto* input = qobject_cast<NameInputDialog*>(dialog);
            QVERIFY(input);
            input->nameEdit()->setText(name);
            input->accept();
        });
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // Values edited in place and a moved field come back in the layout.
    void editsInPlace() {
        ReportLayoutDialog dialog(m_env->context(), ReportLayout::Tabular);
        QTableWidget* list = dialog.list();
        QCOMPARE(list->item(1, 0)->text(), QStringLiteral("Title: "));
        list->item(1, 1)->setText(QStringLiteral("Week 49"));
        qobject_cast<QComboBox*>(list->cellWidget(2, 1))->setCurrentIndex(0);
        // The first field row: Entry Date, moved below Client.
        const int first = 5;
        QCOMPARE(list->item(first, 0)->text(), QStringLiteral("Entry Date"));
        list->setCurrentCell(first - 1, 0);
        dialog.moveUp();  // a section row does not move
        list->setCurrentCell(first, 0);
        dialog.moveDown();
        QCOMPARE(list->item(first, 0)->text(), QStringLiteral("Client"));
        QCOMPARE(list->currentRow(), first + 1);
        const ReportLayout layout = dialog.layout();
        QCOMPARE(layout.title(), QStringLiteral("Week 49"));
        QCOMPARE(layout.dateSelection(), quint16(0));
        QVERIFY(layout.fieldOrder().startsWith(QStringLiteral("10234a95")));
        QCOMPARE(layout.timeColumns().first(), 1);
    }

    // Save asks for a name; Set As Default is checked, and pressed again
    // unchecked; a saved Group By layout loaded in the Tabular dialog
    // keeps its type.
    void saveLoadAndDefault() {
        ReportLayoutDialog groupBy(m_env->context(), ReportLayout::GroupBy);
        answerName(QStringLiteral("By client"));
        groupBy.save();
        QCOMPARE(groupBy.session().currentName(), QStringLiteral("By client"));
        groupBy.toggleDefault();
        QCOMPARE(m_env->settings().defaultReports[0], QStringLiteral("By client"));
        groupBy.toggleDefault();
        QCOMPARE(m_env->settings().defaultReports[0], QString());

        ReportLayoutDialog tabular(m_env->context(), ReportLayout::Tabular);
        test::onNextModal([](QDialog* dialog) { dialog->accept(); });
        tabular.loadCustom();
        QCOMPARE(tabular.session().currentName(), QStringLiteral("By client"));
        QCOMPARE(tabular.layout().reportType(), quint16(ReportLayout::GroupBy));
        tabular.loadDefault();
        QCOMPARE(tabular.layout().reportType(), quint16(ReportLayout::Tabular));
        QCOMPARE(tabular.session().currentName(), QString());

        // Saving under the other report's name, answering No, asks again.
        answerName(QStringLiteral("Mine"));
        tabular.save();
        m_env->ui().queueAnswer(test::Answer::No);
        answerName(QStringLiteral("By client"));
        QTimer::singleShot(300, [] { answerName(QStringLiteral("Other")); });
        tabular.save();
        QCOMPARE(
            m_env->ui().shownTexts(),
            QStringList{QStringLiteral("The report already exists. Do you want to overwrite it?")});
        QCOMPARE(tabular.session().currentName(), QStringLiteral("Other"));
        QCOMPARE(reports().list(0, 2).size(), 3);
    }

    // The mileage report's dialog: title, fields and Report Date only, the
    // moves in its menu alone; it saves, loads and sets as default only
    // mileage layouts, and the next dialog starts from its default.
    void expenseKind() {
        reports().write(QStringLiteral("Weekly"), ReportLayout::builtInDefault(1), 0);
        ReportLayoutDialog dialog(m_env->context(), ReportLayout::MileageExpense);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Mileage Expense Report"));
        QVERIFY(!dialog.findChild<QToolBar*>());
        QTableWidget* list = dialog.list();
        QCOMPARE(list->rowCount(), 3 + 16 + 2);
        QCOMPARE(list->item(1, 1)->text(), QStringLiteral("Mileage Expense Report"));
        QCOMPARE(list->item(3, 0)->text(), QStringLiteral("Entry Date"));
        QCOMPARE(list->item(7, 0)->text(), QStringLiteral("Start Odo."));
        QCOMPARE(list->item(8, 0)->text(), QStringLiteral("End Odo."));
        QCOMPARE(list->item(17, 0)->text(), QStringLiteral("Custom 2"));
        QCOMPARE(list->item(18, 0)->text(), QStringLiteral("Note"));
        QCOMPARE(list->item(19, 0)->text(), QStringLiteral("Footer Area"));
        QCOMPARE(list->item(20, 0)->text(), QStringLiteral("Report Date"));
        // Hide the description, put the distance first, retitle.
        list->item(1, 1)->setText(QStringLiteral("Trips of March"));
        qobject_cast<QComboBox*>(list->cellWidget(4, 1))->setCurrentIndex(1);
        list->setCurrentCell(9, 0);  // Distance
        for (int i = 0; i < 6; ++i)
            dialog.moveUp();
        QCOMPARE(list->item(3, 0)->text(), QStringLiteral("Distance"));
        list->setCurrentCell(3, 0);
        dialog.moveUp();  // the first field row stays
        QCOMPARE(list->item(3, 0)->text(), QStringLiteral("Distance"));
        const QList<int> columns{5, 0, 4, 16, 7, 8, 15, 12, 13};
        QCOMPARE(dialog.layout().columns(), columns);
        answerName(QStringLiteral("Trips"));
        dialog.save();
        dialog.toggleDefault();
        QCOMPARE(m_env->settings().defaultReports[4], QStringLiteral("Trips"));
        // Load Custom offers the mileage layout only.
        test::onNextModal([](QDialog* chooser) {
            QCOMPARE(chooser->findChild<QListWidget*>()->count(), 1);
            chooser->accept();
        });
        dialog.loadCustom();
        QCOMPARE(dialog.session().currentName(), QStringLiteral("Trips"));
        dialog.accept();

        ReportLayoutDialog next(m_env->context(), ReportLayout::MileageExpense);
        QCOMPARE(next.session().currentName(), QStringLiteral("Trips"));
        QCOMPARE(next.layout().title(), QStringLiteral("Trips of March"));
        QCOMPARE(next.layout().columns(), columns);
        next.loadDefault();
        QCOMPARE(next.session().layout(),
                 ReportLayout::builtInDefault(ReportLayout::MileageExpense));

        // The general report's dialog finds no saved report of its type.
        ReportLayoutDialog general(m_env->context(), ReportLayout::GeneralExpense);
        QCOMPARE(general.list()->rowCount(), 3 + 14 + 2);
        general.loadCustom();
        QCOMPARE(m_env->ui().shownTexts(),
                 QStringList{QStringLiteral("There is no saved report.")});
    }

    // A renamed default report stays the default under its new name; a
    // name another report has is refused and the old one shown again.
    void renameKeepsTheDefault() {
        SavedReports store = reports();
        store.write(QStringLiteral("Monthly"), ReportLayout::builtInDefault(1), 0);
        store.write(QStringLiteral("Weekly"), ReportLayout::builtInDefault(1), 0);
        m_env->settings().defaultReports[1] = QStringLiteral("Monthly");
        m_env->settings().defaultReports[2] = QStringLiteral("Monthly");
        test::onNextModal([](QDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("reportList"));
            const auto named = list->findItems(QStringLiteral("Monthly"), Qt::MatchExactly);
            QCOMPARE(named.size(), 1);
            named[0]->setText(QStringLiteral("Weekly"));  // taken
            QCOMPARE(named[0]->text(), QStringLiteral("Monthly"));
            named[0]->setText(QStringLiteral("Month end"));
            dialog->reject();
        });
        runOrganizeReports(m_env->context(), store, ReportLayout::Tabular, nullptr);
        QVERIFY(store.find(QStringLiteral("Month end")) != 0);
        QCOMPARE(store.find(QStringLiteral("Monthly")), 0u);
        QCOMPARE(m_env->settings().defaultReports[1], QStringLiteral("Month end"));
        QCOMPARE(m_env->settings().defaultReports[2], QStringLiteral("Month end"));
        // The layout dialog opens with it as before.
        ReportLayoutDialog dialog(m_env->context(), ReportLayout::Tabular);
        QCOMPARE(dialog.session().currentName(), QStringLiteral("Month end"));
    }

    // Organize Reports: Delete removes at once; with none left, message 168.
    void organize() {
        SavedReports store = reports();
        store.write(QStringLiteral("One"), ReportLayout::builtInDefault(1), 0);
        test::onNextModal([](QDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("reportList"));
            QCOMPARE(list->count(), 1);
            dialog->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
            QCOMPARE(list->count(), 0);
            dialog->reject();
        });
        runOrganizeReports(m_env->context(), store, ReportLayout::GroupBy, nullptr);
        QVERIFY(store.list(0, 2).isEmpty());
        runOrganizeReports(m_env->context(), store, ReportLayout::GroupBy, nullptr);
        QCOMPARE(m_env->ui().shownTexts(),
                 QStringList{QStringLiteral("There is no saved report.")});
    }
};

TEMPOLATCH_TEST(ReportLayoutDialogTest);
#include "ReportLayoutDialogTest.moc"
