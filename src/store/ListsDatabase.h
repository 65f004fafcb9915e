#pragma once

#include <QList>
#include <QString>

#include "store/RecordDatabase.h"
#include "store/StoreIds.h"

namespace tempolatch {

struct ListItem {
    QString text;
    quint32 recordId = 0;
};

// The lists database "Tempolatch Data 2": drop-list values, saved reports and
// the client id counter. Opened on demand by short-lived accessors, sorted by
// kind (ListsByKind) or by text (ListsByText).
class ListsDatabase : public RecordDatabase {
public:
    using RecordDatabase::RecordDatabase;
    QString databaseName() const override { return QString::fromLatin1(db::ListsName); }
    quint32 typeId() const override { return db::ListsType; }
    QList<quint32> sortOrders() const override { return {prop::ListKind, prop::ListText}; }
};

class ListsByKind : public ListsDatabase {
public:
    using ListsDatabase::ListsDatabase;
    quint32 sortProperty() const override { return prop::ListKind; }

    // The texts of one list, in the order of the store, with their record ids.
    QList<ListItem> listAll(ListKind kind);
    QStringList texts(ListKind kind);
    // The saved report of that exact name; 0 when none.
    quint32 findReport(const QString& name);
};

class ListsByText : public ListsDatabase {
public:
    using ListsDatabase::ListsDatabase;
    quint32 sortProperty() const override { return prop::ListText; }

    // True when a record of that kind has exactly that text; it is then current.
    bool findText(const QString& text, ListKind kind);
    // Adds the value unless it is empty or already there. True when written.
    bool addText(const QString& text, ListKind kind);
    // Rewrites only the text of the current record.
    bool renameText(const QString& text);
};

}  // namespace tempolatch
