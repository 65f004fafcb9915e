#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseActions.h"
#include "expenses/ExpenseEditor.h"
#include "expenses/ExpenseSamples.h"
#include "expenses/ExpenseSummary.h"
#include "expenses/ExpenseWindow.h"
#include "platform/StringTable.h"
#include "records/ExpenseFilter.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "views/EntryListWidget.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;

namespace {

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

// Leaving a box as the user does: the value typed, then the focus moved on.
void leave(QSpinBox* box, int value) {
    box->setValue(value);
    Q_EMIT box->editingFinished();
}

}  // namespace

class ExpenseEditorTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(test::prepareExpenseTest());
    }

    // A new mileage expense from the window: odometer 1000 and distance 25
    // give End Odo. 1025; rate 0.35 over 120 gives "USD42.00"; OK saves it
    // with its client, project and drop-list values, and the window
    // selects it.
    void newMileageExpense() {
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        test::onNextModal([](QDialog* dialog) {
            auto* editor = qobject_cast<ExpenseEditor*>(dialog);
            QVERIFY(editor);
            QCOMPARE(editor->windowTitle(), QStringLiteral("New Mileage Expense"));
            child<QComboBox>(editor, "client")->setEditText(QStringLiteral("Globex"));
            child<QComboBox>(editor, "project")->setEditText(QStringLiteral("Depot"));
            child<QComboBox>(editor, "description")->setEditText(QStringLiteral("Site visit"));
            QVERIFY(!child<QComboBox>(editor, "category")->isEnabled());
            editor->tabs()->setCurrentIndex(ExpenseEditor::ExpensePage);
            QCOMPARE(editor->tabs()->currentIndex(), int(ExpenseEditor::ExpensePage));
            QVERIFY(child<QWidget>(editor, "mileagePage"));
            auto* start = child<QSpinBox>(editor, "odometerStart");
            auto* end = child<QSpinBox>(editor, "odometerEnd");
            auto* distance = child<QSpinBox>(editor, "distance");
            QCOMPARE(start->maximum(), 999999);
            QCOMPARE(child<QComboBox>(editor, "currency")->currentText(), QStringLiteral("USD"));
            leave(start, 1000);
            QCOMPARE(end->value(), 0);  // the start alone changes neither
            leave(distance, 25);
            QCOMPARE(end->value(), 1025);
            leave(end, 1120);
            QCOMPARE(distance->value(), 120);
            child<QComboBox>(editor, "status")->setCurrentIndex(1);
            child<QLineEdit>(editor, "rate")->setText(QStringLiteral("0.35"));
            child<QPushButton>(editor, "calculate")->click();
            QCOMPARE(child<QLineEdit>(editor, "total")->text(), QStringLiteral("USD42.00"));
            child<QCheckBox>(editor, "receipt")->setChecked(true);
            child<QPlainTextEdit>(editor, "note")->setPlainText(QStringLiteral("Toll road"));
            child<QComboBox>(editor, "custom1")->setEditText(QStringLiteral("Van"));
            editor->accept();
        });
        window.onCommand(cmd::NewMileageExpense);
        const quint32 id = window.entryList()->selectedRecordId();
        QVERIFY(id != 0);
        const ExpenseEntry e = *Expenses(m_env->store()).find(id);
        QCOMPARE(e.type, ExpenseType::Mileage);
        QCOMPARE(e.amount, 35);
        QCOMPARE(e.startOdometer, 1000);
        QCOMPARE(e.distance, 120);
        QCOMPARE(e.endOdometer(), 1120);
        QCOMPARE(e.totalAmount(), 42.0);
        QCOMPARE(e.status, EntryStatus::Billable);
        QVERIFY(e.receipt);
        QCOMPARE(e.note, QStringLiteral("Toll road"));
        QCOMPARE(e.custom1, QStringLiteral("Van"));
        QCOMPARE(e.date, test::at(2026, 12, 7));
        QCOMPARE(e.modified, platform::Clock::nowFileTime());

        RecordStore& store = m_env->store();
        const quint32 client =
            findClientId(store.clientStructure().clients, QStringLiteral("Globex"));
        QVERIFY(client != NoClientId);
        QCOMPARE(listProjects(store.clientStructure().projects, client),
                 QStringList{QStringLiteral("Depot")});
        Lists lists(store.objectStore());
        QCOMPARE(lists.texts(ListKind::Description), QStringList{QStringLiteral("Site visit")});
        QCOMPARE(lists.texts(ListKind::Custom1), QStringList{QStringLiteral("Van")});
        QCOMPARE(lists.texts(ListKind::Currency), QStringList{QStringLiteral("USD")});
        QVERIFY(lists.texts(ListKind::Category).isEmpty());
    }

    // Message 22: the page stays, and OK does not save.
    void clientRequired() {
        ExpenseEditor editor(m_env->context(),
                             expenseactions::fresh(ExpenseType::General, QStringLiteral("USD")),
                             ExpenseEditor::GeneralPage);
        editor.tabs()->setCurrentIndex(ExpenseEditor::NotePage);
        QCOMPARE(editor.tabs()->currentIndex(), int(ExpenseEditor::GeneralPage));
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(22)});
        QCOMPARE(m_env->ui().shown().first().icon, test::MessageIcon::Warning);
        editor.accept();
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QCOMPARE(m_env->ui().shownTexts().size(), 2);
        int count = 0;
        Expenses(m_env->store()).forEach([&count](const ExpenseEntry&) {
            ++count;
            return true;
        });
        QCOMPARE(count, 0);
    }

    // While Non Billable the rate, currency, bill to, receipt and Calculate
    // are off; Paid Date... only while Paid.
    void mileageEnabling() {
        ExpenseEntry e = test::mileageExpense(35, 120);
        e.status = EntryStatus::NonBillable;
        ExpenseEditor editor(m_env->context(), e, ExpenseEditor::ExpensePage);
        auto* status = child<QComboBox>(&editor, "status");
        QCOMPARE(status->count(), 4);
        QCOMPARE(status->itemText(3), QStringLiteral("Paid"));
        const char* billable[] = {"rate", "currency", "billTo", "receipt", "calculate"};
        for (const char* name : billable)
            QVERIFY2(!child<QWidget>(&editor, name)->isEnabled(), name);
        QVERIFY(!child<QWidget>(&editor, "paidDateButton")->isEnabled());
        status->setCurrentIndex(3);
        for (const char* name : billable)
            QVERIFY2(child<QWidget>(&editor, name)->isEnabled(), name);
        QVERIFY(child<QWidget>(&editor, "paidDateButton")->isEnabled());
        // Opening on the page shows the stored values.
        QCOMPARE(child<QLineEdit>(&editor, "rate")->text(), QStringLiteral("0.35"));
        QCOMPARE(child<QSpinBox>(&editor, "odometerEnd")->value(), 1120);
    }

    // An end before the start is no negative distance.
    void odometerEndBeforeStart() {
        ExpenseEditor editor(m_env->context(), test::mileageExpense(35, 50),
                             ExpenseEditor::ExpensePage);
        leave(child<QSpinBox>(&editor, "odometerEnd"), 900);
        QCOMPARE(child<QSpinBox>(&editor, "distance")->value(), 0);
        QCOMPARE(child<QSpinBox>(&editor, "odometerEnd")->value(), 1000);
        leave(child<QSpinBox>(&editor, "distance"), 999999);
        QCOMPARE(child<QSpinBox>(&editor, "odometerEnd")->value(), 999999);
    }

    // Editing a general expense: the amount, the client's contacts offered
    // for Bill To, and a paid status without a chosen date gets today.
    void editGeneralExpense() {
        RecordStore& store = m_env->store();
        Client acme;
        acme.name = QStringLiteral("Acme");
        ClientStructure structure(store);
        QVERIFY(succeeded(structure.addClient(acme)));
        structure.contacts().add(acme.clientId, QStringLiteral("Jane Roe"));
        ExpenseEntry e = test::generalExpense(1250);
        test::storeExpense(e);
        ExpenseEditor editor(m_env->context(), e, ExpenseEditor::GeneralPage);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Edit General Expense"));
        QVERIFY(child<QComboBox>(&editor, "category")->isEnabled());
        QCOMPARE(child<QComboBox>(&editor, "category")->currentText(), QStringLiteral("Meals"));
        editor.tabs()->setCurrentIndex(ExpenseEditor::ExpensePage);
        QVERIFY(child<QWidget>(&editor, "generalExpensePage"));
        auto* amount = child<QLineEdit>(&editor, "amount");
        QCOMPARE(amount->text(), QStringLiteral("12.50"));
        auto* billTo = child<QComboBox>(&editor, "billTo");
        QCOMPARE(billTo->count(), 1);
        QCOMPARE(billTo->itemText(0), QStringLiteral("Jane Roe"));
        amount->setText(QStringLiteral("19.991234567890123"));  // only 15 characters count
        child<QComboBox>(&editor, "status")->setCurrentIndex(3);
        editor.accept();
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        const ExpenseEntry saved = *Expenses(store).find(e.recordId);
        QCOMPARE(saved.amount, 1999);
        QCOMPARE(saved.status, EntryStatus::Paid);
        QCOMPARE(saved.paidDate, platform::Clock::nowFileTime());
        QCOMPARE(saved.category, QStringLiteral("Meals"));
        QCOMPARE(Lists(store.objectStore()).texts(ListKind::Category),
                 QStringList{QStringLiteral("Meals")});
    }

    // A negative amount cannot be stored: the editor says so and stays on
    // the Expense page.
    void negativeAmountRefused_data() {
        QTest::addColumn<bool>("mileage");
        QTest::addColumn<int>("message");
        QTest::newRow("general") << false << str::NegativeAmount;
        QTest::newRow("mileage") << true << str::NegativeRate;
    }

    void negativeAmountRefused() {
        QFETCH(bool, mileage);
        QFETCH(int, message);
        ExpenseEntry e = mileage ? test::mileageExpense(35, 10) : test::generalExpense(100);
        ExpenseEditor editor(m_env->context(), e, ExpenseEditor::ExpensePage);
        child<QLineEdit>(&editor, mileage ? "rate" : "amount")->setText(QStringLiteral("-0.01"));
        editor.tabs()->setCurrentIndex(ExpenseEditor::GeneralPage);
        editor.accept();
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QCOMPARE(editor.tabs()->currentIndex(), int(ExpenseEditor::ExpensePage));
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(message)});
        child<QLineEdit>(&editor, mileage ? "rate" : "amount")->setText(QStringLiteral("0"));
        editor.accept();
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(editor.expense().amount, 0);
    }

    void summaryRows() {
        m_env->settings().expenseCustom1 = QStringLiteral("Vehicle");
        ExpenseEntry e = test::mileageExpense(35, 120);
        e.custom1 = QStringLiteral("Van");
        e.billTo = QStringLiteral("Jane Roe");
        const QStringList rows = ExpenseSummary::rows(e, m_env->settings());
        QCOMPARE(rows, (QStringList{"General", "Monday, December 7, 2026", "Mileage Expense",
                                    "Site visit", "Acme", "Website", "1000 - 1120 (120)", "Expense",
                                    "Billable", "USD0.35 x 120", "USD42.00", "Jane Roe",
                                    "No receipt", "Custom Fields", "Vehicle: Van"}));
        // A value that reads like a section title is still a value.
        e.description = QStringLiteral("General");
        QStringList sections;
        for (const ExpenseSummary::Row& row : ExpenseSummary::summaryRows(e, m_env->settings()))
            if (row.section)
                sections << row.text;
        QCOMPARE(sections, (QStringList{"General", "Expense", "Custom Fields"}));
    }
};

TEMPOLATCH_TEST(ExpenseEditorTest);
#include "ExpenseEditorTest.moc"
