#include <QApplication>
#include <QList>
#include <memory>
#include <utility>

#include "common/TestRegistry.h"

namespace tempolatch::test {

namespace {
QList<std::pair<const char*, std::function<QObject*()>>>& classes() {
    static QList<std::pair<const char*, std::function<QObject*()>>> list;
    return list;
}
}  // namespace

int registerTestClass(const char* name, std::function<QObject*()> factory) {
    classes().append({name, std::move(factory)});
    return int(classes().size());
}

}  // namespace tempolatch::test

// Runs every registered class, or only those named by TEMPOLATCH_TEST_CLASS
// (a comma list).
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QList<QByteArray> only = qgetenv("TEMPOLATCH_TEST_CLASS").split(',');
    int failures = 0;
    for (const auto& [name, factory] : tempolatch::test::classes()) {
        if (only != QList<QByteArray>{QByteArray()} && !only.contains(name))
            continue;
        std::unique_ptr<QObject> object(factory());
        failures += QTest::qExec(object.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
