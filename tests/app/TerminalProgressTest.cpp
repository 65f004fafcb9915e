#include <QLocale>
#include <QTest>
#include <QThread>
#include <cstdio>

#include "app/cli/TerminalProgress.h"
#include "common/TestRegistry.h"
#include "platform/WorkProgress.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace tempolatch;

namespace {

// What the reading end has, without waiting for more.
QByteArray readAvailable(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    QByteArray bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, qsizetype(n));
    return bytes;
}

// The count a command shows while `rows` records are counted, a pause
// long enough for it to be shown between each, on `out`.
void countWith(std::FILE* out, int rows) {
    platform::WorkProgress progress;
    const TerminalProgress shown(progress, out);
    for (int i = 0; i < rows; ++i) {
        progress.addRows(1000);
        QThread::msleep(300);
    }
}

}  // namespace

// The command line counts records on standard error only when a person
// watches it: on a terminal, not into a pipe or a log file.
class TerminalProgressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void terminalShowsTheCount() {
        int master = -1;
        int slave = -1;
        QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        std::FILE* out = fdopen(slave, "w");
        QVERIFY(out);
        countWith(out, 2);
        std::fclose(out);
        const QByteArray shown = readAvailable(master);
        close(master);
        // Numbers as the user's locale writes them; the terminal turns "\n"
        // into "\r\n".
        const auto line = [](int rows, const char* end) {
            return "tempolatch: " + QLocale::system().toString(rows).toUtf8() + " records" + end;
        };
        QVERIFY2(shown.contains(line(1000, "\r")), shown.constData());
        QVERIFY2(shown.endsWith(line(2000, "\r\n")), shown.constData());
    }

    void pipeGetsNothing() {
        int fds[2];
        QVERIFY(pipe(fds) == 0);
        std::FILE* out = fdopen(fds[1], "w");
        countWith(out, 2);
        std::fclose(out);
        QCOMPARE(readAvailable(fds[0]), QByteArray());
        close(fds[0]);
    }

    // A command done before the first count is shown leaves the terminal
    // as it was.
    void quickCommandShowsNothing() {
        int master = -1;
        int slave = -1;
        QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        std::FILE* out = fdopen(slave, "w");
        countWith(out, 0);
        std::fclose(out);
        QCOMPARE(readAvailable(master), QByteArray());
        close(master);
    }
};

TEMPOLATCH_TEST(TerminalProgressTest);
#include "TerminalProgressTest.moc"
