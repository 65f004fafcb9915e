#pragma once

#include <QFile>
#include <QTest>
#include <ctime>

#include "common/EnvironmentTest.h"
#include "notes/NoteStream.h"
#include "transfer/TimeImport.h"
#include "transfer/TransferTestSupport.h"

namespace tempolatch::test {

// The note bytes of an imported text, as the window makes them.
inline QByteArray importNoteBytes(const QString& text) {
    return NoteStream::read(NoteStream::writeText(text, NoteStreamFormat::UnicodeText),
                            NoteStreamFormat::UnicodeText)
        ->bytes();
}

// A start time as the importers store it: seconds = 1 marks it as set.
inline platform::FileTime startAt(int y, int mo, int d, int h, int mi) {
    platform::SystemTime st{quint16(y), quint16(mo), 0, quint16(d), quint16(h), quint16(mi), 1, 0};
    return *platform::toFileTime(st);
}

// The start an importer gives an instant: its local time.
inline platform::FileTime startOf(const QDateTime& instant) {
    return *entryStart(instant.toLocalTime());
}

// Sets the process's time zone for local times, and puts the old one back.
class LocalZone {
public:
    explicit LocalZone(const QByteArray& zone)
        : m_old(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone() {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_had;
};

// The base of the import tests: a store that is open, files written into
// the test's profile, and plans of them with billable as the default.
class ImportTest : public EnvironmentTest {
    Q_OBJECT

protected:
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("in.csv")) {
        QFile file(m_env->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return file.fileName();
    }
    ImportPlan plan(ImportFormat format, const QString& path) {
        return planImport(m_env->store(), format, path, EntryStatus::Billable);
    }
    // A refused file: the reason at the line, and nothing written.
    void checkRefused(const ImportPlan& p, int line, const QString& reason) {
        QVERIFY(!p.canImport());
        QCOMPARE(p.problems.first().line, line);
        QVERIFY2(p.problems.first().reason.contains(reason), qPrintable(p.problems.first().reason));
        QVERIFY(!runImport(m_env->store(), p, importNoteBytes).succeeded());
        QCOMPARE(allEntries().size(), 0);
    }

protected Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }
};

}  // namespace tempolatch::test
