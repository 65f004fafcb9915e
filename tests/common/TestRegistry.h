#pragma once

#include <QObject>
#include <QTest>
#include <functional>

namespace tempolatch::test {

// Several test classes share one executable per area; each registers here.
int registerTestClass(const char* name, std::function<QObject*()> factory);

}  // namespace tempolatch::test

#define TEMPOLATCH_TEST(Class)                                                \
    static const int Class##Registered = tempolatch::test::registerTestClass( \
        #Class, [] { return static_cast<QObject*>(new Class); })
