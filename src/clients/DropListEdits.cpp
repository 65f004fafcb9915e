#include "clients/DropListEdits.h"

#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"
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
    return m_store.lists().items(kind);
}

WriteResult DropListEdits::commit(ListKind kind, const ListItem& row, const QString& given) {
    const QString text = structureName(given);
    Lists lists = m_store.lists();
    if (row.recordId == 0)
        return lists.add(kind, text);
    if (text.isEmpty() || text == row.text || lists.texts(kind).contains(text))
        return WriteResult::Unchanged;
    return lists.update(ListItem{text, row.recordId});
}

WriteResult DropListEdits::remove(quint32 recordId) {
    return m_store.lists().remove(recordId);
}

bool DropListEdits::removeAll(ListKind kind) {
    StoreTransaction transaction(m_store);
    WriteResult result = WriteResult::Unchanged;
    Lists lists = m_store.lists();
    for (const ListItem& item : items(kind)) {
        result = lists.remove(item.recordId);
        if (result != WriteResult::Written)
            break;
    }
    return transaction.finish(result).succeeded();
}

std::optional<int> DropListEdits::importFile(ListKind kind, const QString& path,
                                             ListFileProblem* problem) {
    const auto names = readListFile(path, problem);
    if (!names)
        return std::nullopt;
    StoreTransaction transaction(m_store);
    Lists lists = m_store.lists();
    int added = 0;
    WriteResult result = WriteResult::Unchanged;
    for (const QString& name : *names) {
        result = lists.add(kind, structureName(name));
        if (!succeeded(result))
            break;
        added += result == WriteResult::Written ? 1 : 0;
    }
    if (!transaction.finish(result).succeeded())
        return std::nullopt;
    return added;
}

}  // namespace tempolatch
