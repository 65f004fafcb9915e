#include <QCryptographicHash>
#include <QFile>

#include "common/TestEnvironment.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/ListsDatabase.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"

using namespace tempolatch;
using platform::Property;

class StoreDumpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dumpShowsDatabasesRecordsAndValuesWithoutWriting() {
        test::TestEnvironment env;
        QVERIFY(RecordStore::instance().openAll());
        RecordStore::instance().entries().addProperties(
            {Property::fileTime(prop::EntryDate, platform::FileTime{125911584000000000ull}),
             Property::string(prop::ClientName, QStringLiteral("Acme \"East\""))});
        QVERIFY(addListValue(ListKind::Currency, QStringLiteral("EUR")));
        RecordStore::reset();

        auto fileHash = [] {
            QFile f(platform::Profile::storePath());
            f.open(QIODevice::ReadOnly);
            return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        };
        const QByteArray before = fileHash();
        QString error;
        auto store = platform::ObjectStore::open(platform::Profile::storePath(),
                                                 platform::ObjectStore::Access::ReadOnly,
                                                 platform::Locale::collationName(), &error);
        QVERIFY2(store, qPrintable(error));
        QString text;
        QTextStream out(&text);
        dumpStore(*store, out);
        out.flush();
        QVERIFY(text.contains(QStringLiteral(
            "database \"Tempolatch Data 1\" type 0x04C48CF1 sort 0x03E90040 records 1")));
        QVERIFY(text.contains(QStringLiteral("sort 0x044E0012,0x044D001F records 2")));
        QVERIFY(text.contains(
            QStringLiteral("0x03E90040 FILETIME 2000-01-01 00:00:00.000 (125911584000000000)")));
        QVERIFY(text.contains(QStringLiteral("0x03EA001F LPWSTR \"Acme \\\"East\\\"\"")));
        QVERIFY(text.contains(QStringLiteral("0x044D001F LPWSTR \"EUR\"")));
        store.reset();
        QCOMPARE(fileHash(), before);
    }
};

TEMPOLATCH_TEST(StoreDumpTest);
#include "StoreDumpTest.moc"
