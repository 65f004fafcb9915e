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

    void knownValue() {
        // 2000-01-01 00:00 is 125911584000000000 ticks after 1601.
        QCOMPARE(toFileTime(SystemTime{2000, 1, 6, 1, 0, 0, 0, 0})->ticks, 125911584000000000ull);
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
