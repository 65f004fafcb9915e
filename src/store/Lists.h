#pragma once

#include <QStringList>
#include <optional>

#include "store/ListsDatabase.h"
#include "store/Records.h"

namespace tempolatch {

namespace platform {
class ObjectStore;
}

// The drop-list values of the lists database, each list in the order of
// the store; opened for each call, as the lists are short.
class Lists {
public:
    explicit Lists(platform::ObjectStore* store) : m_store(store) {}

    QStringList texts(ListKind kind);
    // The values of one list in the order of the store, with their records.
    QList<ListItem> items(ListKind kind);
    std::optional<ListItem> find(quint32 recordId);
    // Unchanged when the text is empty or the list has it already.
    WriteResult add(ListKind kind, const QString& text);
    // Rewrites only the text of the record.
    WriteResult update(const ListItem& item);
    WriteResult remove(quint32 recordId);
    // Gives the first value of the list with text `find` the text `to`; when
    // the list has `to` already, that value goes instead. True when there
    // was nothing to replace.
    bool replaceText(ListKind kind, const QString& find, const QString& to);

    int lastError() const;

private:
    platform::ObjectStore* m_store;
};

}  // namespace tempolatch
