#include <QTest>
#include <QtEndian>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "reports/LayoutRows.h"
#include "reports/LayoutSession.h"
#include "reports/ReportLayout.h"
#include "reports/SavedReports.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"

using namespace tempolatch;

namespace {

void putU16(QByteArray& bytes, int offset, quint16 value) {
    qToLittleEndian(value, bytes.data() + offset);
}
void putText(QByteArray& bytes, int offset, const QString& text) {
    for (int i = 0; i < text.size(); ++i)
        putU16(bytes, offset + 2 * i, text.at(i).unicode());
}

}  // namespace

class ReportLayoutTest : public test::EnvironmentTest {
    Q_OBJECT

    SavedReports reports() { return SavedReports(m_env->store()); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void builtInDefaults_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("dateSelection");
        QTest::addColumn<quint32>("groupBy");
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("invoiceNumber");
        const QString title = QStringLiteral("Tempolatch Summary Report");
        QTest::newRow("group-by") << 0 << 300 << 1 << 0x03EA001Fu << 1599u << title << QString();
        QTest::newRow("tabular") << 1 << 300 << 2 << 0u << 1599u << title << QString();
        QTest::newRow("invoice") << 2 << 0 << 0 << 0u << 50045u << QString() << QStringLiteral("-");
    }
    void builtInDefaults() {
        QFETCH(int, kind);
        const ReportLayout layout = ReportLayout::builtInDefault(kind);
        const QByteArray bytes = layout.toBytes();
        QCOMPARE(bytes.size(), 272);
        QCOMPARE(int(layout.version()), QTest::currentDataTag() == QByteArray("invoice") ? 0 : 300);
        QTEST(int(layout.version()), "version");
        QCOMPARE(int(layout.reportType()), kind);
        QTEST(int(layout.dateSelection()), "dateSelection");
        QTEST(layout.groupBy(), "groupBy");
        QTEST(layout.fieldMask(), "mask");
        QTEST(layout.title(), "title");
        QTEST(layout.invoiceNumber(), "invoiceNumber");
        QCOMPARE(bytes.mid(140, 16), QByteArray(16, '\1'));
        QCOMPARE(layout.fieldOrder(), QStringLiteral("01234a95bcde678fghijklmnopqrst"));
        QCOMPARE(bytes.mid(2, 2), QByteArray(2, '\0'));
        QCOMPARE(bytes.mid(216, 4), QByteArray(4, '\0'));  // the order's NUL and the zero word
        if (kind == ReportLayout::Invoice)
            QCOMPARE(layout.invoiceDate().year, quint16(2026));
        else
            QCOMPARE(bytes.mid(224), QByteArray(48, '\0'));
        // The shown fields in order: 0 1 2 3 4 a(10) 9 5 of the mask 1599.
        if (kind != ReportLayout::Invoice)
            QCOMPARE(layout.timeColumns(), (QList<int>{0, 1, 2, 3, 4, 10, 9, 5}));
    }

    // Stored layouts of the three sizes; any other size is refused.
    void storedSizes() {
        ReportLayout full = ReportLayout::builtInDefault(ReportLayout::Invoice);
        full.setInvoiceNumber(QStringLiteral("INV-7"));
        const auto read272 = ReportLayout::fromStored(full.toBytes());
        QVERIFY(read272);
        QCOMPARE(read272->version(), quint16(300));  // always read as 300
        QCOMPARE(read272->invoiceNumber(), QStringLiteral("INV-7"));
        QCOMPARE(read272->toBytes().mid(2), full.toBytes().mid(2));

        const auto read224 = ReportLayout::fromStored(full.toBytes().left(224));
        QVERIFY(read224);
        QCOMPARE(read224->invoiceNumber(), QString());
        QCOMPARE(read224->toBytes().mid(224), QByteArray(48, '\0'));
        QCOMPARE(read224->fieldMask(), 50045u);

        for (const int size : {0, 219, 221, 223, 225, 271, 273})
            QVERIFY2(!ReportLayout::fromStored(QByteArray(size, '\1')),
                     qPrintable(QString::number(size)));
    }

