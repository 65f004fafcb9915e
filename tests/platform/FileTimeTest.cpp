#include "common/TestRegistry.h"
#include "platform/FileTime.h"
#include "platform/Locale.h"
#include "platform/Ui.h"

using namespace tempolatch::platform;

Q_DECLARE_METATYPE(tempolatch::platform::SystemTime)

class FileTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionsRoundTrip_data() {
        QTest::addColumn<QDateTime>("when");
        QTest::newRow("epoch") << QDateTime(QDate(1601, 1, 1), QTime(0, 0));
        QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999));
        QTest::newRow("start marker") << QDateTime(QDate(2026, 12, 7), QTime(9, 0, 1));
        QTest::newRow("far") << QDateTime(QDate(9999, 12, 31), QTime(12, 0));
    }
    void conversionsRoundTrip() {
        QFETCH(QDateTime, when);
        const SystemTime st = SystemTime::fromDateTime(when);
        const auto ft = toFileTime(st);
        QVERIFY(ft);
        QCOMPARE(*toSystemTime(*ft), st);
        QCOMPARE(st.dayOfWeek, quint16(when.date().dayOfWeek() % 7));
    }

    // Every day from 1601 to 2500 (the century years 1700, 1800, 1900 and
    // 2100 without 29 February, 2000 and 2400 with it) and the last day the
    // records can hold come back as the calendar's own date and weekday.
    void everyDayMatchesTheCalendar() {
        const QDate first(1601, 1, 1);
        const auto check = [&](const QDate& date) {
            const auto st =
                toSystemTime(FileTime{quint64(first.daysTo(date)) * FileTime::TicksPerDay});
            return st && st->date() == date && st->dayOfWeek == date.dayOfWeek() % 7;
        };
        for (QDate date = first; date.year() <= 2500; date = date.addDays(1))
            QVERIFY2(check(date), qPrintable(date.toString(Qt::ISODate)));
        QVERIFY(check(QDate(30827, 12, 31)));
        QVERIFY(!toSystemTime(
            FileTime{quint64(first.daysTo(QDate(30828, 1, 1))) * FileTime::TicksPerDay}));
    }

    void knownValue() {
        // 2000-01-01 00:00 is 125911584000000000 ticks after 1601.
        QCOMPARE(toFileTime(SystemTime{2000, 1, 6, 1, 0, 0, 0, 0})->ticks, 125911584000000000ull);
    }

    // Adding to a damaged date stops at the ends rather than wrapping round
    // to a small (or huge) date; the shown range is 2 Jan 1601 to 31 Dec 9999.
    void datesStayInTheirRange() {
        constexpr quint64 last = quint64(std::numeric_limits<qint64>::max());
        QCOMPARE(FileTime{last - 5}.addMinutes(60).ticks, last);
        QCOMPARE(FileTime{~0ull}.addTicks(1).ticks, last);
        QCOMPARE(FileTime{5}.addTicks(-10).ticks, 0ull);
        QCOMPARE(FileTime{5}.addTicks(-5).ticks, 0ull);
        QCOMPARE(FileTime{100}.addMinutes(1).ticks, 100ull + FileTime::TicksPerMinute);

        QCOMPARE(toSystemTime(FileTime{0}.clampedToShown())->timestampText(),
                 QStringLiteral("1601-01-02 00:00:00"));
        QCOMPARE(toSystemTime(FileTime{~0ull}.clampedToShown())->timestampText(),
                 QStringLiteral("9999-12-31 00:00:00"));
        const FileTime inside = *toFileTime(SystemTime{2026, 12, 0, 7, 9, 0, 1, 0});
        QCOMPARE(inside.clampedToShown(), inside);
    }

    void invalidRecordsAreRefused_data() {
        QTest::addColumn<SystemTime>("st");
        QTest::newRow("month 13") << SystemTime{2026, 13, 0, 1, 0, 0, 0, 0};
        QTest::newRow("feb 30") << SystemTime{2026, 2, 0, 30, 0, 0, 0, 0};
        QTest::newRow("hour 24") << SystemTime{2026, 1, 0, 1, 24, 0, 0, 0};
        QTest::newRow("before 1601") << SystemTime{1600, 12, 0, 31, 0, 0, 0, 0};
    }
    void invalidRecordsAreRefused() {
        QFETCH(SystemTime, st);
        QVERIFY(!toFileTime(st));
        QVERIFY(!toSystemTime(FileTime{0xFFFFFFFFFFFFFFFFull}));
    }

    // Dump and list texts come from the fields alone, so a wall-clock time
    // that the system's zone skips (02:30 on a spring-forward day) stays.
    void timestampTextKeepsTheFields_data() {
        QTest::addColumn<SystemTime>("st");
        QTest::addColumn<bool>("milliseconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("first day") << SystemTime{1601, 1, 1, 1, 0, 0, 0, 0} << false
                                   << QStringLiteral("1601-01-01 00:00:00");
        QTest::newRow("spring forward") << SystemTime{2026, 3, 0, 29, 2, 30, 0, 0} << false
                                        << QStringLiteral("2026-03-29 02:30:00");
        QTest::newRow("milliseconds") << SystemTime{2024, 2, 4, 29, 23, 59, 59, 7} << true
                                      << QStringLiteral("2024-02-29 23:59:59.007");
        QTest::newRow("far") << SystemTime{30827, 12, 0, 31, 9, 5, 1, 999} << true
                             << QStringLiteral("30827-12-31 09:05:01.999");
    }
    void timestampTextKeepsTheFields() {
        QFETCH(SystemTime, st);
        QFETCH(bool, milliseconds);
        QFETCH(QString, text);
        QCOMPARE(st.timestampText(milliseconds), text);
    }

    // The formats are kept between calls; a new locale must replace them,
    // and the collation with them.
    void cachedFormatsFollowTheLocale() {
        const SystemTime afternoon{2026, 12, 1, 7, 15, 5, 0, 0};
        Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(Locale::timeFormatWithoutSeconds(), QStringLiteral("h:mm AP"));
        QCOMPARE(Locale::timeWithoutSeconds(afternoon), QStringLiteral("3:05 PM"));
        QCOMPARE(Locale::shortDate(afternoon), QStringLiteral("12/7/26"));
        QCOMPARE(Locale::yearMonthFormat(), QStringLiteral("MMMM yyyy"));
        QCOMPARE(Locale::formatDate(afternoon, Locale::yearMonthFormat()),
                 QStringLiteral("December 2026"));
        QVERIFY(Locale::compare(QStringLiteral("\u00e4"), QStringLiteral("z")) < 0);

        Locale::set(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Locale::timeFormatWithoutSeconds(), QStringLiteral("HH:mm"));
        QCOMPARE(Locale::timeWithoutSeconds(afternoon), QStringLiteral("15:05"));
        QCOMPARE(Locale::shortDateFormat(), QStringLiteral("dd.MM.yy"));
        QCOMPARE(Locale::shortDate(afternoon), QStringLiteral("07.12.26"));
        // The texts are kept by day and by minute: the next day and the day
        // again, midnight and the last minute.
        QCOMPARE(Locale::shortDate(SystemTime{2026, 12, 2, 8, 0, 0, 0, 0}),
                 QStringLiteral("08.12.26"));
        QCOMPARE(Locale::shortDate(afternoon), QStringLiteral("07.12.26"));
        QCOMPARE(Locale::timeWithoutSeconds(SystemTime{2026, 12, 1, 7, 0, 0, 0, 0}),
                 QStringLiteral("00:00"));
        QCOMPARE(Locale::timeWithoutSeconds(SystemTime{2026, 12, 1, 7, 23, 59, 59, 999}),
                 QStringLiteral("23:59"));
        QCOMPARE(Locale::formatDate(afternoon, Locale::yearMonthFormat()),
                 QStringLiteral("Dezember 2026"));

        Locale::set(QLocale(QLocale::Swedish, QLocale::Sweden));
        QVERIFY(Locale::compare(QStringLiteral("\u00e4"), QStringLiteral("z")) > 0);

        Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(Locale::timeWithoutSeconds(afternoon), QStringLiteral("3:05 PM"));
        QCOMPARE(Locale::shortDate(afternoon), QStringLiteral("12/7/26"));
    }

    void ansiTextMarksWhatTheCodePageLacks() {
        QCOMPARE(Locale::toAnsi(QString::fromUtf8("Caf\u00e9 \u20ac \u4e2d")),
                 QByteArray("Caf\xe9 \x80 ?"));
        QCOMPARE(Locale::fromAnsi(QByteArray("Caf\xe9 \x80")),
                 QString::fromUtf8("Caf\u00e9 \u20ac"));
    }

    void filtersBecomeQtFilters() {
        QCOMPARE(toQtFilter(QStringLiteral("Backup Files (*.tld)|*.tld|")),
                 QStringLiteral("Backup Files (*.tld)"));
        QCOMPARE(toQtFilter(QStringLiteral("Text|*.txt|All Files|*.*|")),
                 QStringLiteral("Text (*.txt);;All Files (*.*)"));
    }
};

TEMPOLATCH_TEST(FileTimeTest);
#include "FileTimeTest.moc"
