#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

#include "common/TestEnvironment.h"
#include "common/TestRegistry.h"
#include "platform/CompoundDirectory.h"
#include "platform/CompoundFile.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

QByteArray pattern(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// Every element below a storage as "path storage" or "path stream <hex>"
// lines; false as soon as anything cannot be opened or read.
bool dump(const CompoundStorage& storage, const QString& prefix, QStringList& out) {
    const auto children = storage.children();
    if (!children)
        return false;
    for (const CompoundEntry& e : *children) {
        const QString path = prefix + e.name;
        if (e.isStorage) {
            const CompoundStorage child = storage.openStorage(e.name);
            out << path + QStringLiteral(" storage");
            if (!child || !dump(child, path + u'/', out))
                return false;
        } else {
            CompoundStream child = storage.openStream(e.name);
            QByteArray bytes;
            if (!child || !child.readBytes(child.remaining(), bytes))
                return false;
            out << path + QStringLiteral(" stream ") + QString::fromLatin1(bytes.toHex());
        }
    }
    return true;
}

std::optional<QStringList> dumpFile(const QString& path) {
    auto file = CompoundFile::open(path);
    QStringList lines;
    if (!file || !dump(file->root(), {}, lines))
        return std::nullopt;
    return lines;
}

// The layout of a backup in small, plus what stresses the format: a stream
// past the small-block limit written while another is open, an empty stream,
// names beyond ASCII.
bool writeSample(const QString& path) {
    auto file = CompoundFile::create(path);
    if (!file)
        return false;
    CompoundStorage root = file->root();
    CompoundStream version = root.createStream(QStringLiteral("DataVersion"));
    version.writeUInt32(300);
    version.writeUInt32(1);
    CompoundStorage records = root.createStorage(QStringLiteral("Records"));
    for (int i = 0; i < 12; ++i) {
        CompoundStream record = records.createStream(QStringLiteral("Record%1").arg(i));
        record.writeUInt16(quint16(i));
        record.writeString(QStringLiteral("Client %1").arg(i));
        record.writeInt64(-i);
    }
    CompoundStream big = root.createStream(QStringLiteral("Big"));
    CompoundStream empty = root.createStream(QStringLiteral("Empty"));
    CompoundStorage clients = root.createStorage(QStringLiteral("Clients"));
    CompoundStorage client = clients.createStorage(QStringLiteral("Client0"));
    CompoundStream name = client.createStream(QStringLiteral("Name"));
    big.writeBytes(pattern(6000));
    name.writeString(QStringLiteral("Acme"));
    big.writeBytes(pattern(4000));
    CompoundStorage other = root.createStorage(QStringLiteral("Zoë"));
    other.createStream(QStringLiteral("Ünïcode €")).writeString(QStringLiteral("𝄞 clef"));
    return name.close() && file->commit();
}

quint32 childNamed(const CompoundDirectory& dir, quint32 storage, const char* name) {
    return dir.findChild(storage, QString::fromUtf8(name));
}

void putU32(QByteArray& bytes, qint64 at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

}  // namespace

class CompoundFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> m_env;

    QString path(const QString& name) const { return m_env->filePath(name); }

private Q_SLOTS:
    void init() { m_env = std::make_unique<test::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void roundTripOfStoragesStreamsNumbersAndStrings() {
        const QString file = path(QStringLiteral("a.tld"));
        {
            auto out = CompoundFile::create(file);
            QVERIFY(out && out->isWritable());
            CompoundStorage root = out->root();
            CompoundStream s = root.createStream(QStringLiteral("Values"));
            QVERIFY(s.writeUInt8(0xAB) && s.writeUInt16(0xBEEF) && s.writeUInt32(0xDEADBEEF));
            QVERIFY(s.writeUInt64(0x0123456789ABCDEFull) && s.writeInt32(-5));
            QVERIFY(s.writeInt64(std::numeric_limits<qint64>::min()));
            QVERIFY(s.writeString({}) && s.writeString(QStringLiteral("Zoë 𝄞")));
            QVERIFY(s.writeString(QString(5000, u'x')) && s.writeBytes(QByteArray("\0\1\2", 3)));
            CompoundStorage a = root.createStorage(QStringLiteral("A"));
            CompoundStorage b = a.createStorage(QStringLiteral("B"));
            b.createStream(QStringLiteral("Deep")).writeUInt32(42);
            QVERIFY(!QFile::exists(file));  // nothing appears before the commit
            QVERIFY(out->commit());
            QVERIFY(!out->isWritable());
            QVERIFY(!s.writeUInt8(1));  // the file is done
        }
        QCOMPARE(QDir(m_env->folder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("a.tld")});

        auto in = CompoundFile::open(file);
        QVERIFY(in && !in->isWritable());
        CompoundStorage root = in->root();
        QCOMPARE(*root.children(), (QList<CompoundEntry>{{QStringLiteral("A"), true},
                                                         {QStringLiteral("Values"), false}}));
        CompoundStream s = root.openStream(QStringLiteral("values"));  // any case, as the format
        QVERIFY(s);
        QCOMPARE(s.size(), 1 + 2 + 4 + 8 + 4 + 8 + 4 + 4 + 2 * 6 + 4 + 10000 + 3);
        quint8 u8 = 0;
        quint16 u16 = 0;
        quint32 u32 = 0;
        quint64 u64 = 0;
        qint32 i32 = 0;
        qint64 i64 = 0;
        QString text;
        QByteArray bytes;
        QVERIFY(s.readUInt8(u8) && s.readUInt16(u16) && s.readUInt32(u32) && s.readUInt64(u64));
        QVERIFY(s.readInt32(i32) && s.readInt64(i64));
        QCOMPARE(u8, 0xAB);
        QCOMPARE(u16, 0xBEEF);
        QCOMPARE(u32, 0xDEADBEEFu);
        QCOMPARE(u64, 0x0123456789ABCDEFull);
        QCOMPARE(i32, -5);
        QCOMPARE(i64, std::numeric_limits<qint64>::min());
        QVERIFY(s.readString(text) && text.isEmpty());
        QVERIFY(s.readString(text));
        QCOMPARE(text, QStringLiteral("Zoë 𝄞"));
        QVERIFY(s.readString(text));
        QCOMPARE(text, QString(5000, u'x'));
        QVERIFY(s.readBytes(3, bytes));
        QCOMPARE(bytes, QByteArray("\0\1\2", 3));
        QCOMPARE(s.remaining(), 0);
        QVERIFY(!s.readUInt8(u8));

        QVERIFY(!root.openStorage(QStringLiteral("Values")));  // a stream, not a storage
        QVERIFY(!root.openStream(QStringLiteral("A")));
        QVERIFY(!root.openStream(QStringLiteral("Missing")));
        QVERIFY(!root.createStream(QStringLiteral("New")));  // opened files are read-only
        CompoundStream deep = root.openStorage(QStringLiteral("A"))
                                  .openStorage(QStringLiteral("B"))
                                  .openStream(QStringLiteral("Deep"));
        QVERIFY(deep.readUInt32(u32));
        QCOMPARE(u32, 42u);
    }

    void childrenInDirectoryOrder() {
        const QStringList created = {
            "Tasks",         "b",        "A",       "Record10", "record9", "Record2",
            "DefaultClient", "Client0",  "client1", "ZZ",       "aa",      "Name",
            "Rates",         "Client10", "_x",      "a1"};
        const QStringList expected = {"A",       "b",        "a1",       "aa",
                                      "ZZ",      "_x",       "Name",     "Rates",
                                      "Tasks",   "Client0",  "client1",  "Record2",
                                      "record9", "Client10", "Record10", "DefaultClient"};
        const auto check = [&](const CompoundStorage& storage) {
            QStringList names;
            const auto children = storage.children();
            for (const CompoundEntry& e : *children) {
                names << e.name;
                QCOMPARE(e.isStorage, e.name.startsWith(u'C'));
            }
            QCOMPARE(names, expected);
        };
        const QString file = path(QStringLiteral("order.tlc"));
        auto out = CompoundFile::create(file);
        CompoundStorage root = out->root();
        for (const QString& name : created) {
            if (name.startsWith(u'C'))
                QVERIFY(root.createStorage(name));
            else
                QVERIFY(root.createStream(name));
        }
        check(root);
        QVERIFY(out->commit());
        check(CompoundFile::open(file)->root());
    }

    void failedCreateOrWriteLeavesNoFile_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("32 units") << QString(32, u'n');
        QTest::newRow("slash") << QStringLiteral("a/b");
        QTest::newRow("colon") << QStringLiteral("a:b");
        QTest::newRow("exclamation") << QStringLiteral("x!");
        QTest::newRow("control") << QStringLiteral("a\tb");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
        QTest::newRow("same name, other case") << QStringLiteral("NAME");
        QTest::newRow("written after close") << QStringLiteral("Name");
    }
    void failedCreateOrWriteLeavesNoFile() {
        QFETCH(QString, name);
        const QString file = path(QStringLiteral("x.tld"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();

        auto out = CompoundFile::create(file);
        CompoundStorage root = out->root();
        CompoundStream first = root.createStream(QStringLiteral("Name"));
        QVERIFY(first.writeUInt32(1) && first.close());
        if (name == QLatin1String("Name"))
            QVERIFY(!first.writeUInt32(2));
        else
            QVERIFY(!root.createStorage(name));
        QVERIFY(!out->commit());
        QVERIFY(!out->errorString().isEmpty());

        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));  // the previous file is untouched
        QCOMPARE(QDir(m_env->folder()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void droppedOrUnwritableFileLeavesNothing() {
        const QString file = path(QStringLiteral("dropped.tld"));
        {
            auto out = CompoundFile::create(file);
            CompoundStream s = out->root().createStream(QStringLiteral("S"));
            QVERIFY(s.writeBytes(pattern(9000)));
            out.reset();  // dropped uncommitted, with the stream still open
            QVERIFY(!s.writeUInt8(1) && !s.close());
        }
        QVERIFY(QDir(m_env->folder()).entryList(QDir::Files | QDir::Hidden).isEmpty());

        QString error;
        QVERIFY(!CompoundFile::create(path(QStringLiteral("no/such/folder/x.tld")), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!CompoundFile::open(path(QStringLiteral("missing.tld")), &error));
    }

    void countsLargerThanTheStreamFail() {
        const QString file = path(QStringLiteral("counts.tld"));
        {
            auto out = CompoundFile::create(file);
            CompoundStream s = out->root().createStream(QStringLiteral("S"));
            s.writeUInt32(1000);  // a string count with only three units behind it
            s.writeBytes(QByteArray(6, 'a'));
            s.writeUInt32(0xFFFFFFFF);
            QVERIFY(out->commit());
        }
        auto in = CompoundFile::open(file);
        CompoundStream s = in->root().openStream(QStringLiteral("S"));
        QString text;
        QByteArray bytes;
        QVERIFY(!s.readString(text));
        QCOMPARE(s.remaining(), 14);  // nothing consumed
        QVERIFY(!s.readBytes(15, bytes) && !s.readBytes(-1, bytes));
        quint32 count = 0;
        QVERIFY(s.readUInt32(count) && s.readBytes(6, bytes));
        QCOMPARE(count, 1000u);
        QVERIFY(!s.readString(text));  // 0xFFFFFFFF units: refused before allocating
        QCOMPARE(s.remaining(), 4);
    }

    void largeStorageIsWrittenAsBalancedTree() {
        const QString file = path(QStringLiteral("large.tld"));
        const int count = 3000;  // as a chain, far deeper than a reader may descend
        {
            auto out = CompoundFile::create(file);
            CompoundStorage records = out->root().createStorage(QStringLiteral("Records"));
            for (int i = 0; i < count; ++i)
                records.createStream(QStringLiteral("Record%1").arg(i)).writeUInt32(quint32(i));
            QVERIFY(out->commit());
        }
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        CompoundDirectory dir;
        QVERIFY(dir.read(raw));
        QVERIFY2(dir.depth() <= 16, qPrintable(QString::number(dir.depth())));

        auto in = CompoundFile::open(file);
        QVERIFY(in);
        CompoundStorage records = in->root().openStorage(QStringLiteral("Records"));
        QCOMPARE(records.children()->size(), count);
        quint32 value = 0;
        QVERIFY(records.openStream(QStringLiteral("Record2999")).readUInt32(value));
        QCOMPARE(value, 2999u);
    }

    void damagedFilesFail_data() {
        QTest::addColumn<QString>("damage");
        for (const char* damage :
             {"truncated to 0", "truncated in the header", "truncated after the header",
              "truncated to half", "truncated by one byte", "garbage", "garbage after a header",
              "siblings point at each other", "storage contains itself", "storage contains root",
              "two links to one element", "link outside the directory", "sibling chain too deep",
              "stream longer than its chain", "small stream longer than its blocks"})
            QTest::newRow(damage) << QString::fromLatin1(damage);
    }
    void damagedFilesFail() {
        QFETCH(QString, damage);
        const QString file = path(QStringLiteral("sample.tld"));
        QVERIFY(writeSample(file));
        QFile io(file);
        QVERIFY(io.open(QIODevice::ReadOnly));
        QByteArray bytes = io.readAll();
        io.close();
        CompoundDirectory dir;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            QVERIFY(dir.read(buffer));
        }
        const quint32 records = childNamed(dir, 0, "Records");
        const quint32 clients = childNamed(dir, 0, "Clients");
        const auto at = [&](quint32 entry, int field) { return dir.entry(entry).offset + field; };
        constexpr int left = 0x44, right = 0x48, child = 0x4C, size = 0x78;
        QRandomGenerator random(7);
        const auto garbage = [&](qsizetype from) {
            for (qsizetype i = from; i < bytes.size(); ++i)
                bytes[i] = char(random.bounded(256));
        };

        bool refusedOnOpen = true;  // damage in the directory is found before reading
        if (damage == "truncated to 0")
            bytes.clear();
        else if (damage == "truncated in the header")
            bytes.truncate(300);
        else if (damage == "truncated after the header")
            bytes.truncate(700);
        else if (damage == "truncated to half")
            bytes.truncate(bytes.size() / 2);
        else if (damage == "truncated by one byte")
            bytes.chop(1);
        else if (damage == "garbage")
            garbage(0);
        else if (damage == "garbage after a header")
            garbage(512);
        else if (damage == "siblings point at each other") {
            const quint32 top = dir.entry(records).child;
            const quint32 below = dir.entry(top).left;
            QVERIFY(below != CompoundDirectory::NoEntry);
            putU32(bytes, at(below, right), top);
        } else if (damage == "storage contains itself")
            putU32(bytes, at(clients, child), clients);
        else if (damage == "storage contains root")
            putU32(bytes, at(clients, child), 0);
        else if (damage == "two links to one element") {
            const quint32 top = dir.entry(records).child;
            putU32(bytes, at(clients, child), top);
        } else if (damage == "link outside the directory")
            putU32(bytes, at(dir.entry(records).child, left), 100000);
        else if (damage == "sibling chain too deep") {
            // What the library itself writes: each storage as one chain.
            const QString deep = path(QStringLiteral("deep.tld"));
            {
                auto out = CompoundFile::create(deep);
                CompoundStorage root = out->root();
                for (int i = 0; i < CompoundDirectory::kMaxDepth + 10; ++i)
                    root.createStream(QStringLiteral("S%1").arg(i));
                QVERIFY(out->commit());
            }
            QFile d(deep);
            QVERIFY(d.open(QIODevice::ReadOnly));
            bytes = d.readAll();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            QVERIFY(dir.read(buffer));
            const QList<quint32> kids = dir.children(0);
            putU32(bytes, at(0, child), kids.first());
            for (qsizetype i = 0; i < kids.size(); ++i) {
                putU32(bytes, at(kids[i], left), CompoundDirectory::NoEntry);
                putU32(bytes, at(kids[i], right),
                       i + 1 < kids.size() ? kids[i + 1] : CompoundDirectory::NoEntry);
            }
        } else if (damage == "stream longer than its chain") {
            putU32(bytes, at(childNamed(dir, 0, "Big"), size), 10000 + 2048);
            refusedOnOpen = false;
        } else if (damage == "small stream longer than its blocks") {
            putU32(bytes, at(childNamed(dir, 0, "DataVersion"), size), 3000);
            refusedOnOpen = false;
        } else
            QFAIL("unknown damage");

        QVERIFY(io.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(io.write(bytes), bytes.size());
        io.close();
        QString error;
        auto in = CompoundFile::open(file, &error);
        if (refusedOnOpen || !in) {
            QVERIFY2(!in, qPrintable(damage));
            QVERIFY(!error.isEmpty());
        } else {
            QVERIFY(!dumpFile(file));
        }
    }

    void olefileReadsOurFiles() {
        const QString python = QStringLiteral("/usr/bin/python3");
        if (!QFile::exists(python))
            QSKIP("python3 is not installed");
        if (QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import olefile")}) !=
            0)
            QSKIP("python3-olefile is not installed");

        const QString file = path(QStringLiteral("sample.tld"));
        QVERIFY(writeSample(file));
        const auto ours = dumpFile(file);
        QVERIFY(ours);
        QCOMPARE(ours->size(), 21);

        static const char script[] = R"(
import sys, olefile
sys.stdout.reconfigure(encoding='utf-8')
ole = olefile.OleFileIO(sys.argv[1])
if ole.parsing_issues:
    print('issues', ole.parsing_issues)
for entry in ole.listdir(streams=True, storages=True):
    path = '/'.join(entry)
    if ole.get_type(entry) == olefile.STGTY_STREAM:
        print(path, 'stream', ole.openstream(entry).read().hex())
    else:
        print(path, 'storage')
)";
        QProcess process;
        process.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), file});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        QStringList theirs =
            QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QStringList expected = *ours;
        theirs.sort();
        expected.sort();
        QCOMPARE(theirs, expected);
    }
};

TEMPOLATCH_TEST(CompoundFileTest);
#include "CompoundFileTest.moc"
