#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "store/ListsDatabase.h"
#include "store/RecordDatabase.h"
#include "store/StoreIds.h"
#include "transfer/ListFile.h"

namespace tempolatch {

class RecordStore;

// The store side of Edit Drop Lists: the lists it offers and what an edit,
// a deletion or an import writes. Texts are kept as the store keeps them
// (cut to its name length); a list never gets an empty value or the same
// value twice.
struct DropListType {
    int nameId;  // resource string of its name in "List Type:"
    ListKind kind;
};

// Phase, Currency, Custom 1-3, Category and Description, in this order.
QList<DropListType> dropListTypes();

class DropListEdits {
public:
    explicit DropListEdits(RecordStore& store) : m_store(store) {}

    // The values of the list in the order of the store, with their records.
    QList<ListItem> items(ListKind kind);

    // A row edited in place. A row with a record (recordId set) gets the
    // new text unless it is empty or another value of the list has it
    // (Unchanged: the row keeps its old text); a row without one becomes a
    // new value when the text is neither empty nor in the list yet.
    WriteResult commit(ListKind kind, const ListItem& row, const QString& text);

    WriteResult remove(quint32 recordId);
    // Every value of the list, all or nothing.
    bool removeAll(ListKind kind);

    // Adds each name of the list file that the list does not have yet, in
    // the file's order, all or nothing. The number of values added;
    // nullopt when the file cannot be read or the store refused a write.
    std::optional<int> importFile(ListKind kind, const QString& path,
                                  ListFileProblem* problem = nullptr);

private:
    RecordStore& m_store;
};

}  // namespace tempolatch
