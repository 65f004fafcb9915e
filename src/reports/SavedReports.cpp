#include "reports/SavedReports.h"

#include "settings/Settings.h"
#include "store/RecordStore.h"

namespace tempolatch {

namespace {

std::optional<SavedReport> decoded(const SavedReportRecord& record) {
    auto layout = ReportLayout::fromStored(record.definition);
    if (!layout)
        return std::nullopt;
    layout->completeFieldOrder();
    return SavedReport{record.recordId, record.name, *layout};
}

}  // namespace

SavedReports::SavedReports(RecordStore& store) : m_records(store.savedReports()) {}

bool SavedReports::isAvailable() {
    return m_records.isAvailable();
}

QList<SavedReport> SavedReports::list(int firstType, int lastType) {
    QList<SavedReport> out;
    for (const SavedReportRecord& record : m_records.all()) {
        const auto report = decoded(record);
        if (report && report->layout.reportType() >= firstType &&
            report->layout.reportType() <= lastType)
            out.append(*report);
    }
    return out;
}

quint32 SavedReports::find(const QString& name) {
    return m_records.find(name);
}

std::optional<SavedReport> SavedReports::read(quint32 recordId) {
    const auto record = m_records.read(recordId);
    return record ? decoded(*record) : std::nullopt;
}

quint32 SavedReports::write(const QString& name, const ReportLayout& layout, quint32 recordId) {
    return m_records.write(name, layout.toBytes(), recordId);
}

bool SavedReports::remove(quint32 recordId) {
    return m_records.remove(recordId);
}

bool SavedReports::rename(quint32 recordId, const QString& name) {
    return m_records.rename(recordId, name);
}

ReportLayout startingLayout(int kind, Settings& settings, SavedReports& reports, QString* name,
                            quint32* recordId) {
    ReportLayout layout = ReportLayout::builtInDefault(kind);
    name->clear();
    *recordId = 0;
    if (kind < 0 || kind >= int(settings.defaultReports.size()))
        return layout;
    QString& defaultName = settings.defaultReports[size_t(kind)];
    if (defaultName.isEmpty())
        return layout;
    const quint32 id = reports.find(defaultName);
    const auto report = id != 0 ? reports.read(id) : std::nullopt;
    if (!report) {
        defaultName.clear();
        return layout;
    }
    *name = report->name;
    *recordId = id;
    return report->layout;
}

}  // namespace tempolatch
