#pragma once

#include <memory>

namespace tempolatch {

namespace platform {
class ReadSnapshot;
}
class RecordDatabase;

// Everything read through the database's store while this lives is read
// in one read transaction, one moment of the store: for the many lookups by
// id of a summary, which would otherwise each begin and end their own.
class DatabaseSnapshot {
public:
    explicit DatabaseSnapshot(RecordDatabase& db);
    ~DatabaseSnapshot();
    DatabaseSnapshot(const DatabaseSnapshot&) = delete;
    DatabaseSnapshot& operator=(const DatabaseSnapshot&) = delete;

private:
    std::unique_ptr<platform::ReadSnapshot> m_snapshot;
};

}  // namespace tempolatch
