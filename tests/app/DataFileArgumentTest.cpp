#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

#include "app/DataFileArgument.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/NativePath.h"
#include "store/ClientStructure.h"
#include "store/TimeEntries.h"
#include "transfer/BackupOperation.h"
#include "transfer/ClientStructureOperation.h"

using namespace tempolatch;

// Starting the program with one of its own files, as a file manager does
// for a double-clicked backup: the window offers what fits the file.
class DataFileArgumentTest : public test::EnvironmentTest {
    Q_OBJECT

    int entryCount() { return m_env->store().entries().recordCount(); }

    void addEntry(const QString& client) {
        TimeEntry entry;
        entry.client = client;
        entry.duration = 150;
        entry.date = platform::fileTimeOf(test::TestEnvironment::fixedNow());
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Written);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void whichArgumentsAreDataFiles_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("opens");
        QTest::newRow("backup") << QStringList{"monday.tld"} << true;
        QTest::newRow("archive, upper case") << QStringList{"OLD.TLA"} << true;
        QTest::newRow("client structure") << QStringList{"/tmp/acme.tlc"} << true;
        QTest::newRow("list file") << QStringList{"names.txt"} << false;
        QTest::newRow("two files") << QStringList{"a.tld", "b.tld"} << false;
        QTest::newRow("an option") << QStringList{"--x.tld"} << false;
        QTest::newRow("a command") << QStringList{"dump"} << false;
    }
    void whichArgumentsAreDataFiles() {
        QFETCH(QStringList, args);
        QFETCH(bool, opens);
        const QString path = dataFileArgument(args);
        QCOMPARE(!path.isEmpty(), opens);
        if (opens)
            QCOMPARE(path, QDir::current().absoluteFilePath(args.first()));
    }

    void backupOffersRestore() {
        addEntry(QStringLiteral("Acme"));
        addEntry(QStringLiteral("Globex"));
        const QString backup = m_env->filePath(QStringLiteral("monday.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(backup));
        QVERIFY(m_env->store().deleteAllData());

        // No: nothing is restored.
        m_env->ui().queueAnswer(platform::Answer::No);
        QVERIFY(!openDataFile(m_env->context(), nullptr, backup));
        QVERIFY(m_env->ui().shownTexts().first().contains(QStringLiteral("Restore the data")));
        QVERIFY(m_env->ui().shownTexts().first().contains(QStringLiteral("monday.tld")));
        QCOMPARE(entryCount(), 0);

        // Yes, then No to deleting first: the backup's entries are back.
        m_env->ui().clear();
        m_env->ui().queueAnswer(platform::Answer::Yes);
        m_env->ui().queueAnswer(platform::Answer::No);
        QVERIFY(openDataFile(m_env->context(), nullptr, backup));
        QCOMPARE(entryCount(), 2);
    }

    // A file manager may hand over a name that is no UTF-8: the file is
    // found under that very name.
    void eightBitFileNameIsFound() {
        addEntry(QStringLiteral("Acme"));
        const QByteArray native = QFile::encodeName(m_env->folder()) + "/\xfe.tld";
        const QString backup = platform::pathFromNative(native);
        QVERIFY(BackupOperation(m_env->store()).backup(backup));
        m_env->ui().queueAnswer(platform::Answer::No);
        const bool opened = openDataFile(m_env->context(), nullptr, backup);
        ::unlink(native.constData());  // which the temporary folder cannot
        QVERIFY(!opened);
        QVERIFY2(m_env->ui().shownTexts().first().contains(QStringLiteral("Restore the data")),
                 qPrintable(m_env->ui().shownTexts().first()));
    }

    void clientStructureOffersImportAndMissingFileIsSaid() {
        addEntry(QStringLiteral("Acme"));
        Client acme;
        acme.name = QStringLiteral("Acme");
        QVERIFY(succeeded(ClientStructure(m_env->store()).addClient(acme)));
        const QString file = m_env->filePath(QStringLiteral("acme.tlc"));
        QVERIFY(ClientStructureOperation(m_env->store()).exportTo(file));
        QVERIFY(m_env->store().deleteAllData());

        m_env->ui().queueAnswer(platform::Answer::Yes);
        QVERIFY(openDataFile(m_env->context(), nullptr, file));
        QVERIFY(ClientStructure(m_env->store()).findClientNamed("Acme"));
        QCOMPARE(entryCount(), 0);

        m_env->ui().clear();
        QVERIFY(!openDataFile(m_env->context(), nullptr, m_env->filePath("gone.tla")));
        QCOMPARE(m_env->ui().shown().size(), 1);
        QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Stop);
    }
};

TEMPOLATCH_TEST(DataFileArgumentTest);
#include "DataFileArgumentTest.moc"