    // The older 220-byte form: hide flags become show flags, the billed
    // totals stay hidden, and a short order is completed.
    void olderForm() {
        QByteArray old(220, '\0');
        putText(old, 0, QStringLiteral("Old report"));
        putU16(old, 130, 2);
        qToLittleEndian(quint32(0x03EB001F), old.data() + 132);
        // Hidden: group title, unpaid amount, report date; the rest shown.
        const quint16 hide[] = {1, 0, 0, 1, 0, 0, 1};
        for (int i = 0; i < 7; ++i)
            putU16(old, 136 + 2 * i, hide[i]);
        putText(old, 152, QStringLiteral("0123456789abcdefg"));  // 17 codes
        qToLittleEndian(quint32(0x3FFFF), old.data() + 216);
        auto layout = ReportLayout::fromStored(old);
        QVERIFY(layout);
        QCOMPARE(layout->version(), quint16(300));
        QCOMPARE(layout->title(), QStringLiteral("Old report"));
        QCOMPARE(layout->reportType(), quint16(0));
        QCOMPARE(layout->dateSelection(), quint16(2));
        QCOMPARE(layout->groupBy(), 0x03EB001Fu);
        QCOMPARE(layout->groupByIndex(), 2);
        QCOMPARE(layout->shows(ReportLayout::GroupTitle), false);
        QCOMPARE(layout->shows(ReportLayout::GroupTotalHours), true);
        QCOMPARE(layout->shows(ReportLayout::TotalBillableHours), true);
        QCOMPARE(layout->shows(ReportLayout::TotalBilledHours), false);
        QCOMPARE(layout->shows(ReportLayout::TotalUnpaidAmount), false);
        QCOMPARE(layout->shows(ReportLayout::TotalBilledAmount), false);
        QCOMPARE(layout->shows(ReportLayout::TotalPaidAmount), true);
        QCOMPARE(layout->shows(ReportLayout::TotalNonBillableHours), true);
        QCOMPARE(layout->shows(ReportLayout::ReportDate), false);
        QCOMPARE(layout->fieldMask(), 0x3FFFFu);
        QCOMPARE(layout->timeColumns().size(), 17);
        layout->completeFieldOrder();
        QCOMPARE(layout->fieldOrder(), QStringLiteral("0123456789abcdefghijklmnopqrst"));
        QCOMPARE(layout->timeColumns().size(), 18);
        // An order of 18 codes is left alone.
        layout->setFieldOrder(QStringLiteral("0123456789abcdefgh"));
        layout->completeFieldOrder();
        QCOMPARE(layout->fieldOrder().size(), 18);
    }

    // Texts longer than their fields are cut so that the terminator fits.
    void textLimits() {
        ReportLayout layout;
        layout.setTitle(QString(70, QLatin1Char('t')));
        layout.setInvoiceNumber(QStringLiteral("1234567890123456789"));
        QCOMPARE(layout.title().size(), 63);
        QCOMPARE(layout.invoiceNumber(), QStringLiteral("123456789012345"));
        QCOMPARE(layout.toBytes().mid(4 + 126, 2), QByteArray(2, '\0'));
        layout.setGroupBy(0);
        QVERIFY(layout.groupByIndex() == -1);
    }

    // The dialog's rows: per kind, 18 field rows for a completed order of
    // 17 codes, moves only among field rows, and the layout collected back.
    void dialogRows() {
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::GroupBy);
        layout.setFieldOrder(QStringLiteral("0123456789abcdefg"));
        layout.completeFieldOrder();
        QList<LayoutRow> rows = layoutRows(layout, ReportLayout::GroupBy);
        const auto fieldRows = [&] {
            return std::count_if(rows.begin(), rows.end(),
                                 [](const LayoutRow& r) { return r.kind == LayoutRow::Field; });
        };
        QCOMPARE(fieldRows(), 18);
        QCOMPARE(rows.size(), 1 + 2 + 1 + 3 + 1 + 18 + 1 + 7);
        QCOMPARE(rows[4].valueText(), QStringLiteral("Client"));  // Group By
        const int first = 8;
        QCOMPARE(rows[first].label, QStringLiteral("Entry Date"));
        QVERIFY(!canMoveUp(rows, first));
        QVERIFY(canMoveDown(rows, first));
        QVERIFY(!canMoveDown(rows, first + 17));
        QVERIFY(!canMoveUp(rows, first - 1));  // a section row
        QVERIFY(!canMoveDown(rows, 1));
        // Swap the first two fields, hide the date, show the note, retitle.
        rows.swapItemsAt(first, first + 1);
        rows[first + 1].choice = 1;
        rows[first + 16].choice = 0;
        rows[1].text = QStringLiteral("New title");
        rows[2].choice = 0;
        rows[4].choice = 14;  // rate type
        rows.last().choice = 1;
        collectLayout(rows, layout);
        QCOMPARE(layout.fieldOrder(), QStringLiteral("1023456789abcdefgh"));
        QVERIFY(!(layout.fieldMask() & 1u));
        QVERIFY(layout.fieldMask() & (1u << 16));
        QCOMPARE(layout.title(), QStringLiteral("New title"));
        QCOMPARE(layout.dateSelection(), quint16(0));
        QCOMPARE(layout.groupBy(), 0x03FA0012u);
        QVERIFY(!layout.shows(ReportLayout::ReportDate));

