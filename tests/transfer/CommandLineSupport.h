#pragma once

#include <QProcess>
#include <QStringList>

#include "common/TestEnvironment.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

// Runs the program itself with these arguments, as a scheduler would: its
// exit code (-1 when it crashed or did not finish) and what it wrote to
// standard error.
inline int runProgramWith(const QStringList& args, QByteArray& errors) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TEMPOLATCH_PROFILE"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TEMPOLATCH_EXECUTABLE), args);
    if (!process.waitForFinished(120000))
        return -1;
    errors = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The same on the store of `profile`.
inline int runProgram(const QString& profile, const QStringList& args, QByteArray& errors) {
    return runProgramWith(QStringList{QStringLiteral("--profile"), profile} + args, errors);
}

// Opens the test's store on `profile`, to see it as the program left it.
inline bool openProfile(const QString& profile) {
    RecordStore& store = TestEnvironment::current().store();
    store.close();
    platform::Profile::setFolder(profile);
    return store.openAll();
}

}  // namespace tempolatch::test
