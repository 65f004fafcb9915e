#include "common/EnvironmentTest.h"

namespace tempolatch::test {

void EnvironmentTest::init() {
    m_env.reset();  // the old environment goes before the new one takes the profile
    m_env = std::make_unique<TestEnvironment>();
}

void EnvironmentTest::cleanup() {
    m_env.reset();
}

}  // namespace tempolatch::test
