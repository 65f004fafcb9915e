// Writes a profile with a large store for the whole-program benchmarks:
//   tempolatch-generate-store DIR ENTRIES [--notes]
// With --notes every entry has a note of two lines of text.
// DIR must not hold a store yet.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "LargeStore.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"

using namespace tempolatch;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const bool notes = args.size() == 4 && args[3] == QLatin1String("--notes");
    const int entries = args.size() == 3 || notes ? args[2].toInt(&ok) : 0;
    if (!ok || entries < 0) {
        std::fprintf(stderr, "usage: tempolatch-generate-store DIR ENTRIES [--notes]\n");
        return 2;
    }
    platform::Profile::setFolder(args[1]);
    if (!platform::Profile::ensureFolder() || QFile::exists(platform::Profile::storePath())) {
        std::fprintf(stderr, "%s: not a new profile folder\n", qPrintable(args[1]));
        return 1;
    }
    RecordStore store;
    if (!store.openAll() || !bench::generateLargeStore(store, entries, notes)) {
        std::fprintf(stderr, "cannot write the store\n");
        return 1;
    }
    return 0;
}
