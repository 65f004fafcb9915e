// Settings as read back from a registry that another program, an older
// version or a damaged disk may have changed: every value the program
// writes is given the type and the bytes the input says, then read back
// through the typed reads of the settings and the entry filter.
#include <sqlite3.h>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "platform/Registry.h"
#include "records/EntryFilter.h"
#include "settings/Settings.h"

namespace {

struct Fixture {
    QString path;
    tempolatch::platform::Registry* registry = nullptr;
    sqlite3* raw = nullptr;
};

Fixture& fixture() {
    static Fixture f = [] {
        tempolatch::fuzz::application();
        Fixture made;
        made.path = tempolatch::fuzz::scratch().filePath("registry.db");
        made.registry = new tempolatch::platform::Registry(made.path);
        sqlite3_open(made.path.toUtf8().constData(), &made.raw);
        return made;
    }();
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = fixture();
    if (!f.registry->isOpen() || !f.raw)
        return 0;
    // Every value the program writes, with the program's own types and bytes.
    sqlite3_exec(f.raw, "DELETE FROM reg_values; DELETE FROM keys", nullptr, nullptr, nullptr);
    tempolatch::Settings().save(*f.registry);
    tempolatch::EntryFilter().store(*f.registry);

    // Then as many of them as the input reaches get its type and bytes.
    FuzzedDataProvider input(data, size);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(f.raw, "SELECT rowid FROM reg_values ORDER BY key, name", -1, &rows,
                       nullptr);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(f.raw, "UPDATE reg_values SET type = ?, data = ? WHERE rowid = ?", -1,
                       &update, nullptr);
    std::vector<sqlite3_int64> ids;
    while (sqlite3_step(rows) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(rows, 0));
    sqlite3_finalize(rows);
    for (const sqlite3_int64 id : ids) {
        if (input.remaining_bytes() == 0)
            break;
        const int type = input.ConsumeIntegralInRange<int>(0, 5);
        const std::string bytes = input.ConsumeRandomLengthString(600);
        sqlite3_bind_int(update, 1, type);
        sqlite3_bind_blob(update, 2, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 3, id);
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);

    tempolatch::Settings settings;
    settings.load(*f.registry);
    tempolatch::EntryFilter filter;
    filter.load(*f.registry);
    return 0;
}
