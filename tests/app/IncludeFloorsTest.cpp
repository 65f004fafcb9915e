#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "common/TestRegistry.h"

namespace tempolatch::test {

namespace {

// The floors of the source tree, from the ground: a file may include its
// own room and the rooms of lower floors, never a room above it nor another
// room of its own floor (what two rooms of one floor both need moves down).
int floorOf(const QString& room) {
    static const QHash<QString, int> floors = {
        {QStringLiteral("platform"), 0}, {QStringLiteral("store"), 1},
        {QStringLiteral("widgets"), 1},  {QStringLiteral("settings"), 2},
        {QStringLiteral("records"), 3},  {QStringLiteral("transfer"), 4},
        {QStringLiteral("views"), 5},    {QStringLiteral("clients"), 5},
        {QStringLiteral("notes"), 5},    {QStringLiteral("editing"), 6},
        {QStringLiteral("timers"), 7},   {QStringLiteral("expenses"), 7},
        {QStringLiteral("reports"), 7},  {QStringLiteral("app"), 8},
    };
    return floors.value(room, -1);
}

// Only the store itself talks to the object store, SQLite and the server.
bool isStoreInternal(const QString& header) {
    static const QStringList internal = {QStringLiteral("platform/ObjectStore.h"),
                                         QStringLiteral("platform/Sqlite.h"),
                                         QStringLiteral("platform/SqliteObjectStore.h"),
                                         QStringLiteral("platform/DatabaseHandle.h"),
                                         QStringLiteral("sqlite3.h"),
                                         QStringLiteral("libpq-fe.h")};
    return internal.contains(header) || header.startsWith(QLatin1String("platform/postgres/"));
}

QString roomOf(const QString& path) {
    return path.section(u'/', 0, 0);
}

// What is wrong with `includeLine` in the file at `path` (relative to src/);
// empty when nothing is.
QString violation(const QString& path, const QString& includeLine) {
    static const QRegularExpression include(
        QStringLiteral("^\\s*#\\s*include\\s*[\"<]([^\">]+)[\">]"));
    const QRegularExpressionMatch match = include.match(includeLine);
    if (!match.hasMatch())
        return {};
    const QString header = match.captured(1);
    const QString from = roomOf(path);
    if (floorOf(from) < 0)
        return QStringLiteral("%1: the room %2 has no floor").arg(path, from);
    if (isStoreInternal(header) && from != QLatin1String("store") &&
        from != QLatin1String("platform"))
        return QStringLiteral("%1: %2 above the store").arg(path, header);
    if (!header.contains(u'/'))
        return {};
    const QString to = roomOf(header);
    const int toFloor = floorOf(to);
    if (toFloor < 0 || to == from)
        return {};
    if (toFloor > floorOf(from))
        return QStringLiteral("%1: %2 is a floor up").arg(path, header);
    if (toFloor == floorOf(from))
        return QStringLiteral("%1: %2 is beside it on its floor").arg(path, header);
    return {};
}

}  // namespace

class IncludeFloorsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rules_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("wrong");
        QTest::newRow("own room") << "editing/EntryEditor.cpp"
                                  << "#include \"editing/EntryPage.h\"" << false;
        QTest::newRow("down") << "reports/HtmlReport.cpp"
                              << "#include \"notes/NoteStream.h\"" << false;
        QTest::newRow("up") << "notes/NoteMenus.cpp"
                            << "#include \"editing/EntryEditor.h\"" << true;
        QTest::newRow("up from a subfolder") << "platform/compound/CompoundFile.cpp"
                                             << "#include \"store/Records.h\"" << true;
        QTest::newRow("beside") << "notes/NoteMenus.cpp"
                                << "#include \"clients/DialogBar.h\"" << true;
        QTest::newRow("object store above the store")
            << "transfer/BackupOperation.cpp"
            << "#include \"platform/ObjectStore.h\"" << true;
        QTest::newRow("sqlite above the store") << "views/EntryFilter.cpp"
                                                << "#include <sqlite3.h>" << true;
        QTest::newRow("object store in the store")
            << "store/RecordStore.cpp"
            << "#include \"platform/ObjectStore.h\"" << false;
        QTest::newRow("a room without a floor") << "misc/Thing.cpp"
                                                << "#include \"platform/Clock.h\"" << true;
        QTest::newRow("a library header") << "app/MainFrame.cpp"
                                          << "#include <QMainWindow>" << false;
        QTest::newRow("not an include") << "app/MainFrame.cpp"
                                        << "// \"editing/x.h\"" << false;
    }
    void rules() {
        QFETCH(QString, path);
        QFETCH(QString, line);
        QFETCH(bool, wrong);
        QCOMPARE(!violation(path, line).isEmpty(), wrong);
    }

    void sourceTreeKeepsItsFloors() {
        const QString root = QStringLiteral(TEMPOLATCH_SOURCE_DIR);
        QStringList found;
        int files = 0;
        int includes = 0;
        QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString path = QDir(root).relativeFilePath(file);
            if (!path.contains(u'/'))
                continue;
            QFile source(file);
            QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(file));
            ++files;
            while (!source.atEnd()) {
                const QString line = QString::fromUtf8(source.readLine());
                if (!line.trimmed().startsWith(u'#'))
                    continue;
                ++includes;
                const QString wrong = violation(path, line);
                if (!wrong.isEmpty())
                    found.append(wrong);
            }
        }
        qInfo("%d files, %d preprocessor lines, %d out of place", files, includes,
              int(found.size()));
        QVERIFY(files > 100);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

TEMPOLATCH_TEST(IncludeFloorsTest);

}  // namespace tempolatch::test

#include "IncludeFloorsTest.moc"
