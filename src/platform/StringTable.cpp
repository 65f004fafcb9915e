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
        {6, QStringLiteral("Goto Today")},
        {7, QStringLiteral("Previous Period")},
        {8, QStringLiteral("Next Period")},
        {9, QStringLiteral("Please enter a task name.  You cannot have a blank Task field.")},
        {10, QStringLiteral("You must enter a duration in hours. (e.g. 1.5, or 0.5)")},
        {11, QStringLiteral("This field accepts numeric values only.")},
        {15, QStringLiteral("Week Of ")},
        {16, QStringLiteral("Edit In Word")},
        {18, QStringLiteral("Draw")},
        {21, QStringLiteral("Edit...")},
        {22, QStringLiteral("Please enter a client name.  You cannot leave Client field blank.")},
        {23, QStringLiteral(
                 "When finished editing and saving the note in Pocket Word, tap OK to update "
                 "Tempolatch.")},
        {24, QStringLiteral("Are you sure to permanently delete this item?")},
        {25, QStringLiteral("(Default Rates)")},
        {27, QStringLiteral("Enter Client Name:")},
        {28, QStringLiteral("Enter Project Name:")},
        {29, QStringLiteral("Enter Task Name:")},
        {30, QStringLiteral("Enter Contact Name:")},
        {32, QStringLiteral("Projects")},
        {33, QStringLiteral("Tasks")},
        {34, QStringLiteral("This will also delete all associated projects, tasks, contacts, and "
                            "rates. However, time entries are preserved. Are you sure?")},
        {38, QStringLiteral("This is not a valid rate. Rate can have up to 2 decimal places.")},
        {40, QStringLiteral(
                 "Pocket Word Files|*.pwi;*.psw|Rich Text Files|*.rtf|Text Files|*.txt|Unicode "
                 "Files|*.txt|")},
        {41, QStringLiteral("Updating Records. Please Wait...")},
        {49, QStringLiteral("(Custom Rate)")},
        {51, QStringLiteral("Add Timer")},
        {52, QStringLiteral("Pause")},
        {53, QStringLiteral("Task Complete")},
        {54, QStringLiteral("Cancel Timer")},
        {56, QStringLiteral("Are you sure to cancel the timer?")},
        {57, QStringLiteral("Sunday")},
        {58, QStringLiteral("Monday")},
        {59, QStringLiteral("Are you to delete the entire list?")},
        {60, QStringLiteral("10 minutes")},
        {61, QStringLiteral("15 minutes")},
        {62, QStringLiteral("20 minutes")},
        {63, QStringLiteral("30 minutes")},
        {64, QStringLiteral("6 minutes")},
        {68, QStringLiteral(
                 "Export note failed. Please make sure there is enough storage space and try "
                 "again.")},
        {69, QStringLiteral("Are you sure to delete this project and all its tasks?")},
        {74, QStringLiteral("Edit")},
        {75, QStringLiteral("Preview")},
        {76, QStringLiteral(
                 "Export failed. Please make sure there is enough storage space and try again.")},
        {77, QStringLiteral("\"Date\",\"Client\",\"Project\",\"Phase\",\"Task\",\"Start\",\"Duration(h)\","
                            "\"Status\",\"Currency\",\"Rate\",\"Rate Type\",\"Amount\",\"Bill To\",\"")},
        {78, QStringLiteral("The report already exists. Do you want to overwrite it?")},
        {79, QStringLiteral("There are timers running. Do you want to cancel the timers and close "
                            "Tempolatch?")},
        {83, QStringLiteral("Summary")},
        {85, QStringLiteral("First Entry Date:")},
        {86, QStringLiteral("Last Entry Date:")},
        {88, QStringLiteral(
                 "Pocket Word Files|*.psw|Pocket Notes Files|*.pwi|Rich Text Files|*.rtf|Text "
                 "Files|*.txt|Unicode Files|*.txt|")},
        {89, QStringLiteral("Import a contact from Contacts Application")},
        {90, QStringLiteral("Tempolatch is unable to open the database!")},
        {91, QStringLiteral(
                 "The note is too large. Please remove large voice recordings or drawings.")},
        {92,
         QStringLiteral("The note is too large. Please tap on the Note tab to remove large voice "
                        "recordings or drawings.")},
        {93, QStringLiteral("Select a custom paid date if desired. The default is today.")},
        {95, QStringLiteral("Description")},
        {96, QStringLiteral("Category")},
        {97, QStringLiteral("Receipt")},
        {98, QStringLiteral("Start Odo.")},
        {99, QStringLiteral("End Odo.")},
        {100, QStringLiteral("Distance")},
        {101, QStringLiteral("\"Type\",\"Date\",\"Description\",\"Client\",\"Project\",\"Start Odo\","
                             "\"Distance\",\"Rate\",\"Receipt\",\"Currency\",\"Amount\",\"Status\","
                             "\"Paid Date\",\"Bill To\",\"")},
        {102, QStringLiteral("\"Type\",\"Date\",\"Description\",\"Client\",\"Project\",\"Category\","
                             "\"Receipt\",\"Currency\",\"Amount\",\"Status\",\"Paid Date\",\"Bill To\","
                             "\"")},
        {103, QStringLiteral("Mileage Expense Report")},
        {106, QStringLiteral("General Expense Report")},
        {107, QStringLiteral("Invoice Number: %s")},
        {120, QStringLiteral("Normal Rate")},
        {121, QStringLiteral("Overtime Rate")},
        {122, QStringLiteral("Weekend Rate")},
        {123, QStringLiteral("Fixed Rate")},
        {124, QStringLiteral("Discount Rate")},
        {128, QStringLiteral("Timers... (%d)")},
        {134,
         QStringLiteral("Unable to import data. Please close some applications and try again.")},
        {138, QStringLiteral("(All)")},
        {139, QStringLiteral("Contacts")},
        {140, QStringLiteral("Start")},
        {141, QStringLiteral("Duration")},
        {149, QStringLiteral("Client")},
        {151, QStringLiteral("Task")},
        {161, QStringLiteral("Billable")},
        {162, QStringLiteral("Non Billable")},
        {163, QStringLiteral("Paid")},
        {164, QStringLiteral("Unpaid")},
        {171, QStringLiteral("Billed")},
        {157, QStringLiteral("Report generation has failed.")},
        {158, QStringLiteral("HTML Files (*.html)|*.html|")},
        {160, QStringLiteral("Tempolatch Summary Report")},
        {168, QStringLiteral("There is no saved report.")},
        {169, QStringLiteral("Enter a name for the report:")},
        {173, QStringLiteral(
                  "Please wait while Tempolatch updates data... (Please do not turn off the Pocket "
                  "PC)")},
        {180, QStringLiteral("Are you sure to replace the text? Depending of the number of time "
                             "entries, this may take several minutes.")},
        {181, QStringLiteral("Please select a string to search for.")},
        {182, QStringLiteral("Please enter a string to replace with.")},
        {183, QStringLiteral("Please enter a description.")},
        {200, QStringLiteral("Duration, Start")},
        {201, QStringLiteral("Duration, Start, End")},
        {202, QStringLiteral("Start, End")},
        {213, QStringLiteral("CSV Files (*.csv)|*.csv|")},
        {215, QStringLiteral("Period Type:")},
        {216, QStringLiteral("Period:")},
        {217, QStringLiteral("Number of Items:")},
        {218, QStringLiteral("Hours:")},
        {219, QStringLiteral("Amount:")},
        {224, QStringLiteral(
                  "Pocket Word (*.psw)|*.psw|Pocket Notes (*.pwi)|*.pwi|Rich Text Files "
                  "(*.rtf)|*.rtf|Text Files (*.txt)|*.txt|Unicode Text Files (*.txt)|*.txt|")},
        {230, QStringLiteral("Project")},
        {231, QStringLiteral("Mileage:")},
        {232, QStringLiteral("General:")},
        {211, QStringLiteral("XML Files (*.xml)|*.xml|")},
        {227, QStringLiteral("From %s To ")},
        {228, QStringLiteral("Date: %s")},
        {229, QStringLiteral("Total")},
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
        {350, QStringLiteral("Expand All")},
        {351, QStringLiteral("Collapse All")},
        {4500, QStringLiteral("Day")},
        {4501, QStringLiteral("Week")},
        {4502, QStringLiteral("Month")},
        {4503, QStringLiteral("Custom Period")},
        {3070, QStringLiteral("Total Billable Hours")},
        {3071, QStringLiteral("Total Billed Hours")},
        {3072, QStringLiteral("Total Unpaid Amount")},
        {3073, QStringLiteral("Total Billed Amount")},
        {3074, QStringLiteral("Total Paid Amount")},
        {3075, QStringLiteral("Total Non-Billable Hours")},
        {3076, QStringLiteral("Report Date")},
        {4010, QStringLiteral("None")},
        {4011, QStringLiteral("Range")},
        {4012, QStringLiteral("Start Date Only")},
        {4030, QStringLiteral("Show")},
        {4031, QStringLiteral("Hide")},
        {4550, QStringLiteral("(None)")},
        {4551, QStringLiteral("h")},
        {4552, QStringLiteral("hr")},
        {4600, QStringLiteral("Non Billable")},
        {4601, QStringLiteral("Billable")},
        {4602, QStringLiteral("Billed")},
        {4603, QStringLiteral("Paid")},
        {5001, QStringLiteral("Entry Date")},
        {5002, QStringLiteral("Client")},
        {5003, QStringLiteral("Project")},
        {5004, QStringLiteral("Phase")},
        {5005, QStringLiteral("Task")},
        {5006, QStringLiteral("Duration")},
        {5007, QStringLiteral("Currency")},
        {5008, QStringLiteral("Status")},
        {5009, QStringLiteral("Rate")},
        {5010, QStringLiteral("Start Time")},
        {5011, QStringLiteral("Bill To")},
        {5012, QStringLiteral("Custom 1")},
        {5013, QStringLiteral("Custom 2")},
        {5014, QStringLiteral("Custom 3")},
        {5015, QStringLiteral("Rate Type")},
        {5016, QStringLiteral("Amount")},
        {5017, QStringLiteral("Note")},
        {5018, QStringLiteral("End Time")},
        {5100, QStringLiteral("Client")},
        {5101, QStringLiteral("Project")},
        {5102, QStringLiteral("Phase")},
        {5103, QStringLiteral("Task")},
        {5104, QStringLiteral("Currency")},
        {5105, QStringLiteral("Bill To")},
        {5106, QStringLiteral("Custom 1")},
        {5107, QStringLiteral("Custom 2")},
        {5108, QStringLiteral("Custom 3")},
        {5109, QStringLiteral("Project-Task")},
        {7100, QStringLiteral("Backup Files (*.tld)|*.tld|")},
        {7101, QStringLiteral("Please wait while backup is in progress. You must not turn off the "
                              "Pocket PC. This may take a few minutes.")},
        {7102,
         QStringLiteral("Backup has failed. Please make sure you have enough space on the storage "
                        "device.")},
        {7103, QStringLiteral("Do you want to delete ALL data before restoring data?")},
        {7104, QStringLiteral(
                   "Data restore is in progress. Do not turn off the Pocket PC. Please wait...")},
        {7105,
         QStringLiteral("Restore has failed. Please select a different backup and try again.")},
        {7106, QStringLiteral("This backup file is not supported and cannot be used to restore "
                              "data. Please select a different backup file.")},
        {7107, QStringLiteral("Do you want to delete ALL data?")},
        {7120, QStringLiteral("Archive Files (*.tla)|*.tla|")},
        {7121, QStringLiteral("Archive operation has failed. Please make sure you have enough "
                              "space on storage device and try again.")},
        {7122, QStringLiteral("Archive file has been restored.")},
        {7123, QStringLiteral("Archive file cannot be loaded. The file may be created by "
                              "Tempolatch prior to version 2.3.")},
        {7124, QStringLiteral("Only Archive file with data can be restored.")},
        {7125, QStringLiteral("Client Structures Files (*.tlc)|*.tlc|")},
        {7126, QStringLiteral("Text Files (*.txt)|*.txt|Unicode Text|*.txt|")},
        {9100, QStringLiteral("The duration must be between 0 and 655.35 hours.")},
        {9101, QStringLiteral("The break must be between 0 and 655.35 hours.")},
        {9102, QStringLiteral("The rate cannot be negative.")},
        {9103, QStringLiteral("The start time is later than the current time. A timer can only "
                              "start at a time that has passed.")},
        {9104, QStringLiteral("The amount cannot be negative.")},
        {9110, QStringLiteral("List File (*.txt)|*.txt|")},
    };
    return strings;
}

}  // namespace

QString resourceString(int id) {
    return table().value(id);
}

}  // namespace tempolatch
