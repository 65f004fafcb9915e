#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "platform/Sqlite.h"

using namespace tempolatch;
using platform::Registry;

class RegistryTest : public test::EnvironmentTest {
    Q_OBJECT

    const QString key = QStringLiteral("Software\\Tempolatch");

private Q_SLOTS:

    void valuesNeedTheirKey() {
        Registry reg(m_env->filePath(QStringLiteral("r.db")));
        QVERIFY(!reg.writeNumber(key, QStringLiteral("View"), 1));
        QVERIFY(reg.createKey(key));
        QVERIFY(reg.keyExists(QStringLiteral("software\\TEMPOLATCH")));
        QVERIFY(reg.writeNumber(key, QStringLiteral("View"), 1));
        QCOMPARE(reg.readNumber(key, QStringLiteral("view")), 1u);
    }

    void wrongTypeOrSizeReadsAsMissing() {
        Registry reg(m_env->filePath(QStringLiteral("r.db")));
        reg.createKey(key);
        reg.writeString(key, QStringLiteral("S"), QStringLiteral("abc"), 64);
        QVERIFY(!reg.readNumber(key, QStringLiteral("S")));
        QVERIFY(!reg.readString(key, QStringLiteral("S"), 32));
        QCOMPARE(reg.readString(key, QStringLiteral("S"), 64), QStringLiteral("abc"));
        reg.writeBytes(key, QStringLiteral("B"), QByteArray(20, 'x'));
        QVERIFY(!reg.readBytes(key, QStringLiteral("B"), 24));
        QVERIFY(!reg.readString(key, QStringLiteral("B"), 64));
    }

    void stringsKeepTheirByteSize() {
        Registry reg(m_env->filePath(QStringLiteral("r.db")));
        reg.createKey(key);
        reg.writeString(key, QStringLiteral("C"), QString(40, QLatin1Char('z')), 64);
        const auto raw = reg.readRaw(key, QStringLiteral("C"));
        QCOMPARE(raw->second.size(), 64);
        QCOMPARE(reg.readString(key, QStringLiteral("C"), 64), QString(31, QLatin1Char('z')));
    }

    // A batch whose write fails (as on a full disk) keeps none of its
    // writes and says so; the values from before stay.
    void failedBatchKeepsNothing() {
        const QString path = m_env->filePath(QStringLiteral("r.db"));
        Registry reg(path);
        QVERIFY(reg.createKey(key));
        QVERIFY(reg.writeNumber(key, QStringLiteral("A"), 1));
        {
            auto other = platform::SqliteConnection::open(
                path, platform::SqliteConnection::Mode::ReadWrite, nullptr);
            QVERIFY(other);
            QVERIFY(
                other->exec("CREATE TRIGGER refuse BEFORE INSERT ON reg_values "
                            "WHEN NEW.name = 'Full' BEGIN SELECT RAISE(ABORT, 'full'); END"));
        }
        QVERIFY(reg.beginBatch());
        QVERIFY(reg.writeNumber(key, QStringLiteral("A"), 2));
        QVERIFY(!reg.writeNumber(key, QStringLiteral("Full"), 3));
        QVERIFY(reg.writeNumber(key, QStringLiteral("C"), 4));
        QVERIFY(!reg.endBatch());
        QCOMPARE(reg.readNumber(key, QStringLiteral("A")), 1u);
        QVERIFY(!reg.readNumber(key, QStringLiteral("C")));

        // The next batch starts clean.
        QVERIFY(reg.beginBatch());
        QVERIFY(reg.writeNumber(key, QStringLiteral("A"), 5));
        QVERIFY(reg.endBatch());
        QCOMPARE(reg.readNumber(key, QStringLiteral("A")), 5u);
    }

    void valuesPersistAcrossOpens() {
        const QString path = m_env->filePath(QStringLiteral("r.db"));
        {
            Registry reg(path);
            reg.createKey(key);
            reg.beginBatch();
            reg.writeNumber(key, QStringLiteral("A"), 7);
            reg.writeBytes(key, QStringLiteral("B"), QByteArray("xy"));
            reg.endBatch();
        }
        Registry again(path);
        QCOMPARE(again.readNumber(key, QStringLiteral("A")), 7u);
        QCOMPARE(again.readBytes(key, QStringLiteral("B")), QByteArray("xy"));
        QVERIFY(again.deleteValue(key, QStringLiteral("A")));
        QVERIFY(!again.readNumber(key, QStringLiteral("A")));
    }
};

TEMPOLATCH_TEST(RegistryTest);
#include "RegistryTest.moc"
