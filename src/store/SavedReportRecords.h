#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace tempolatch {

namespace platform {
class ObjectStore;
}

// One saved report as the lists database keeps it: a name and the bytes of
// its layout, which the store does not read.
struct SavedReportRecord {
    quint32 recordId = 0;
    QString name;
    QByteArray definition;
};

// The saved reports: records of the lists database of kind 10. Opened for
// each call; when the lists database cannot be opened every call finds
// nothing and writes nothing.
class SavedReportRecords {
public:
    explicit SavedReportRecords(platform::ObjectStore* store) : m_store(store) {}

    bool isAvailable();
    // Every saved report with a definition, in the order of the store.
    QList<SavedReportRecord> all();
    // The report of exactly this name; 0 when none.
    quint32 find(const QString& name);
    std::optional<SavedReportRecord> read(quint32 recordId);
    // Over the record of `recordId`, or as a new record when it is 0 or
    // gone. The record id written; 0 when the store refused.
    quint32 write(const QString& name, const QByteArray& definition, quint32 recordId);
    bool remove(quint32 recordId);
    bool rename(quint32 recordId, const QString& name);

private:
    platform::ObjectStore* m_store;
};

}  // namespace tempolatch
