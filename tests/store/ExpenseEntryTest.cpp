#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;
using test::at;
using test::idsOf;
using test::rawRecord;

namespace {

ExpenseEntry general() {
    ExpenseEntry e;
    e.date = at(2026, 12, 7);
    e.client = QStringLiteral("Acme");
    e.modified = at(2026, 12, 7, 10);
    return e;
}

ExpenseEntry fullMileage() {
    ExpenseEntry e = general();
    e.type = ExpenseType::Mileage;
    e.description = QStringLiteral("Site visit");
    e.project = QStringLiteral("Web");
    e.category = QStringLiteral("Travel");  // not kept for mileage
    e.startOdometer = 10250;
    e.distance = 120;
    e.status = EntryStatus::Paid;
    e.currency = QStringLiteral("USD");
    e.amount = 45;
    e.receipt = true;
    e.paidDate = at(2026, 12, 9);
    e.billTo = QStringLiteral("Jane");
    e.custom1 = QStringLiteral("x");
    e.custom2 = QStringLiteral("y");
    e.note = QStringLiteral("Parking included");
    return e;
}

}  // namespace

class ExpenseEntryTest : public test::EnvironmentTest {
    Q_OBJECT

    ExpenseDatabase& db() { return m_env->store().expenses(); }

    ExpenseEntry readBack(quint32 recordId) {
        return Expenses(db()).find(recordId).value_or(ExpenseEntry());
    }

    // Stores `before`, rewrites it as `after` and gives the stored ids.
    QList<quint32> updated(ExpenseEntry& before, ExpenseEntry after) {
        Expenses expenses(db());
        if (expenses.add(before, 3) != WriteResult::Written)
            return {};
        after.recordId = before.recordId;
        if (expenses.update(after, 3) != WriteResult::Written)
            return {};
        return idsOf(rawRecord(db(), before.recordId));
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void minimalGeneralExpenseStoresFiveProperties() {
        ExpenseEntry e = general();
        QVERIFY(Expenses(db()).add(e, 3) == WriteResult::Written);
        QCOMPARE(idsOf(rawRecord(db(), e.recordId)),
                 (QList<quint32>{prop::ExpenseType, prop::EntryDate, prop::ClientName,
                                 prop::Modified, prop::ChangeFlags}));
        e.changeFlags = 3;
        QCOMPARE(readBack(e.recordId), e);
    }

    void mileageExpenseInOrderWithOdometer() {
        ExpenseEntry e = fullMileage();
        QVERIFY(Expenses(db()).add(e, 3) == WriteResult::Written);
        QCOMPARE(
            idsOf(rawRecord(db(), e.recordId)),
            (QList<quint32>{prop::ExpenseType, prop::EntryDate, prop::Description, prop::ClientName,
                            prop::Project, prop::StartOdometer, prop::Distance, prop::Status,
                            prop::Currency, prop::Rate, prop::Receipt, prop::PaidDate, prop::BillTo,
                            prop::Custom1, prop::Custom2, prop::ExpenseNote, prop::Modified,
                            prop::ChangeFlags}));
        const ExpenseEntry back = readBack(e.recordId);
        QCOMPARE(back.category, QString());
        QCOMPARE(back.endOdometer(), 10370);
        QCOMPARE(amountText(back.totalAmount()), QStringLiteral("54.00"));
    }

    void zeroOdometerIsStillStored() {
        ExpenseEntry e = general();
        e.type = ExpenseType::Mileage;
        QVERIFY(Expenses(db()).add(e, 3) == WriteResult::Written);
        const PropertyList props = rawRecord(db(), e.recordId);
        QVERIFY(findProperty(props, prop::StartOdometer));
        QVERIFY(findProperty(props, prop::Distance));
    }

    void generalAmount() {
        ExpenseEntry e = general();
        e.amount = 1999;
        e.distance = 40;  // not a mileage expense
        QCOMPARE(amountText(e.totalAmount()), QStringLiteral("19.99"));
    }

    void updateRemovesWhatHasNoValue_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<quint32>("removed");
        QTest::newRow("receipt cleared") << "receipt" << prop::Receipt;
        QTest::newRow("back to non billable") << "status" << prop::Status;
        QTest::newRow("general to mileage") << "type" << prop::Category;
        QTest::newRow("note emptied") << "note" << prop::ExpenseNote;
    }
    void updateRemovesWhatHasNoValue() {
        QFETCH(QString, change);
        QFETCH(quint32, removed);
        ExpenseEntry before = general();
        before.category = QStringLiteral("Meals");
        before.receipt = true;
        before.status = EntryStatus::Billable;
        before.note = QStringLiteral("n");
        ExpenseEntry after = before;
        if (change == QLatin1String("receipt"))
            after.receipt = false;
        else if (change == QLatin1String("status"))
            after.status = EntryStatus::NonBillable;
        else if (change == QLatin1String("type"))
            after.type = ExpenseType::Mileage;
        else
            after.note.clear();
        const QList<quint32> ids = updated(before, after);
        QVERIFY(!ids.isEmpty());
        QVERIFY(!ids.contains(removed));
        ExpenseEntry back = readBack(before.recordId);
        after.category = after.type == ExpenseType::Mileage ? QString() : after.category;
        after.changeFlags = 7;
        after.recordId = before.recordId;
        QCOMPARE(back, after);
    }

    void mileageToGeneralRemovesOdometer() {
        ExpenseEntry after = fullMileage();
        after.type = ExpenseType::General;
        ExpenseEntry before = fullMileage();
        const QList<quint32> ids = updated(before, after);
        QVERIFY(ids.contains(prop::Category));
        QVERIFY(!ids.contains(prop::StartOdometer));
        QVERIFY(!ids.contains(prop::Distance));
    }

    void receiptOnlyWhenExactlyOne() {
        Property receipt = Property::boolean(prop::Receipt, true);
        receipt.number = 2;
        const quint32 id =
            db().addProperties({Property::fileTime(prop::EntryDate, at(2026, 1, 1)), receipt});
        QVERIFY(!readBack(id).receipt);
    }

    void negativeAmountIsRefused() {
        ExpenseEntry e = general();
        e.amount = -500;
        QVERIFY(Expenses(db()).add(e, 3) != WriteResult::Written);
        QCOMPARE(db().recordCount(), 0);
    }
};

TEMPOLATCH_TEST(ExpenseEntryTest);
#include "ExpenseEntryTest.moc"
