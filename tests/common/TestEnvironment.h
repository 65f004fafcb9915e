#pragma once

#include <QDateTime>
#include <QTemporaryDir>

#include "platform/Ui.h"

namespace tempolatch::test {

// What every test starts from: its own empty profile folder, the en_US
// locale, a fixed clock (2026-12-07 10:00), scripted message boxes and the
// default settings.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString folder() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    platform::ScriptedUi& ui() { return m_ui; }

    static QDateTime fixedNow();

private:
    QTemporaryDir m_dir;
    platform::ScriptedUi m_ui;
};

}  // namespace tempolatch::test
