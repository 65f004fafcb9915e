#include "store/Lists.h"

#include "platform/ObjectStore.h"

namespace tempolatch {

QStringList Lists::texts(ListKind kind) {
    ListsByKind lists(m_store);
    return lists.open() ? lists.texts(kind) : QStringList();
}

QList<ListItem> Lists::items(ListKind kind) {
    ListsByKind lists(m_store);
    return lists.open() ? lists.listAll(kind) : QList<ListItem>();
}

std::optional<ListItem> Lists::find(quint32 recordId) {
    ListsByKind lists(m_store);
    if (!lists.open())
        return std::nullopt;
    const auto props = RecordAccess(lists).findProperties(recordId);
    if (!props)
        return std::nullopt;
    const platform::Property* text = platform::findProperty(*props, prop::ListText);
    return ListItem{text ? text->text.left(MaxNameLength) : QString(), recordId};
}

WriteResult Lists::add(ListKind kind, const QString& text) {
    ListsByText lists(m_store);
    if (!lists.open())
        return WriteResult::Refused;
    if (text.isEmpty() || lists.findText(text, kind))
        return WriteResult::Unchanged;
    return lists.addText(text, kind) ? WriteResult::Written : WriteResult::Refused;
}

WriteResult Lists::update(const ListItem& item) {
    ListsByText lists(m_store);
    if (!lists.open())
        return WriteResult::Refused;
    if (item.recordId == 0 || lists.seekRecord(item.recordId) != item.recordId)
        return WriteResult::NotFound;
    return lists.renameText(item.text) ? WriteResult::Written : WriteResult::Refused;
}

WriteResult Lists::remove(quint32 recordId) {
    ListsByKind lists(m_store);
    if (!lists.open())
        return WriteResult::Refused;
    return RecordAccess(lists).remove(recordId);
}

bool Lists::replaceText(ListKind kind, const QString& find, const QString& to) {
    ListsByText lists(m_store);
    if (!lists.open())
        return false;
    if (!lists.findText(find, kind))
        return true;
    const quint32 recordId = lists.currentId();
    if (lists.findText(to, kind))
        return lists.deleteRecord(recordId);
    return lists.seekRecord(recordId) == recordId && lists.renameText(to);
}

int Lists::lastError() const {
    return m_store ? m_store->lastError() : 0;
}

}  // namespace tempolatch
