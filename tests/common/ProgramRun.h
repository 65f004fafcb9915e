#pragma once

#include <QProcess>
#include <QStringList>

// The built program itself, for the test areas that define TEMPOLATCH_EXECUTABLE.
namespace tempolatch::test {

struct ProgramOptions {
    bool display = true;      // false: no platform plugin at all, as under cron
    bool usLocale = false;    // the formats of the tests' own locale
    QString stdoutFile = {};  // standard output goes to this file instead
    QString dataHome = {};    // the per-user data folder (XDG_DATA_HOME) instead
};

// The program started on the store and settings of `profile` (none given
// when empty: the arguments say it all), with a window (offscreen) or a
// command. A run still going when it is destroyed is killed, as a crash
// ends it.
class Program {
public:
    Program(const QString& profile, const QStringList& args, ProgramOptions options = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("TEMPOLATCH_PROFILE"));
        if (options.display)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        else
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (options.usLocale) {
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
            env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        }
        if (!options.dataHome.isEmpty())
            env.insert(QStringLiteral("XDG_DATA_HOME"), options.dataHome);
        process.setProcessEnvironment(env);
        if (!options.stdoutFile.isEmpty())
            process.setStandardOutputFile(options.stdoutFile);
        const QStringList profileArgs =
            profile.isEmpty() ? QStringList() : QStringList{QStringLiteral("--profile"), profile};
        process.start(QStringLiteral(TEMPOLATCH_EXECUTABLE), profileArgs + args);
    }
    ~Program() { kill(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool finish(int msecs = 120000) { return process.waitForFinished(msecs); }
    // The exit code of a run that ended normally; -1 when it crashed or runs on.
    int exitCode() const {
        return process.state() == QProcess::NotRunning &&
                       process.exitStatus() == QProcess::NormalExit
                   ? process.exitCode()
                   : -1;
    }
    void kill() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }

    QProcess process;
};

// What a command printed and how it ended.
struct ProgramRun {
    int exitCode = -1;  // -1: it crashed or did not finish
    QByteArray out;
    QByteArray errors;
};

// Runs a command of the program to its end, as a scheduler would.
inline ProgramRun runProgram(const QString& profile, const QStringList& args,
                             ProgramOptions options = {}) {
    Program program(profile, args, options);
    ProgramRun run;
    if (!program.finish())
        return run;
    run.out = program.process.readAllStandardOutput();
    run.errors = program.process.readAllStandardError();
    run.exitCode = program.exitCode();
    return run;
}

}  // namespace tempolatch::test
