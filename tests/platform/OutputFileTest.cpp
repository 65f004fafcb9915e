#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <thread>

#include "common/EnvironmentTest.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "platform/NativePath.h"
#include "platform/OutputFile.h"
#include "platform/Profile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

using namespace tempolatch;
using platform::OutputFile;

namespace {

bool isFifo(const QString& path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Reads a pipe to its end on a thread of its own, as the program at the
// other end of a shell pipeline would.
class PipeReader {
public:
    explicit PipeReader(const QString& path)
        : m_thread([this, path] {
              QFile pipe(path);
              if (pipe.open(QIODevice::ReadOnly))
                  m_bytes = pipe.readAll();
          }) {}
    QByteArray finish() {
        m_thread.join();
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::thread m_thread;
};

struct DiskSpace {
    explicit DiskSpace(qint64 bytes) { OutputFile::setDiskSpaceForTesting(bytes); }
    ~DiskSpace() { OutputFile::setDiskSpaceForTesting(-1); }
};

}  // namespace

class OutputFileTest : public test::EnvironmentTest {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    // A full disk never passes for success, whether it shows in a write or
    // only when the last buffered bytes go out at the end, and the file the
    // output was to replace is left as it was.
    void fullDiskKeepsTheEarlierFile_data() {
        QTest::addColumn<qint64>("space");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("earlier");
        QTest::newRow("nothing fits, seen only at the end") << qint64(0) << 100 << true;
        QTest::newRow("the last block is cut") << qint64(100000) << 150000 << true;
        QTest::newRow("one byte short") << qint64(149999) << 150000 << true;
        QTest::newRow("no earlier file") << qint64(10) << 100 << false;
    }
    void fullDiskKeepsTheEarlierFile() {
        QFETCH(qint64, space);
        QFETCH(int, size);
        QFETCH(bool, earlier);
        const QString path = m_dir.filePath(QStringLiteral("out.csv"));
        QFile::remove(path);
        if (earlier)
            QVERIFY(test::putFile(path, "earlier export"));

        const DiskSpace disk(space);
        OutputFile file(path);
        QVERIFY(file.open());
        for (int i = 0; i < size / 10; ++i)
            file.write("0123456789");
        QVERIFY(!file.commit());
        QVERIFY(file.errorString().contains(qt_error_string(ENOSPC)));
        QCOMPARE(test::fileContents(path),
                 earlier ? QByteArray("earlier export") : QByteArray("<missing>"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files),
                 earlier ? QStringList{QStringLiteral("out.csv")} : QStringList{});
    }

    // A real device that is always full: the stream path meets the error
    // the system gives, no seam involved.
    void fullDeviceFails() {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        OutputFile file(QStringLiteral("/dev/full"));
        QVERIFY(file.open());
        QVERIFY(file.isStream());
        file.write("a row\r\n");
        QVERIFY(!file.commit());
    }

    // The profile's own files, and targets that are no file at all, are
    // refused before anything is written; pipes and devices are streams.
    void refusals_data() {
        QTest::addColumn<QString>("target");  // "@" the profile folder, "~" a scratch folder
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("refused");  // part of the reason; empty: accepted
        const QString profile = QStringLiteral("holds the data of the profile in use");
        QTest::newRow("store") << "@/store.db" << 0 << profile;
        QTest::newRow("store journal, not there yet") << "@/store.db-wal" << 0 << profile;
        QTest::newRow("shared memory of the settings") << "@/registry.db-shm" << 0 << profile;
        QTest::newRow("settings") << "@/registry.db" << 0 << profile;
        QTest::newRow("timers") << "@/timers.dat" << 0 << profile;
        QTest::newRow("another spelling")
            << "@/../" + QStringLiteral("%1/store.db") << 0 << profile;
        QTest::newRow("through a link to the folder")
            << "~/profile-link/registry.db" << 0 << profile;
        QTest::newRow("a link to the store") << "~/store-link.csv" << 0 << profile;
        QTest::newRow("timers, as the timers")
            << "@/timers.dat" << int(OutputFile::ProfileFile) << QString();
        QTest::newRow("a folder") << "~" << 0 << QStringLiteral("is a folder");
        QTest::newRow("a socket") << "~/socket" << 0 << QStringLiteral("neither a file");
        QTest::newRow("a new file beside the profile") << "@/export.csv" << 0 << QString();
        QTest::newRow("standard output") << "-" << 0 << QString();
        QTest::newRow("a pipe") << "~/pipe" << 0 << QString();
        QTest::newRow("a character device") << "/dev/null" << 0 << QString();
    }
    void refusals() {
        QFETCH(QString, target);
        QFETCH(int, options);
        QFETCH(QString, refused);
        const QString folder = m_env->folder();
        QVERIFY(m_env->store().openAll());
        const QByteArray store = test::fileContents(platform::Profile::storePath());
        const auto link = [&](const QString& to, const QString& name) {
            QFile::remove(m_dir.filePath(name));
            QVERIFY(QFile::link(to, m_dir.filePath(name)));
        };
        link(folder, QStringLiteral("profile-link"));
        link(platform::Profile::storePath(), QStringLiteral("store-link.csv"));
        QLocalServer server;
        QFile::remove(m_dir.filePath(QStringLiteral("socket")));
        QVERIFY(server.listen(m_dir.filePath(QStringLiteral("socket"))));
        if (!QFile::exists(m_dir.filePath(QStringLiteral("pipe"))))
            QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"),
                                       {m_dir.filePath(QStringLiteral("pipe"))}),
                     0);
        target.replace(QStringLiteral("%1"), QDir(folder).dirName());
        target.replace(QLatin1Char('@'), folder).replace(QLatin1Char('~'), m_dir.path());

        const QString reason = OutputFile::refusal(target, OutputFile::Options(options));
        QVERIFY2(refused.isEmpty() ? reason.isEmpty() : reason.contains(refused),
                 qPrintable(reason));
        if (!refused.isEmpty()) {
            OutputFile file(target, OutputFile::Options(options));
            QVERIFY(!file.open());
            QCOMPARE(file.errorString(), reason);
        }
        QCOMPARE(test::fileContents(platform::Profile::storePath()), store);
    }

