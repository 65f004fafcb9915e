#include "platform/StringTable.h"

#include <QHash>

namespace tempolatch {

namespace {

// Keep the entries in numeric order.
const QHash<int, QString>& table() {
    static const QHash<int, QString> strings = {
        {1, QStringLiteral("Tempolatch")},
        {4, QStringLiteral("Entry Timers")},
        {5, QStringLiteral("Quick Summary")},
        {16, QStringLiteral("Edit In Word")},
        {18, QStringLiteral("Draw")},
        {23, QStringLiteral(
                 "When finished editing and saving the note in Pocket Word, tap OK to update "
                 "Tempolatch.")},
        {25, QStringLiteral("(Default Rates)")},
        {40, QStringLiteral(
                 "Pocket Word Files|*.pwi;*.psw|Rich Text Files|*.rtf|Text Files|*.txt|Unicode "
                 "Files|*.txt|")},
        {57, QStringLiteral("Sunday")},
        {58, QStringLiteral("Monday")},
        {60, QStringLiteral("10 minutes")},
        {61, QStringLiteral("15 minutes")},
        {62, QStringLiteral("20 minutes")},
        {63, QStringLiteral("30 minutes")},
        {64, QStringLiteral("6 minutes")},
        {68, QStringLiteral(
                 "Export note failed. Please make sure there is enough storage space and try "
                 "again.")},
        {74, QStringLiteral("Edit")},
        {75, QStringLiteral("Preview")},
        {79, QStringLiteral("There are timers running. Do you want to cancel the timers and close "
                            "Tempolatch?")},
        {88, QStringLiteral(
                 "Pocket Word Files|*.psw|Pocket Notes Files|*.pwi|Rich Text Files|*.rtf|Text "
                 "Files|*.txt|Unicode Files|*.txt|")},
        {90, QStringLiteral("Tempolatch is unable to open the database!")},
        {91, QStringLiteral(
                 "The note is too large. Please remove large voice recordings or drawings.")},
        {92,
         QStringLiteral("The note is too large. Please tap on the Note tab to remove large voice "
                        "recordings or drawings.")},
        {120, QStringLiteral("Normal Rate")},
        {121, QStringLiteral("Overtime Rate")},
        {122, QStringLiteral("Weekend Rate")},
        {123, QStringLiteral("Fixed Rate")},
        {124, QStringLiteral("Discount Rate")},
        {128, QStringLiteral("Timers... (%d)")},
        {173, QStringLiteral(
                  "Please wait while Tempolatch updates data... (Please do not turn off the Pocket "
                  "PC)")},
        {224, QStringLiteral(
                  "Pocket Word (*.psw)|*.psw|Pocket Notes (*.pwi)|*.pwi|Rich Text Files "
                  "(*.rtf)|*.rtf|Text Files (*.txt)|*.txt|Unicode Text Files (*.txt)|*.txt|")},
        {310, QStringLiteral("Preview...")},
        {311, QStringLiteral("Edit...")},
        {312, QStringLiteral("Edit Note...")},
        {313, QStringLiteral("-")},
        {314, QStringLiteral("Create Copy...")},
        {315, QStringLiteral("Create New Timer...")},
        {316, QStringLiteral("Copy...")},
        {317, QStringLiteral("Export Note...")},
        {318, QStringLiteral("-")},
        {319, QStringLiteral("Mark As Billed")},
        {320, QStringLiteral("Mark As Paid")},
        {321, QStringLiteral("-")},
        {322, QStringLiteral("Delete")},
        {4550, QStringLiteral("(None)")},
        {4551, QStringLiteral("h")},
        {4552, QStringLiteral("hr")},
        {4600, QStringLiteral("Non Billable")},
        {4601, QStringLiteral("Billable")},
        {4602, QStringLiteral("Billed")},
        {4603, QStringLiteral("Paid")},
        {5012, QStringLiteral("Custom 1")},
        {5013, QStringLiteral("Custom 2")},
        {5014, QStringLiteral("Custom 3")},
    };
    return strings;
}

}  // namespace

QString resourceString(int id) {
    return table().value(id);
}

}  // namespace tempolatch
