#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "reports/ReportLayout.h"
#include "store/SavedReportRecords.h"

namespace tempolatch {

class RecordStore;
class Settings;

struct SavedReport {
    quint32 recordId = 0;
    QString name;
    ReportLayout layout;
};

// The saved reports, each a name and a layout, over the store's records of
// them; when the lists database cannot be opened every call finds nothing
// and writes nothing.
class SavedReports {
public:
    explicit SavedReports(RecordStore& store);

    bool isAvailable();
    // The reports whose layouts are of the report types first..last, in
    // the order of the store; unreadable layouts are left out.
    QList<SavedReport> list(int firstType, int lastType);
    // The report of exactly this name; 0 when none.
    quint32 find(const QString& name);
    std::optional<SavedReport> read(quint32 recordId);
    // Over the record of `recordId`, or as a new record when it is 0 or
    // gone. The record id written; 0 when the store refused.
    quint32 write(const QString& name, const ReportLayout& layout, quint32 recordId);
    bool remove(quint32 recordId);
    bool rename(quint32 recordId, const QString& name);

private:
    SavedReportRecords m_records;
};

// The layout a report dialog of `kind` starts with: the saved report the
// kind's default names, or the built-in default. A default naming a report
// that no longer exists is cleared. `name` and `recordId` tell which saved
// report was loaded (empty and 0 for the built-in one).
ReportLayout startingLayout(int kind, Settings& settings, SavedReports& reports, QString* name,
                            quint32* recordId);

}  // namespace tempolatch
