#include "BenchSupport.h"

namespace tempolatch::bench {

TempStore::TempStore() {
    QString error;
    store = platform::ObjectStore::open(dir.filePath(QStringLiteral("store.db")),
                                        platform::ObjectStore::Access::ReadWrite,
                                        QStringLiteral("en_US"), &error);
}

}  // namespace tempolatch::bench
