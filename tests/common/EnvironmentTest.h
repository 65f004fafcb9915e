#pragma once

#include <QObject>
#include <memory>

#include "common/TestEnvironment.h"

namespace tempolatch::test {

// The base of the test classes that need an environment: each test
// function gets a fresh one (its own profile, store, settings, clock and
// scripted message boxes) and loses it afterwards. A class that needs more
// set-up declares its own init() and calls EnvironmentTest::init() first.
class EnvironmentTest : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void init();
    void cleanup();

protected:
    std::unique_ptr<TestEnvironment> m_env;
};

}  // namespace tempolatch::test
