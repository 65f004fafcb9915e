#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// What every harness shares: the Qt application object the readers expect,
// and the input as a QByteArray without copying it.
namespace tempolatch::fuzz {

inline QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "tempolatch-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A folder of the run's own, removed at exit.
inline const QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

}  // namespace tempolatch::fuzz
