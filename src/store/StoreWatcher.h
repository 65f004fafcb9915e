#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace tempolatch {

namespace platform {
class ObjectStore;
}
class RecordStore;

// Notices when another connection (another copy of the program, a
// command-line restore) has committed changes to the store, and says so
// once per change. It polls SQLite's data version while the event loop is
// idle; our own writes do not count.
class StoreWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultIntervalMs = 1000;

    // Watches the record store once it is open; polling never opens it.
    explicit StoreWatcher(RecordStore& store, QObject* parent = nullptr);

    void start(int intervalMs = DefaultIntervalMs);
    void stop();
    bool isActive() const { return m_timer.isActive(); }

    // One poll, as the timer does it; true when a change was reported.
    bool check();

Q_SIGNALS:
    void storeChanged();

private:
    platform::ObjectStore* store() const;

    RecordStore& m_records;
    QTimer m_timer;
    const platform::ObjectStore* m_watched = nullptr;
    qint64 m_version = -1;
};

}  // namespace tempolatch