    // A pipe stays a pipe: the bytes go through it and nothing is renamed
    // over it; a compound file, which seeks back for its header, reaches
    // the pipe whole and in its final form.
    void pipeIsWrittenAsAStream_data() {
        QTest::addColumn<bool>("seekable");
        QTest::newRow("straight through") << false;
        QTest::newRow("seeking back") << true;
    }
    void pipeIsWrittenAsAStream() {
        QFETCH(bool, seekable);
        const QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("stream"));
        QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {pipe}), 0);
        QByteArray body(200000, 'b');  // more than one block
        PipeReader reader(pipe);
        {
            OutputFile file(pipe, seekable ? OutputFile::Seekable : OutputFile::NoOption);
            QVERIFY(file.open());
            QVERIFY(file.isStream());
            QCOMPARE(file.isSequential(), !seekable);
            QVERIFY(file.write(QByteArray(4, 'x')) == 4);
            QVERIFY(file.write(body) == body.size());
            if (seekable) {
                QVERIFY(file.seek(0));
                QVERIFY(file.write("HEAD") == 4);
            } else {
                QVERIFY(!file.seek(0));
            }
            QVERIFY(file.commit());
        }
        const QByteArray received = reader.finish();
        QCOMPARE(received.size(), body.size() + 4);
        QCOMPARE(received.left(4), seekable ? QByteArray("HEAD") : QByteArray("xxxx"));
        QVERIFY(isFifo(pipe));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System),
                 QStringList{QStringLiteral("stream")});
    }

    // File names are bytes on this system: whatever does not decode as
    // UTF-8 comes back byte for byte, and real text is text.
    void nativeNamesRoundTrip_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("text");  // what the name reads as, where it is text
        QTest::newRow("ascii") << QByteArray("out.tld") << QStringLiteral("out.tld");
        QTest::newRow("utf-8") << QByteArray("Zürich €.tld") << QStringLiteral("Zürich €.tld");
        QTest::newRow("four bytes")
            << QByteArray("\xf0\x9f\x93\x81.tld") << QString::fromUtf8("\xf0\x9f\x93\x81.tld");
        QTest::newRow("latin-1") << QByteArray("\xfe.tld") << QString();
        QTest::newRow("latin-1 amid utf-8") << QByteArray("\xc3\xa9\xe9\xc3\xa9") << QString();
        QTest::newRow("cut sequence") << QByteArray("a\xe2\x82") << QString();
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString();
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xb3\xbe") << QString();
        QTest::newRow("beyond unicode") << QByteArray("\xf4\x90\x80\x80") << QString();
    }
    void nativeNamesRoundTrip() {
        QFETCH(QByteArray, name);
        QFETCH(QString, text);
        const QString path = platform::pathFromNative(name);
        QCOMPARE(platform::nativePath(path), name);
        if (!text.isEmpty())
            QCOMPARE(path, text);
    }

    // The new file takes the name whole: a name that is no UTF-8 keeps its
    // bytes, a link stays a link to the file replaced, the replaced file's
    // permissions stay, and nothing is left beside it.
    void replacedFilesKeepNameLinkAndMode() {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        const QString odd = platform::pathFromNative(folder + "\xfe.tld");
        const auto write = [](const QString& path, const QByteArray& bytes) {
            OutputFile file(path);
            return file.open() && file.write(bytes) == bytes.size() && file.commit();
        };
        QVERIFY(write(odd, "first"));
        QVERIFY(write(odd, "second"));
        QFile read;
        QVERIFY(platform::openNative(read, odd, QIODevice::ReadOnly, nullptr));
        QCOMPARE(read.readAll(), QByteArray("second"));

        const QString target = dir.filePath(QStringLiteral("target.csv"));
        const QString link = dir.filePath(QStringLiteral("link.csv"));
        QVERIFY(test::putFile(target, "old"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        QVERIFY(QFile::link(target, link));
        QVERIFY(write(link, "new"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(test::fileContents(target), QByteArray("new"));
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(target).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0640));

        {
            OutputFile dropped(target);
            QVERIFY(dropped.open());
            dropped.write("never");
        }
        QCOMPARE(test::fileContents(target), QByteArray("new"));
        // Listed by the system itself, which does not skip a name that is no UTF-8.
        QList<QByteArray> names;
        DIR* listing = ::opendir(folder.constData());
        while (const dirent* entry = ::readdir(listing))
            names.append(entry->d_name);
        ::closedir(listing);
        std::sort(names.begin(), names.end());
        QCOMPARE(names, (QList<QByteArray>{".", "..", "link.csv", "target.csv", "\xfe.tld"}));
        ::unlink(platform::nativePath(odd).constData());  // which the temporary folder cannot
    }

    // A small file system that really fills up, where the system lets this
    // test mount one (root on CI); elsewhere the seam above stands in.
    void realFullFileSystem() {
        QTemporaryDir mount;
        if (QProcess::execute(
                QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mount.path()}) != 0)
            QSKIP("mounting a small tmpfs is not allowed here");
        const QString path = mount.filePath(QStringLiteral("out.csv"));
        QVERIFY(test::putFile(path, "earlier export"));
        bool committed = true;
        {
            OutputFile file(path);
            QVERIFY(file.open());
            file.write(QByteArray(200 * 1024, 'r'));
            committed = file.commit();
        }
        const QByteArray left = test::fileContents(path);
        QProcess::execute(QStringLiteral("umount"), {mount.path()});
        QVERIFY(!committed);
        QCOMPARE(left, QByteArray("earlier export"));
    }
};

TEMPOLATCH_TEST(OutputFileTest);
#include "OutputFileTest.moc"
