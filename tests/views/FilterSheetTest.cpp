#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "records/EntryFilter.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Lists.h"
#include "store/ListsDatabase.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "views/FilterSheet.h"

using namespace tempolatch;

namespace {

QStringList items(const QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

}  // namespace

class FilterSheetTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<FilterSheet> m_sheet;

    QComboBox* list(const char* name) {
        return m_sheet->findChild<QComboBox*>(QString::fromLatin1(name));
    }
    QCheckBox* box(const char* name) {
        return m_sheet->findChild<QCheckBox*>(QString::fromLatin1(name));
    }
    quint32 addClientNamed(const QString& name) {
        Client client;
        client.name = name;
        addClient(m_env->store().clientStructure().clients, client);
        return client.clientId;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        ClientStructureStore& structure = m_env->store().clientStructure();
        const quint32 acme = addClientNamed(QStringLiteral("Acme"));
        const quint32 zeta = addClientNamed(QStringLiteral("Zeta"));
        addProjectTask(structure.projects, acme, QStringLiteral("Site"), QStringLiteral("Paint"));
        addProjectTask(structure.projects, zeta, QStringLiteral("Shop"), QStringLiteral("Sell"));
        addContact(structure.contacts, acme, QStringLiteral("Ann"));
        addContact(structure.contacts, zeta, QStringLiteral("Zoe"));
        Lists(m_env->store().objectStore()).add(ListKind::Phase, QStringLiteral("Design"));
        Lists(m_env->store().objectStore()).add(ListKind::Currency, QStringLiteral("EUR"));
        Lists(m_env->store().objectStore()).add(ListKind::Custom2, QStringLiteral("Blue"));
    }
    void cleanup() {
        m_sheet.reset();
        EnvironmentTest::cleanup();
    }

    void listsStartWithAll() {
        EntryFilter filter;
        m_sheet = std::make_unique<FilterSheet>(filter, m_env->context());
        QCOMPARE(items(list("client")), (QStringList{"(All)", "Acme", "Zeta"}));
        QCOMPARE(items(list("project")), QStringList{"(All)"});
        QCOMPARE(items(list("billTo")), QStringList{"(All)"});
        QCOMPARE(items(list("phase")), (QStringList{"(All)", "Design"}));
        QCOMPARE(items(list("currency")), (QStringList{"(All)", "EUR"}));
        QCOMPARE(items(list("custom1")), QStringList{"(All)"});
        QCOMPARE(items(list("custom2")), (QStringList{"(All)", "Blue"}));
        QCOMPARE(items(list("rateType")),
                 (QStringList{"(All)", "Normal Rate", "Overtime Rate", "Weekend Rate", "Fixed Rate",
                              "Discount Rate"}));
        for (const char* name : {"unpaid", "billed", "paid", "nonBillable"})
            QVERIFY(box(name)->isChecked());
    }

    void choosingAClientRefillsProjectAndBillTo() {
        EntryFilter filter;
        m_sheet = std::make_unique<FilterSheet>(filter, m_env->context());
        QComboBox* client = list("client");
        client->setCurrentIndex(2);
        Q_EMIT client->activated(2);
        QCOMPARE(items(list("project")), (QStringList{"(All)", "Shop"}));
        QCOMPARE(items(list("billTo")), (QStringList{"(All)", "Zoe"}));
        list("project")->setCurrentIndex(1);
        client->setCurrentIndex(1);
        Q_EMIT client->activated(1);
        QCOMPARE(items(list("project")), (QStringList{"(All)", "Site"}));
        QCOMPARE(list("project")->currentIndex(), 0);
        QCOMPARE(list("billTo")->currentIndex(), 0);
        list("billTo")->setCurrentIndex(1);
        box("paid")->setChecked(false);
        list("rateType")->setCurrentIndex(4);
        m_sheet->accept();
        QCOMPARE(filter.client, QStringLiteral("Acme"));
        QCOMPARE(filter.project, QString());
        QCOMPARE(filter.billTo, QStringLiteral("Ann"));
        QVERIFY(!filter.paid && filter.billable && filter.billed && filter.nonBillable);
        QCOMPARE(filter.rateType, 3);
    }

    // The criteria shown are the criteria kept: OK without changes changes nothing.
    void reopenedSheetKeepsTheCriteria() {
        EntryFilter filter;
        filter.client = QStringLiteral("Acme");
        filter.project = QStringLiteral("Site");
        filter.billTo = QStringLiteral("Gone");
        filter.currency = QStringLiteral("EUR");
        filter.task = QStringLiteral("Paint");
        filter.custom3 = QStringLiteral("x");
        filter.rateType = 0;
        filter.nonBillable = false;
        const EntryFilter before = filter;
        m_sheet = std::make_unique<FilterSheet>(filter, m_env->context());
        QCOMPARE(list("client")->currentText(), QStringLiteral("Acme"));
        QCOMPARE(items(list("project")), (QStringList{"(All)", "Site"}));
        QCOMPARE(list("billTo")->currentText(), QStringLiteral("Gone"));
        QCOMPARE(list("rateType")->currentIndex(), 1);
        m_sheet->accept();
        QCOMPARE(filter, before);
    }

    // Only the rate type back to "(All)", the rest already any: no rate criterion.
    void rateTypeBackToAll() {
        EntryFilter filter;
        filter.rateType = 2;
        m_sheet = std::make_unique<FilterSheet>(filter, m_env->context());
        QCOMPARE(list("rateType")->currentIndex(), 3);
        list("rateType")->setCurrentIndex(0);
        m_sheet->accept();
        QCOMPARE(filter, EntryFilter());
    }

    void clearResetsBothPages() {
        EntryFilter filter;
        filter.client = QStringLiteral("Zeta");
        filter.phase = QStringLiteral("Design");
        filter.custom2 = QStringLiteral("Blue");
        filter.rateType = 4;
        filter.setFlags(EntryFilter::PaidFlag);
        m_sheet = std::make_unique<FilterSheet>(filter, m_env->context());
        m_sheet->findChild<QPushButton*>(QStringLiteral("clear"))->click();
        for (const char* name : {"client", "project", "phase", "billTo", "currency", "custom1",
                                 "custom2", "custom3", "rateType"})
            QCOMPARE(list(name)->currentIndex(), 0);
        for (const char* name : {"unpaid", "billed", "paid", "nonBillable"})
            QVERIFY(box(name)->isChecked());
        m_sheet->accept();
        QCOMPARE(filter, EntryFilter());
    }

    void cancelChangesNothing() {
        EntryFilter filter;
        filter.client = QStringLiteral("Zeta");
        m_sheet = std::make_unique<FilterSheet>(filter, m_env->context());
        m_sheet->clear();
        m_sheet->reject();
        QCOMPARE(filter.client, QStringLiteral("Zeta"));
    }
};

TEMPOLATCH_TEST(FilterSheetTest);
#include "FilterSheetTest.moc"
