#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"
#include "notes/NoteStream.h"
#include "platform/Registry.h"
#include "records/EntryFilter.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

using namespace tempolatch;
using platform::SystemTime;

namespace {

const QString kKey = QStringLiteral("Software\\Tempolatch");

using test::at;

TimeEntry entry(EntryStatus status = EntryStatus::Billable) {
    TimeEntry e;
    e.status = status;
    e.rateType = RateType::Overtime;
    e.client = QStringLiteral("Acme");
    e.project = QStringLiteral("Site");
    e.phase = QStringLiteral("Design");
    e.task = QStringLiteral("Drawing");
    e.billTo = QStringLiteral("Ann");
    e.currency = QStringLiteral("EUR");
    e.custom1 = QStringLiteral("c1");
    e.custom2 = QStringLiteral("c2");
    e.custom3 = QStringLiteral("c3");
    e.date = at(2026, 12, 7, 9, 30, 1);
    e.duration = 150;
    return e;
}

}  // namespace

class EntryFilterTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // Every word somewhere in the searched texts, in any case; the note only
    // through its reader.
    void search_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("found");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("client in small letters") << "acme" << true;
        QTest::newRow("words in two texts") << "SITE draw" << true;
        QTest::newRow("phase, bill to, custom 3") << "design ann c3" << true;
        QTest::newRow("in the note") << "header" << true;
        QTest::newRow("note and client") << "Acme fixed" << true;
        QTest::newRow("one word missing") << "acme footer" << false;
        QTest::newRow("a phrase stands in one text") << "\"acme site\"" << false;
        QTest::newRow("a phrase of the note") << "\"fixed the\"" << true;
        QTest::newRow("currency is no search text") << "eur" << false;
    }
    void search() {
        QFETCH(QString, words);
        QFETCH(bool, found);
        TimeEntry e = entry();
        e.note =
            NoteData::fromContent({NoteText::fromPlainText(QStringLiteral("Fixed the header")), {}})
                .bytes();
        EntryFilter filter;
        filter.search = SearchWords(words, noteToPlainText);
        QCOMPARE(filter.matches(e), found);
        // Show All and Show Unpaid Only leave the search box's words.
        filter.client = QStringLiteral("Other");
        filter.showAll();
        QCOMPARE(filter.matches(e), found);
        filter.showUnpaidOnly();
        QCOMPARE(filter.matches(e), found);
        // Without a reader the note is not searched; bytes that are no note
        // of ours are no text.
        filter.search = SearchWords(words);
        QCOMPARE(filter.matches(e), found && !words.contains(QLatin1String("header")) &&
                                        !words.contains(QLatin1String("fixed")));
        e.note = QByteArray("\x01\x02header", 8);
        filter.search = SearchWords(words, noteToPlainText);
        QCOMPARE(filter.matches(e), found && !words.contains(QLatin1String("header")) &&
                                        !words.contains(QLatin1String("fixed")));
    }

    void showUnpaidOnly_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("shown");
        QTest::newRow("non billable") << 0 << false;
        QTest::newRow("billable") << 1 << true;
        QTest::newRow("billed") << 2 << true;
        QTest::newRow("paid") << 3 << false;
    }
    void showUnpaidOnly() {
        QFETCH(int, status);
        QFETCH(bool, shown);
        EntryFilter filter;
        filter.client = QStringLiteral("Other");
        filter.rateType = 4;
        filter.showUnpaidOnly();
        QCOMPARE(filter.matches(entry(EntryStatus(status))), shown);
        QCOMPARE(filter.flags(), 0x21u);
        QVERIFY(EntryFilter().matches(entry(EntryStatus(status))));
    }

    // Each text criterion must equal its field exactly, case included.
    void textCriteria_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<bool>("passes");
        const QStringList values = {"Acme", "Site", "Design", "Drawing", "Ann",
                                    "EUR",  "c1",   "c2",     "c3"};
        for (int f = 0; f < values.size(); ++f) {
            QTest::addRow("%d equal", f) << f << values[f] << true;
            const QString upper = values[f].toUpper();
            QTest::addRow("%d other case", f)
                << f << (upper == values[f] ? values[f].toLower() : upper) << false;
            QTest::addRow("%d prefix", f) << f << values[f].chopped(1) << false;
        }
        QTest::newRow("client lower vs entry capitalised") << 0 << "acme" << false;
    }
    void textCriteria() {
        QFETCH(int, field);
        QFETCH(QString, criterion);
        QFETCH(bool, passes);
        EntryFilter filter;
        QString* fields[] = {&filter.client,  &filter.project, &filter.phase,
                             &filter.task,    &filter.billTo,  &filter.currency,
                             &filter.custom1, &filter.custom2, &filter.custom3};
        *fields[field] = criterion;
        QCOMPARE(filter.matches(entry()), passes);
    }

    void statusFlagsAndRateType() {
        EntryFilter filter;
        filter.setFlags(EntryFilter::PaidFlag);
        QVERIFY(filter.matches(entry(EntryStatus::Paid)));
        QVERIFY(!filter.matches(entry(EntryStatus::Billed)));
        filter.reset();
        filter.rateType = int(RateType::Overtime);
        QVERIFY(filter.matches(entry()));
        filter.rateType = int(RateType::Normal);
        QVERIFY(!filter.matches(entry()));
    }

    // The start counts with its time of day; the end takes its whole day.
    void dateRange_data() {
        QTest::addColumn<platform::FileTime>("when");
        QTest::addColumn<bool>("passes");
        QTest::newRow("before start time") << at(2026, 12, 1, 7, 59, 59) << false;
        QTest::newRow("at start time") << at(2026, 12, 1, 8) << true;
        QTest::newRow("last second of end") << at(2026, 12, 9, 23, 59, 59) << true;
        QTest::newRow("day after end") << at(2026, 12, 10) << false;
    }
    void dateRange() {
        QFETCH(platform::FileTime, when);
        QFETCH(bool, passes);
        EntryFilter filter;
        filter.startDate = SystemTime{2026, 12, 2, 1, 8, 0, 0, 0};
        filter.endDate = SystemTime{2026, 12, 3, 9, 14, 30, 0, 0};
        TimeEntry e = entry();
        e.date = when;
        QCOMPARE(filter.matches(e), passes);
        filter.startDate.month = 0;  // the range is off
        QVERIFY(filter.matches(e));
    }

    // After a restart the stored criteria are back, the custom ones are not.
    void survivesRestartExceptCustom() {
        platform::Registry& reg = m_env->registry();
        EntryFilter filter;
        filter.client = QStringLiteral("Acme");
        filter.project = QStringLiteral("Site");
        filter.phase = QStringLiteral("Design");
        filter.task = QStringLiteral("Drawing");
        filter.currency = QStringLiteral("EUR");
        filter.billTo = QStringLiteral("Ann");
        filter.custom1 = QStringLiteral("c1");
        filter.custom3 = QStringLiteral("c3");
        filter.startDate = SystemTime{2026, 1, 0, 1, 0, 0, 0, 0};
        filter.billed = false;
        filter.rateType = 2;
        reg.createKey(kKey);
        reg.writeString(kKey, QStringLiteral("fCustom2"), QStringLiteral("old"), 8);
        filter.store(reg);
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fCustom2")));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fFlags")), std::optional<quint32>(0x15));
        QCOMPARE(
            *reg.readRaw(kKey, QStringLiteral("fClient")),
            std::make_pair(platform::Registry::Type::String, QByteArray("A\0c\0m\0e\0\0\0", 10)));

        EntryFilter loaded;
        loaded.load(reg);
        EntryFilter expected = filter;
        expected.custom1.clear();
        expected.custom3.clear();
        expected.startDate = {};
        QCOMPARE(loaded, expected);

        // Back to everything: the emptied texts are gone from the registry.
        EntryFilter().store(reg);
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fClient")));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fFlags")), std::optional<quint32>(0x35));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fRateType")),
                 std::optional<quint32>(0xFFFFFFFF));
        loaded.reset();
        loaded.load(reg);
        QCOMPARE(loaded, EntryFilter());
    }

    void loadKeepsWhatIsMissingAndDropsWhatIsUnreadable() {
        platform::Registry& reg = m_env->registry();
        reg.createKey(kKey);
        reg.writeNumber(kKey, QStringLiteral("fClient"), 5);  // not a text
        reg.writeNumber(kKey, QStringLiteral("fRateType"), 77);
        EntryFilter filter;
        filter.client = QStringLiteral("Acme");
        filter.project = QStringLiteral("Site");
        filter.rateType = 1;
        filter.load(reg);
        QCOMPARE(filter.client, QString());
        QCOMPARE(filter.project, QStringLiteral("Site"));
        QCOMPARE(filter.rateType, -1);
        QCOMPARE(filter.flags(), EntryFilter::AllFlags);
    }

    void compareArrangesByKeyThenDateThenTask() {
        TimeEntry a = entry();
        TimeEntry b = entry();
        b.task = QStringLiteral("Answering");
        QVERIFY(EntryFilter::compare(a, b, 1) > 0);  // same client, same time: by task
        QVERIFY(EntryFilter::compare(a, b, 0) > 0);
        b.date = a.date.addMinutes(-1);
        QVERIFY(EntryFilter::compare(a, b, 1) > 0);
        b.client = QStringLiteral("Zeta");
        QVERIFY(EntryFilter::compare(a, b, 1) < 0);
        QVERIFY(EntryFilter::compare(a, b, 0) > 0);
        QCOMPARE(EntryFilter::compare(a, a, 8), 0);
        for (int index = 2; index <= 8; ++index) {
            TimeEntry c = entry();
            TimeEntry d = entry();
            d.date = c.date.addDays(-1);
            QString* key[] = {nullptr,   nullptr,    &d.project, &d.phase,  &d.task,
                              &d.billTo, &d.custom1, &d.custom2, &d.custom3};
            *key[index] = QStringLiteral("zzz");
            QVERIFY2(EntryFilter::compare(c, d, index) < 0, qPrintable(QString::number(index)));
            QVERIFY(EntryFilter::compare(c, d, 0) > 0);
        }

        QVERIFY(m_env->store().openAll());
        RecordStore& db = m_env->store();
        QVERIFY(TimeEntries(db).add(a) == WriteResult::Written);
        QVERIFY(TimeEntries(db).add(b) == WriteResult::Written);
        QVERIFY(EntryFilter::compare(db, a.recordId, b.recordId, 1) < 0);
        QVERIFY(EntryFilter::compare(db, a.recordId, b.recordId, 0) > 0);
    }
};

TEMPOLATCH_TEST(EntryFilterTest);
#include "EntryFilterTest.moc"
