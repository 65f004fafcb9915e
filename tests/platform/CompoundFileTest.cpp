#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>
#include <functional>

#include "GsfFiles.h"
#include "common/EnvironmentTest.h"
#include "common/OleFileListing.h"
#include "common/TestRegistry.h"
#include "platform/compound/CompoundDirectory.h"
#include "platform/compound/CompoundFile.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

QByteArray pattern(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// How the dumps show a stream: short ones in full, long ones by size and hash.
QString streamLine(const QString& path, const QByteArray& bytes) {
    const QByteArray shown =
        bytes.size() <= 64 ? bytes.toHex()
                           : QByteArray::number(bytes.size()) + ':' +
                                 QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
    return path + QStringLiteral(" stream ") + QString::fromLatin1(shown);
}

// Every element below a storage as "path storage" or streamLine() lines;
// false as soon as anything cannot be opened or read.
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
            out << streamLine(path, bytes);
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
    // Sizes at the block, sector and small-stream limits, and two streams
    // past the point where their bytes go to the file written in turns.
    CompoundStorage sizes = root.createStorage(QStringLiteral("Sizes"));
    for (int size : {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097})
        sizes.createStream(QStringLiteral("S%1").arg(size)).writeBytes(pattern(size));
    CompoundStream turn1 = sizes.createStream(QStringLiteral("Turn1"));
    CompoundStream turn2 = sizes.createStream(QStringLiteral("Turn2"));
    const QByteArray turns = pattern(50000);
    for (int at = 0; at < turns.size(); at += 1000) {
        turn1.writeBytes(turns.mid(at, 1000));
        turn2.writeBytes(turns.mid(at, 999));
    }
    return name.close() && file->commit();
}

// The sample's elements as libgsf writes them, and how our dump shows them.
std::vector<test::gsf::Element> gsfSample(QStringList& lines) {
    std::vector<test::gsf::Element> elements;
    const auto add = [&](const QString& path, bool storage, const QByteArray& data = {}) {
        elements.push_back({path.toStdString(), storage, data.toStdString()});
        lines << (storage ? path + QStringLiteral(" storage") : streamLine(path, data));
    };
    add(QStringLiteral("Zoë"), true);
    add(QStringLiteral("Zoë/Ünïcode €"), false, QByteArray("\x01\x02"));
    add(QStringLiteral("Zoë/Inner"), true);
    add(QStringLiteral("Zoë/Inner/Empty"), false);
    for (int size : {1, 64, 4095, 4096, 20000, 100000})
        add(QStringLiteral("Size%1").arg(size), false, pattern(size));
    add(QStringLiteral("Records"), true);
    for (int i = 0; i < 300; ++i)
        add(QStringLiteral("Records/Record%1").arg(i), false, QByteArray::number(i * 1000003));
    return elements;
}

// Checks that the elements of a storage form a red-black tree in directory
// order: the root black, no red node under a red one, as many black nodes on
// every path.
bool isRedBlackTree(const QByteArray& file, const CompoundDirectory& dir, quint32 storage) {
    QList<quint32> inOrder;
    bool ok = true;
    const auto black = [&](quint32 e) { return file[dir.entryOffset(e) + 0x43] == 1; };
    const std::function<int(quint32, bool)> walk = [&](quint32 e, bool parentRed) -> int {
        if (e == CompoundDirectory::NoEntry)
            return 1;
        if (!black(e) && parentRed)
            ok = false;
        const int left = walk(dir.entry(e).left, !black(e));
        inOrder.append(e);
        const int right = walk(dir.entry(e).right, !black(e));
        if (left != right)
            ok = false;
        return left + (black(e) ? 1 : 0);
    };
    const quint32 top = dir.entry(storage).child;
    walk(top, false);
    return ok && (top == CompoundDirectory::NoEntry || black(top)) &&
           inOrder == dir.children(storage);
}

// Records as a backup writes them: about 120 bytes each.
QByteArray recordBytes(int i) {
    QByteArray bytes;
    bytes.append(QByteArray::number(i).rightJustified(8, '0'));
    bytes.append(QStringLiteral("Client %1, project Design, task Review, 150 minutes at 60.00 USD")
                     .arg(i % 50)
                     .toUtf8());
    bytes.append(QByteArray(120 - bytes.size() % 120, char(i)));
    return bytes;
}

quint32 childNamed(const CompoundDirectory& dir, quint32 storage, const char* name) {
    return dir.findChild(storage, QString::fromUtf8(name));
}

// Where the allocation table keeps the sector after `sector`.
qint64 fatEntry(const CompoundDirectory& dir, quint32 sector) {
    return dir.offsetOf(dir.tableSectors()[sector / 128]) + 4 * (sector % 128);
}

void putU32(QByteArray& bytes, qint64 at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

}  // namespace