        // A Group By layout in the Tabular dialog has no group rows; in
        // the Group By dialog a Tabular layout's group rows are disabled.
        QCOMPARE(layoutRows(layout, ReportLayout::Tabular).size(), 1 + 2 + 1 + 1 + 18 + 1 + 7);
        const auto invoiceRows = layoutRows(ReportLayout::builtInDefault(2), ReportLayout::Invoice);
        QCOMPARE(invoiceRows.size(), 1 + 1 + 1 + 1 + 18 + 1 + 1);
        QCOMPARE(invoiceRows[1].text, QStringLiteral("-"));
        const auto tabularInGroupBy =
            layoutRows(ReportLayout::builtInDefault(ReportLayout::Tabular), ReportLayout::GroupBy);
        QVERIFY(!tabularInGroupBy[4].enabled);
    }

    void savedReports() {
        SavedReports store = reports();
        QVERIFY(store.list(0, 2).isEmpty());
        ReportLayout tabular = ReportLayout::builtInDefault(ReportLayout::Tabular);
        tabular.setTitle(QStringLiteral("Weekly"));
        const quint32 a = store.write(QStringLiteral("Weekly"), tabular, 0);
        QVERIFY(a != 0);
        ReportLayout expense = ReportLayout::builtInDefault(ReportLayout::Tabular);
        expense.setReportType(ReportLayout::MileageExpense);
        QVERIFY(store.write(QStringLiteral("Miles"), expense, 0) != 0);
        QCOMPARE(store.list(0, 2).size(), 1);
        QCOMPARE(store.list(0, 4).size(), 2);
        QCOMPARE(store.find(QStringLiteral("Weekly")), a);
        QCOMPARE(store.find(QStringLiteral("weekly")), 0u);  // case counts
        QCOMPARE(store.read(a)->layout.title(), QStringLiteral("Weekly"));
        QVERIFY(store.rename(a, QStringLiteral("Week")));
        QCOMPARE(store.find(QStringLiteral("Week")), a);
        tabular.setTitle(QStringLiteral("Changed"));
        QCOMPARE(store.write(QStringLiteral("Week"), tabular, a), a);
        QCOMPARE(store.read(a)->layout.title(), QStringLiteral("Changed"));
        QVERIFY(store.remove(a));
        QVERIFY(!store.read(a));
        QVERIFY(!store.remove(a));
    }

    // The dialog starts from the kind's default report; a default that
    // names no saved report any more is cleared.
    void startingFromTheDefault() {
        SavedReports store = reports();
        ReportLayout mine = ReportLayout::builtInDefault(ReportLayout::GroupBy);
        mine.setTitle(QStringLiteral("Mine"));
        const quint32 id = store.write(QStringLiteral("Mine"), mine, 0);
        Settings& settings = m_env->settings();
        settings.defaultReports[0] = QStringLiteral("Mine");
        settings.defaultReports[1] = QStringLiteral("Gone");
        LayoutSession groupBy(0, settings, store);
        QCOMPARE(groupBy.currentName(), QStringLiteral("Mine"));
        QCOMPARE(groupBy.recordId(), id);
        QCOMPARE(groupBy.layout().title(), QStringLiteral("Mine"));
        LayoutSession tabular(1, settings, store);
        QCOMPARE(tabular.currentName(), QString());
        QCOMPARE(tabular.layout(), ReportLayout::builtInDefault(1));
        QCOMPARE(settings.defaultReports[1], QString());
        QCOMPARE(settings.defaultReports[0], QStringLiteral("Mine"));
    }

    // Set As Default twice gives back the state before.
    void setAsDefaultTwice() {
        SavedReports store = reports();
        Settings& settings = m_env->settings();
        LayoutSession session(1, settings, store);
        QVERIFY(!session.canSetDefault());
        QCOMPARE(session.save(QStringLiteral("R1"), [] { return false; }),
                 LayoutSession::SaveResult::Saved);
        QVERIFY(!session.isDefault());
        session.toggleDefault();
        QVERIFY(session.isDefault());
        QCOMPARE(settings.defaultReports[1], QStringLiteral("R1"));
        session.toggleDefault();
        QVERIFY(!session.isDefault());
        QCOMPARE(settings.defaultReports[1], QString());
    }

    // Saving under another report's name asks; No writes nothing, Yes
    // writes over that report.
    void saveOverAnotherReport() {
        SavedReports store = reports();
        LayoutSession session(0, m_env->settings(), store);
        QCOMPARE(session.save(QStringLiteral("A"), [] { return false; }),
                 LayoutSession::SaveResult::Saved);
        const quint32 a = session.recordId();
        session.loadDefault();
        session.layout().setTitle(QStringLiteral("B's"));
        QCOMPARE(session.save(QStringLiteral("B"), [] { return false; }),
                 LayoutSession::SaveResult::Saved);
        int asked = 0;
        QCOMPARE(session.save(QStringLiteral("A"), [&] { return ++asked, false; }),
                 LayoutSession::SaveResult::NameTaken);
        QCOMPARE(asked, 1);
        QCOMPARE(session.currentName(), QStringLiteral("B"));
        QCOMPARE(store.read(a)->layout.title(), QStringLiteral("Tempolatch Summary Report"));
        QCOMPARE(session.save(QStringLiteral("A"), [&] { return ++asked, true; }),
                 LayoutSession::SaveResult::Saved);
        QCOMPARE(session.recordId(), a);
        QCOMPARE(store.read(a)->layout.title(), QStringLiteral("B's"));
        // Saving again under its own name asks nothing.
        QCOMPARE(session.save(QStringLiteral("A"), [&] { return ++asked, false; }),
                 LayoutSession::SaveResult::Saved);
        QCOMPARE(asked, 2);
        QCOMPARE(store.list(0, 2).size(), 2);
    }
};

TEMPOLATCH_TEST(ReportLayoutTest);
#include "ReportLayoutTest.moc"
