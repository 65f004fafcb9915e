#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/FileTime.h"

namespace tempolatch {

// Images of the tree list, by index.
enum TreeImage {
    TreeImageDate = 1,
    TreeImageClient = 2,
    TreeImageProject = 3,
    TreeImagePhase = 4,
    TreeImageTask = 5,
    TreeImageAmount = 6,
    TreeImageStatus = 7,  // + status
    TreeImageTime = 11,
};

struct TreeNodeText {
    QString text;
    int image = 0;
    bool operator==(const TreeNodeText&) const = default;
};

// What one record adds to the totals of its day or group: its hours (time
// entries only) and, when it is billed in some way, its amount.
struct RowTotal {
    bool hasHours = false;
    qint32 hundredths = 0;
    bool hasAmount = false;
    QString currency;
    double amount = 0;
};

// One row of an entry list, made from a time entry or an expense by that
// record's row builder: what each list style shows of it and what arranging
// needs. The lists only render rows, so they serve every record kind.
struct EntryRow {
    quint32 recordId = 0;
    int status = 0;  // EntryStatus: picks the status image and the text colour
    bool hasNote = false;
    bool statusIcon = true;

    // Default list: the text lines, and a text drawn right-aligned on line 1.
    QStringList lines;
    QString line1Right;
    QString kindIcon;  // a second icon under the status icon (ViewIcons name)

    // Simple list: one text per column.
    QStringList cells;

    // Tree list: the group nodes from the date down (shared between rows of
    // equal texts; the first is appended, the others sorted), the row's own
    // node, and that node's children.
    QList<TreeNodeText> groups;
    TreeNodeText node;
    QList<TreeNodeText> details;

    // Arranging: keys[index] is the text that arrange-by index sorts on
    // (index 0 has none); then the date, then the tie text, then the tie time.
    QStringList keys;
    platform::FileTime date;
    QString tieText;
    platform::FileTime tieTime;

    RowTotal total;
    // A day or group heading with its totals, put in by the list itself:
    // it has no record, its text is in lines[0] and its totals in line1Right.
    bool separator = false;
};

// Arrange-by order of two rows: key text in the user's locale, then date,
// then tie text, then tie time.
int compareRows(const EntryRow& a, const EntryRow& b, int arrangeBy);

}  // namespace tempolatch
