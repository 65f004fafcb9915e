#include "clients/DropListEdits.h"

#include "platform/ObjectStore.h"
#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/Lists.h"
#include "transfer/ListFile.h"

namespace tempolatch {

QList<DropListType> dropListTypes() {
    return {{str::Phase, ListKind::Phase},
            {str::Currency, ListKind::Currency},
            {str::Custom1, ListKind::Custom1},
            {str::Custom2, ListKind::Custom2},
            {str::Custom3, ListKind::Custom3},
            {str::CategoryList, ListKind::Category},
            {str::DescriptionList, ListKind::Description}};
}

QList<ListItem> DropListEdits::items(ListKind kind) {
    ListsByKind lists(m_store);
    return lists.open() ? lists.listAll(kind) : QList<ListItem>();
}

WriteResult DropListEdits::commit(ListKind kind, const ListItem& row, const QString& given) {
    const QString text = structureName(given);
    Lists lists(m_store);
    if (row.recordId == 0)
        return lists.add(kind, text);
    if (text.isEmpty() || text == row.text || lists.texts(kind).contains(text))
        return WriteResult::Unchanged;
    return lists.update(ListItem{text, row.recordId});
}

WriteResult DropListEdits::remove(quint32 recordId) {
    return Lists(m_store).remove(recordId);
}

bool DropListEdits::removeAll(ListKind kind) {
    if (!m_store)
        return false;
    platform::StoreBatch batch(*m_store);
    if (!batch.isActive())
        return false;
    Lists lists(m_store);
    for (const ListItem& item : items(kind)) {
        if (lists.remove(item.recordId) != WriteResult::Written)
            return false;
    }
    return batch.commit();
}

std::optional<int> DropListEdits::importFile(ListKind kind, const QString& path) {
    const auto names = readListFile(path);
    if (!names || !m_store)
        return std::nullopt;
    platform::StoreBatch batch(*m_store);
    if (!batch.isActive())
        return std::nullopt;
    Lists lists(m_store);
    int added = 0;
    for (const QString& name : *names) {
        const WriteResult result = lists.add(kind, structureName(name));
        if (!succeeded(result))
            return std::nullopt;
        added += result == WriteResult::Written ? 1 : 0;
    }
    if (!batch.commit())
        return std::nullopt;
    return added;
}

int DropListEdits::lastError() const {
    return m_store ? m_store->lastError() : 0;
}

}  // namespace tempolatch
