#include "reports/SavedReports.h"

#include "platform/Property.h"
#include "settings/Settings.h"
#include "store/ListsDatabase.h"
#include "store/Records.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

namespace {

std::optional<SavedReport> decoded(quint32 recordId, const PropertyList& props) {
    const Property* name = platform::findProperty(props, prop::ListText);
    const Property* blob = platform::findProperty(props, prop::ReportDefinition);
    if (!blob)
        return std::nullopt;
    auto layout = ReportLayout::fromStored(blob->blob);
    if (!layout)
        return std::nullopt;
    layout->completeFieldOrder();
    return SavedReport{recordId, name ? name->text : QString(), *layout};
}

}  // namespace

bool SavedReports::isAvailable() {
    ListsByKind lists(m_store);
    return lists.open();
}

QList<SavedReport> SavedReports::list(int firstType, int lastType) {
    QList<SavedReport> out;
    ListsByKind lists(m_store);
    if (!lists.open())
        return out;
    PropertyList props;
    for (quint32 id =
             lists.seekFirst(Property::ui2(prop::ListKind, quint16(ListKind::SavedReport)));
         id != 0; id = lists.seekNext()) {
        if (lists.readCurrent(props) != ReadResult::Read)
            break;
        const auto report = decoded(id, props);
        if (report && report->layout.reportType() >= firstType &&
            report->layout.reportType() <= lastType)
            out.append(*report);
    }
    return out;
}

quint32 SavedReports::find(const QString& name) {
    ListsByKind lists(m_store);
    return lists.open() ? lists.findReport(name) : 0;
}

std::optional<SavedReport> SavedReports::read(quint32 recordId) {
    ListsByKind lists(m_store);
    if (!lists.open() || recordId == 0)
        return std::nullopt;
    const auto props = RecordAccess(lists).findProperties(recordId);
    return props ? decoded(recordId, *props) : std::nullopt;
}

quint32 SavedReports::write(const QString& name, const ReportLayout& layout, quint32 recordId) {
    ListsByKind lists(m_store);
    if (!lists.open())
        return 0;
    const PropertyList props = {Property::ui2(prop::ListKind, quint16(ListKind::SavedReport)),
                                Property::string(prop::ListText, name),
                                Property::bytes(prop::ReportDefinition, layout.toBytes())};
    if (recordId != 0 && lists.seekRecord(recordId) == recordId)
        return lists.updateProperties(props) ? recordId : 0;
    return lists.addProperties(props);
}

bool SavedReports::remove(quint32 recordId) {
    ListsByKind lists(m_store);
    return lists.open() && RecordAccess(lists).remove(recordId) == WriteResult::Written;
}

bool SavedReports::rename(quint32 recordId, const QString& name) {
    ListsByKind lists(m_store);
    return lists.open() && recordId != 0 && lists.seekRecord(recordId) == recordId &&
           lists.updateProperties({Property::string(prop::ListText, name)});
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
