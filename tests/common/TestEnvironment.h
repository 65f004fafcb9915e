#pragma once

#include <QDateTime>
#include <QTemporaryDir>

#include "common/ScriptedUi.h"
#include "platform/Registry.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

// What every test starts from: its own empty profile folder with a store
// of its own, the en_US locale, a fixed clock (2026-12-07 10:00), scripted
// message boxes and the default settings, together as the context that the
// windows and commands under test are given.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString folder() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    ScriptedUi& ui() { return m_ui; }
    RecordStore& store() { return m_store; }
    Settings& settings() { return m_settings; }
    platform::Registry& registry() { return m_registry; }
    Context& context() { return m_context; }

    static QDateTime fixedNow();
    // The environment of the running test, for the shared helpers that fill
    // and read its store; there is one at a time.
    static TestEnvironment& current();

private:
    QTemporaryDir m_dir;
    // The profile is this folder from here on: the registry opens in it.
    platform::Registry m_registry;
    ScriptedUi m_ui;
    Settings m_settings;
    RecordStore m_store;
    Context m_context{m_store, m_settings, m_ui, m_registry};
};

}  // namespace tempolatch::test