class CompoundFileTest : public test::EnvironmentTest {
    Q_OBJECT

    QString path(const QString& name) const { return m_env->filePath(name); }

private Q_SLOTS:

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

    // The writer checks a new name against the last one while names come
    // in directory order, and against all of them once they stop doing so.
    void repeatedNamesAreRefusedInAnyOrder_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("lastRefused");
        QTest::newRow("in order, last repeated") << QStringList{"A", "BB", "bb"} << true;
        QTest::newRow("in order, earlier repeated") << QStringList{"A", "BB", "a"} << true;
        QTest::newRow("out of order, then repeated")
            << QStringList{"Record1", "Record3", "Record2", "RECORD3"} << true;
        QTest::newRow("out of order, new") << QStringList{"Record1", "Record3", "Record2"} << false;
        QTest::newRow("in order, new") << QStringList{"Record9", "Record10", "Record11"} << false;
    }
    void repeatedNamesAreRefusedInAnyOrder() {
        QFETCH(QStringList, names);
        QFETCH(bool, lastRefused);
        auto out = CompoundFile::create(path(QStringLiteral("names.tlc")));
        CompoundStorage root = out->root();
        for (qsizetype i = 0; i + 1 < names.size(); ++i)
            QVERIFY(root.createStream(names[i]));
        QCOMPARE(!root.createStream(names.last()), lastRefused);
        QCOMPARE(out->commit(), !lastRefused);
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

    void largeStorageRoundTrip() {
        const QString file = path(QStringLiteral("large.tld"));
        const int count = 100000;  // one time entry each
        {
            auto out = CompoundFile::create(file);
            CompoundStorage root = out->root();
            for (const char* name : {"Clients", "Projects", "Tasks"})
                root.createStorage(QString::fromLatin1(name))
                    .createStream(QStringLiteral("Count"))
                    .writeUInt32(3);
            CompoundStorage records = root.createStorage(QStringLiteral("Records"));
            for (int i = 0; i < count; ++i) {
                // Created out of order, as names of ids come from a hash.
                const int id = (i * 7919) % count;
                QVERIFY(records.createStream(QStringLiteral("Record%1").arg(id))
                            .writeBytes(recordBytes(id)));
            }
            QVERIFY(out->commit());
        }
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray bytes = raw.readAll();
        QBuffer buffer;
        buffer.setData(bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        CompoundDirectory dir;
        QVERIFY(dir.read(buffer));
        QVERIFY2(dir.depth() <= 2 * 18, qPrintable(QString::number(dir.depth())));
        for (const char* storage : {"Clients", "Records"})
            QVERIFY(isRedBlackTree(bytes, dir, childNamed(dir, 0, storage)));
        QVERIFY(isRedBlackTree(bytes, dir, 0));

        auto in = CompoundFile::open(file);
        QVERIFY(in);
        CompoundStorage records = in->root().openStorage(QStringLiteral("records"));
        const QList<CompoundEntry> children = *records.children();
        QCOMPARE(children.size(), count);
        QCOMPARE(children.first().name, QStringLiteral("Record0"));
        QCOMPARE(children.last().name, QStringLiteral("Record99999"));
        for (int i = 0; i < count; ++i) {
            CompoundStream s = records.openStream(QStringLiteral("RECORD%1").arg(i));
            QByteArray read;
            QVERIFY(s.readBytes(s.size(), read));
            QCOMPARE(read, recordBytes(i));
        }
        QVERIFY(!records.openStream(QStringLiteral("Record100000")));
    }

    // The reader takes a storage's elements from its tree in order; a tree
    // of another writer that is not in directory order is sorted, and two
    // elements of one name are refused however the tree holds them.
    void treesOutOfOrderAndRepeatedNames() {
        const QString file = path(QStringLiteral("sample.tld"));
        QVERIFY(writeSample(file));
        QFile io(file);
        QVERIFY(io.open(QIODevice::ReadOnly));
        const QByteArray original = io.readAll();
        io.close();
        CompoundDirectory dir;
        QBuffer buffer(const_cast<QByteArray*>(&original));
        QVERIFY(buffer.open(QIODevice::ReadOnly) && dir.read(buffer));
        const quint32 records = childNamed(dir, 0, "Records");
        const quint32 top = dir.entry(records).child;
        QList<QString> expected;
        for (quint32 kid : dir.children(records))
            expected << dir.name(kid);

        QByteArray swapped = original;
        putU32(swapped, dir.entryOffset(top) + 0x44, dir.entry(top).right);
        putU32(swapped, dir.entryOffset(top) + 0x48, dir.entry(top).left);
        QVERIFY(io.open(QIODevice::WriteOnly | QIODevice::Truncate));
        io.write(swapped);
        io.close();
        auto in = CompoundFile::open(file);
        QVERIFY(in);
        const CompoundStorage storage = in->root().openStorage(QStringLiteral("Records"));
        QList<QString> names;
        const auto children = storage.children();
        for (const CompoundEntry& e : *children)
            names << e.name;
        QCOMPARE(names, expected);
        QCOMPARE(storage.childCount(), expected.size());
        for (qsizetype i : {qsizetype(0), expected.size() / 2, expected.size() - 1}) {
            CompoundStream byPlace = storage.openStreamAt(i);
            CompoundStream byName = storage.openStream(expected[i]);
            QByteArray a, b;
            QVERIFY(byPlace.readBytes(byPlace.size(), a) && byName.readBytes(byName.size(), b));
            QCOMPARE(a, b);
        }
        QVERIFY(!storage.openStreamAt(expected.size()));
        QVERIFY(!in->root().openStreamAt(in->root().childCount() + 1));
        in.reset();

        // "Record10" renamed "Record11", in the tree's place of the first.
        QByteArray repeated = original;
        const quint32 ten = childNamed(dir, records, "Record10");
        repeated[dir.entryOffset(ten) + 14] = '1';
        QVERIFY(io.open(QIODevice::WriteOnly | QIODevice::Truncate));
        io.write(repeated);
        io.close();
        QString error;
        QVERIFY(!CompoundFile::open(file, &error));
        QCOMPARE(error, QStringLiteral("two elements of one name"));
    }

    void damagedFilesFail_data() {
        QTest::addColumn<QString>("damage");
        for (const char* damage : {"truncated to 0",
                                   "truncated in the header",
                                   "truncated after the header",
                                   "truncated to half",
                                   "truncated by one byte",
                                   "garbage",
                                   "garbage after a header",
                                   "siblings point at each other",
                                   "storage contains itself",
                                   "storage contains root",
                                   "two links to one element",
                                   "link outside the directory",
                                   "stream longer than its chain",
                                   "small stream longer than its blocks",
                                   "stream of 4 GB",
                                   "chain loops",
                                   "chain leaves the file",
                                   "small chain loops",
                                   "two streams share a block",
                                   "mini stream outside the file",
                                   "allocation table outside the file"})
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
        const auto at = [&](quint32 entry, int field) { return dir.entryOffset(entry) + field; };
        constexpr int left = 0x44, right = 0x48, child = 0x4C, start = 0x74, size = 0x78;
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
        else if (damage == "stream longer than its chain") {
            putU32(bytes, at(childNamed(dir, 0, "Big"), size), 10000 + 2048);
            refusedOnOpen = false;
        } else if (damage == "small stream longer than its blocks") {
            putU32(bytes, at(childNamed(dir, 0, "DataVersion"), size), 3000);
            refusedOnOpen = false;
        } else if (damage == "stream of 4 GB") {
            putU32(bytes, at(childNamed(dir, 0, "Big"), size), 0xFFFFFFF0u);
        } else if (damage == "chain loops" || damage == "chain leaves the file") {
            // The third sector of the large stream leads back to its first, or away.
            const quint32 first = dir.entry(childNamed(dir, 0, "Big")).start;
            const quint32 third = dir.fat()[dir.fat()[first]];
            putU32(bytes, fatEntry(dir, third), damage == "chain loops" ? first : 0x7FFFFF);
        } else if (damage == "small chain loops") {
            const quint32 version = childNamed(dir, 0, "DataVersion");
            const quint32 block = dir.entry(version).start;
            putU32(bytes, dir.offsetOf(dir.miniFatStart()) + 4 * block, block);
            putU32(bytes, at(version, size), 100);
        } else if (damage == "two streams share a block") {
            putU32(bytes, at(childNamed(dir, 0, "DataVersion"), start),
                   dir.entry(childNamed(dir, records, "Record3")).start);
        } else if (damage == "mini stream outside the file") {
            putU32(bytes, at(0, start), 0x7FFFFF);
        } else if (damage == "allocation table outside the file") {
            putU32(bytes, 0x4C, 0x7FFFFF);
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

    void otherReadersReadOurFiles_data() {
        QTest::addColumn<QString>("layout");
        QTest::newRow("sample") << QStringLiteral("sample");
        QTest::newRow("3000 records") << QStringLiteral("records");
        QTest::newRow("9 MB, past the header's table list") << QStringLiteral("large");
    }
    void otherReadersReadOurFiles() {
        QFETCH(QString, layout);
        const QString file = path(QStringLiteral("ours.tld"));
        const QByteArray large = pattern(9 << 20);
        if (layout == QLatin1String("sample")) {
            QVERIFY(writeSample(file));
        } else {
            auto out = CompoundFile::create(file);
            CompoundStorage root = out->root();
            root.createStream(QStringLiteral("DataVersion")).writeUInt32(300);
            CompoundStorage records = root.createStorage(QStringLiteral("Records"));
            const int count = layout == QLatin1String("records") ? 3000 : 10;
            for (int i = 0; i < count; ++i)
                records.createStream(QStringLiteral("Record%1").arg(i)).writeBytes(recordBytes(i));
            if (layout == QLatin1String("large")) {
                CompoundStream big = root.createStream(QStringLiteral("Big"));
                for (qsizetype at = 0; at < large.size(); at += 100000)
                    QVERIFY(big.writeBytes(large.mid(at, 100000)));
            }
            QVERIFY(out->commit());
        }
        const auto ours = dumpFile(file);
        QVERIFY(ours);
        if (layout == QLatin1String("sample"))
            QCOMPARE(ours->size(), 35);
        QStringList expected = *ours;
        expected.sort();

        if (layout == QLatin1String("large")) {
            // More allocation table than the header lists: the rest is
            // listed in a further sector.
            QFile raw(file);
            QVERIFY(raw.open(QIODevice::ReadOnly));
            const QByteArray header = raw.read(512);
            QVERIFY(qFromLittleEndian<quint32>(header.constData() + 0x2C) > 109);
            QCOMPARE(qFromLittleEndian<quint32>(header.constData() + 0x48), 1u);
            // Read back in pieces that cross sectors every which way.
            CompoundStream big = CompoundFile::open(file)->root().openStream(QStringLiteral("Big"));
            QByteArray read;
            QByteArray piece;
            const int pieces[] = {1, 511, 512, 513, 4095, 64, 100000, 3, 65536};
            for (int n = 0; big.remaining() > 0; ++n) {
                QVERIFY(big.readBytes(std::min<qint64>(pieces[n % 9], big.remaining()), piece));
                read += piece;
            }
            QVERIFY(read == large);
        }

        std::vector<test::gsf::Element> elements;
        std::string error;
        QVERIFY2(test::gsf::readFile(QFile::encodeName(file).toStdString(), elements, error),
                 error.c_str());
        QStringList gsfLines;
        for (const test::gsf::Element& e : elements) {
            const QString name = QString::fromStdString(e.path);
            gsfLines << (e.storage ? name + QStringLiteral(" storage")
                                   : streamLine(name, QByteArray::fromStdString(e.data)));
        }
        gsfLines.sort();
        QCOMPARE(gsfLines, expected);

        const test::OleFileListing theirs = test::oleFileListing(file, 64);
        if (!theirs.available)
            QSKIP("python3-olefile is not installed");
        QVERIFY2(theirs.ok, qPrintable(theirs.error));
        QCOMPARE(theirs.lines, expected);
    }

    // A writer may chain a storage's elements one after another instead of
    // balancing them: thousands of links deep, and still a good file.
    void weReadDeepSiblingChains() {
        const QString file = path(QStringLiteral("chained.tld"));
        std::vector<test::gsf::Element> elements{{"DataVersion", false, std::string(8, '\1')},
                                                 {"Records", true, {}}};
        QStringList expected;
        for (int i = 0; i < 5000; ++i) {
            const std::string name = "Record" + std::to_string(i);
            elements.push_back({"Records/" + name, false, name});
            expected.append(QString::fromStdString(name));
        }
        std::string error;
        QVERIFY2(test::gsf::writeFile(QFile::encodeName(file).toStdString(), elements, error),
                 error.c_str());
        auto in = CompoundFile::open(file);
        QVERIFY(in);
        const CompoundStorage records = in->root().openStorage(QStringLiteral("Records"));
        QVERIFY(records);
        const auto children = records.children();
        QVERIFY(children);
        QStringList names;
        for (const CompoundEntry& e : *children)
            names.append(e.name);
        std::sort(expected.begin(), expected.end(),
                  [](const QString& a, const QString& b) { return compareCompoundKeys(a, b) < 0; });
        QCOMPARE(names, expected);
        CompoundStream last = records.openStream(QStringLiteral("Record4999"));
        QByteArray bytes;
        QVERIFY(last.readBytes(10, bytes));
        QCOMPARE(bytes, QByteArray("Record4999"));
    }

    void weReadLibgsfFiles() {
        const QString file = path(QStringLiteral("theirs.tld"));
        QStringList expected;
        std::string error;
        QVERIFY2(
            test::gsf::writeFile(QFile::encodeName(file).toStdString(), gsfSample(expected), error),
            error.c_str());
        const auto ours = dumpFile(file);
        QVERIFY(ours);
        QStringList lines = *ours;
        lines.sort();
        expected.sort();
        QCOMPARE(lines, expected);
    }
};

TEMPOLATCH_TEST(CompoundFileTest);
#include "CompoundFileTest.moc"
