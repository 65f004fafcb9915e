#pragma once

#include <QFile>
#include <QLocale>

#include "FuzzSupport.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"

// What the harnesses of the compound files share: a profile of the run's
// own with its store open, and the input put in a file, since the readers
// take a path.
namespace tempolatch::fuzz {

inline RecordStore& store() {
    static RecordStore* const s = [] {
        application();
        platform::Profile::setFolder(scratch().filePath("profile"));
        platform::Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
        auto* opened = new RecordStore;
        opened->openAll();
        return opened;
    }();
    return *s;
}

// The path of a file holding the input; empty when it cannot be written.
inline QString inputFile(const std::uint8_t* data, std::size_t size, const char* name) {
    const QString path = scratch().filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        return {};
    return path;
}

}  // namespace tempolatch::fuzz
