#include "store/SavedReportRecords.h"

#include "platform/Property.h"
#include "store/ListsDatabase.h"
#include "store/Records.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

namespace {

std::optional<SavedReportRecord> decoded(quint32 recordId, const PropertyList& props) {
    const Property* name = platform::findProperty(props, prop::ListText);
    const Property* blob = platform::findProperty(props, prop::ReportDefinition);
    if (!blob)
        return std::nullopt;
    return SavedReportRecord{recordId, name ? name->text : QString(), blob->blob};
}

}  // namespace

bool SavedReportRecords::isAvailable() {
    ListsByKind lists(m_store);
    return lists.open();
}

QList<SavedReportRecord> SavedReportRecords::all() {
    QList<SavedReportRecord> out;
    ListsByKind lists(m_store);
    if (!lists.open())
        return out;
    PropertyList props;
    for (quint32 id =
             lists.seekFirst(Property::ui2(prop::ListKind, quint16(ListKind::SavedReport)));
         id != 0; id = lists.seekNext()) {
        if (lists.readCurrent(props) != ReadResult::Read)
            break;
        if (const auto report = decoded(id, props))
            out.append(*report);
    }
    return out;
}

quint32 SavedReportRecords::find(const QString& name) {
    ListsByKind lists(m_store);
    return lists.open() ? lists.findReport(name) : 0;
}

std::optional<SavedReportRecord> SavedReportRecords::read(quint32 recordId) {
    ListsByKind lists(m_store);
    if (!lists.open() || recordId == 0)
        return std::nullopt;
    const auto props = RecordAccess(lists).findProperties(recordId);
    return props ? decoded(recordId, *props) : std::nullopt;
}

quint32 SavedReportRecords::write(const QString& name, const QByteArray& definition,
                                  quint32 recordId) {
    ListsByKind lists(m_store);
    if (!lists.open())
        return 0;
    const PropertyList props = {Property::ui2(prop::ListKind, quint16(ListKind::SavedReport)),
                                Property::string(prop::ListText, name),
                                Property::bytes(prop::ReportDefinition, definition)};
    if (recordId != 0 && lists.seekRecord(recordId) == recordId)
        return lists.updateProperties(props) ? recordId : 0;
    return lists.addProperties(props);
}

bool SavedReportRecords::remove(quint32 recordId) {
    ListsByKind lists(m_store);
    return lists.open() && RecordAccess(lists).remove(recordId) == WriteResult::Written;
}

bool SavedReportRecords::rename(quint32 recordId, const QString& name) {
    ListsByKind lists(m_store);
    return lists.open() && recordId != 0 && lists.seekRecord(recordId) == recordId &&
           lists.updateProperties({Property::string(prop::ListText, name)});
}

}  // namespace tempolatch
