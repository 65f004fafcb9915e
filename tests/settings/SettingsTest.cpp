#include <QtEndian>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "settings/Settings.h"

using namespace tempolatch;
using platform::Registry;

namespace {
const QString kKey = QStringLiteral("Software\\Tempolatch");

QByteArray words(std::initializer_list<quint32> values) {
    QByteArray out;
    for (quint32 v : values) {
        char buf[4];
        qToLittleEndian(v, buf);
        out.append(buf, 4);
    }
    return out;
}
}  // namespace

class SettingsTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<Registry> m_reg;

    Registry& reg() { return *m_reg; }
    Settings loaded() {
        Settings s;
        s.load(reg());
        return s;
    }
    void existingKey(quint32 version) {
        reg().createKey(kKey);
        reg().writeNumber(kKey, QStringLiteral("tlVersion"), version);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_reg = std::make_unique<Registry>(m_env->filePath(QStringLiteral("registry.db")));
    }
    void cleanup() {
        m_reg.reset();
        EnvironmentTest::cleanup();
    }

    void firstRunDefaults() {
        const Settings s = loaded();
        QCOMPARE(s.version, 300u);
        QCOMPARE(s.flags, 0x10u);  // bold list font; the classic bar, not soft keys
        QCOMPARE(s.treeOptions, 0x1Fu);
        QCOMPARE(s.view, 2u);
        QCOMPARE(s.defaultCurrency, QStringLiteral("USD"));
        QCOMPARE(s.custom3, QStringLiteral("Custom 3"));
        QCOMPARE(s.viewCust, (std::array<quint32, 6>{0, 3, 0, 0, 0, 0}));
    }

    void oldFlagBitsAreTranslated() {
        existingKey(260);
        reg().writeNumber(kKey, QStringLiteral("DefNewStyles"), 0x2000 | 0x10 | 0x2 | 0x1);
        Settings s = loaded();
        QCOMPARE(s.flags, quint32(0x20 | 0x10 | 0x2 | 0x1));
        s.save(reg());
        QCOMPARE(reg().readNumber(kKey, QStringLiteral("DefNewStyles")), s.flags);
        QCOMPARE(reg().readNumber(kKey, QStringLiteral("tlVersion")), 300u);
        QCOMPARE(loaded().flags, s.flags);
    }

    // The invoice's owner block is kept; emptied values are removed.
    void ownerRoundTrip() {
        existingKey(300);
        Settings s = loaded();
        QVERIFY(s.owner.isEmpty());
        s.owner = {QStringLiteral("Ann"), QStringLiteral("Smith & Co"),
                   QStringLiteral("1 Main St\r\nTown"), QString(), QString(300, QLatin1Char('x'))};
        s.save(reg());
        Settings back = loaded();
        QCOMPARE(back.owner.address, s.owner.address);
        QCOMPARE(back.owner.line2, QString(64, QLatin1Char('x')));
        back.owner.company.clear();
        back.save(reg());
        QVERIFY(!reg().readString(kKey, QStringLiteral("OwnerCompany"), 130));
        QCOMPARE(loaded().owner.name, QStringLiteral("Ann"));

        s.invoice.numberPrefix = QStringLiteral("INV-2026-");
        s.invoice.paymentDays = 30;
        s.invoice.taxes[1] = {QStringLiteral("GST"), 750};
        s.invoice.note = QStringLiteral("Reverse charge");
        s.ownerLogo = QStringLiteral("/home/ann/logo.png");
        s.hoursFormat = HoursFormat::HoursMinutes;
        s.save(reg());
        QCOMPARE(loaded().invoice, s.invoice);
        QCOMPARE(loaded().ownerLogo, s.ownerLogo);
        QCOMPARE(loaded().hoursFormat, HoursFormat::HoursMinutes);
        // A format this version does not know reads as the default.
        reg().writeNumber(kKey, QStringLiteral("HoursFormat"), 2);
        QCOMPARE(loaded().hoursFormat, HoursFormat::Decimal);
        // The timer strip's place likewise: above the list unless 1.
        s.timerStripPlace = 1;
        s.save(reg());
        QCOMPARE(loaded().timerStripPlace, quint16(1));
        reg().writeNumber(kKey, QStringLiteral("TimerStripPlace"), 2);
        QCOMPARE(loaded().timerStripPlace, quint16(0));
    }

    void failedUpgradeKeepsTheOldVersion() {
        existingKey(250);
        Settings s = loaded();
        s.dataUpgradePending = true;
        s.save(reg());
        QCOMPARE(reg().readNumber(kKey, QStringLiteral("tlVersion")), 250u);
        s.dataUpgradePending = false;
        s.save(reg());
        QCOMPARE(reg().readNumber(kKey, QStringLiteral("tlVersion")), 300u);
    }

    void missingVersionReadsAs250() {
        reg().createKey(kKey);
        QCOMPARE(loaded().version, 250u);
    }

    void treeOptionsByVersion_data() {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("275") << 275u << 0x1Fu;
        QTest::newRow("285") << 285u << 0u;
    }
    void treeOptionsByVersion() {
        QFETCH(quint32, version);
        QFETCH(quint32, expected);
        existingKey(version);
        QCOMPARE(loaded().treeOptions, expected);
    }

    void shortViewCustIsWidened() {
        existingKey(300);
        reg().writeBytes(kKey, QStringLiteral("ViewCust"), words({1, 2, 3, 4, 5}));
        const Settings s = loaded();
        QCOMPARE(s.viewCust, (std::array<quint32, 6>{1, 2, 3, 4, 0, 5}));
        s.save(reg());
        QCOMPARE(reg().readBytes(kKey, QStringLiteral("ViewCust")), words({1, 2, 3, 4, 0, 5}));
    }

    void textsAreCutToTheirSizes() {
        Settings s = loaded();
        s.custom1 = QString(40, QLatin1Char('a'));
        s.defaultCurrency = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
        s.save(reg());
        const Settings back = loaded();
        QCOMPARE(back.custom1, QString(31, QLatin1Char('a')));
        QCOMPARE(back.defaultCurrency, QStringLiteral("ABCDEFGHIJKLMNO"));
    }

    void emptyDefaultReportIsDeleted() {
        Settings s = loaded();
        s.defaultReports[2] = QStringLiteral("Weekly");
        s.save(reg());
        QCOMPARE(reg().readString(kKey, QStringLiteral("DefReport2"), 128),
                 QStringLiteral("Weekly"));
        s.defaultReports[2].clear();
        s.save(reg());
        QVERIFY(!reg().readRaw(kKey, QStringLiteral("DefReport2")));
    }

    void obsoleteDefReportIsDeletedOnLoad() {
        existingKey(300);
        reg().writeString(kKey, QStringLiteral("DefReport"), QStringLiteral("Old"), 8);
        loaded();
        QVERIFY(!reg().readRaw(kKey, QStringLiteral("DefReport")));
    }

    void wrongTypesAndAbsurdValuesGiveDefaults() {
        existingKey(300);
        reg().writeString(kKey, QStringLiteral("View"), QStringLiteral("3"), 4);
        reg().writeNumber(kKey, QStringLiteral("ListStyle"), 77);
        reg().writeNumber(kKey, QStringLiteral("MinTime"), 7);
        reg().writeNumber(kKey, QStringLiteral("TimeInterval"), 9);
        reg().writeNumber(kKey, QStringLiteral("AskClose"), 2);
        reg().writeNumber(kKey, QStringLiteral("IdleMinutes"), 4);
        reg().writeNumber(kKey, QStringLiteral("LongTimerHours"), 25);
        reg().writeString(kKey, QStringLiteral("Custom1"), QString(50, QLatin1Char('x')), 102);
        reg().writeBytes(kKey, QStringLiteral("ViewCust"), QByteArray(7, '\1'));
        reg().writeBytes(kKey, QStringLiteral("PeriodStart"),
                         platform::SystemTime{2026, 13, 0, 40, 0, 0, 0, 0}.toBytes());
        const Settings s = loaded();
        QCOMPARE(s.view, 2u);
        QCOMPARE(s.listStyle, 0u);
        QCOMPARE(s.minTime, quint16(15));
        QCOMPARE(s.timeInterval, quint16(3));
        QVERIFY(!s.askClose);
        QCOMPARE(s.idleMinutes, quint16(0));
        QCOMPARE(s.longTimerHours, quint16(0));
        QCOMPARE(s.custom1, QStringLiteral("Custom 1"));
        QCOMPARE(s.viewCust[1], 3u);
        QVERIFY(s.periodStart.isNull());
    }

    void everyValueSurvivesARestart() {
        Settings s = loaded();
        s.view = 4;
        s.listStyle = 2;
        s.expView = 1;
        s.fontSize = 2;
        s.askClose = true;
        s.encoding = 5;
        s.breakSub = 3;
        QVERIFY(s.csvFormulaGuard);  // on unless turned off
        s.csvFormulaGuard = false;
        s.minTime = 45;
        s.timeInterval = 4;
        s.idleMinutes = 120;
        s.longTimerHours = 24;
        s.sort = 8;
        s.hourSymbol = 2;
        s.periodStart = platform::SystemTime{2026, 2, 0, 1, 0, 0, 0, 0};
        s.periodEnd = platform::SystemTime{2026, 2, 0, 28, 0, 0, 0, 0};
        s.treeOptions = 0x5;
        s.save(reg());
        const Settings back = loaded();
        QCOMPARE(back.view, 4u);
        QCOMPARE(back.listStyle, 2u);
        QCOMPARE(back.expView, 1u);
        QCOMPARE(back.fontSize, quint16(2));
        QVERIFY(back.askClose);
        QCOMPARE(back.encoding, quint16(5));
        QCOMPARE(back.breakSub, quint16(3));
        QVERIFY(!back.csvFormulaGuard);
        QCOMPARE(back.minTime, quint16(45));
        QCOMPARE(back.timeInterval, quint16(4));
        QCOMPARE(back.idleMinutes, quint16(120));
        QCOMPARE(back.longTimerHours, quint16(24));
        QCOMPARE(back.sort, quint16(8));
        QCOMPARE(back.hourSymbol, quint16(2));
        QCOMPARE(back.periodStart, s.periodStart);
        QCOMPARE(back.periodEnd, s.periodEnd);
        QCOMPARE(back.treeOptions, 0x5u);
    }
};

TEMPOLATCH_TEST(SettingsTest);
#include "SettingsTest.moc"
