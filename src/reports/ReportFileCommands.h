#pragma once

#include <QString>
#include <functional>

#include "platform/FileTime.h"

class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;

// What the export and report commands need from the main window.
struct ReportFileCommandHost {
    Context* context = nullptr;
    QWidget* parent = nullptr;
    // The period the main view shows: the range the criteria sheet proposes.
    std::function<void(platform::SystemTime& start, platform::SystemTime& end)> period;
    // Shows a finished report (the desktop's browser or PDF viewer).
    std::function<void(const QString& path)> open;
};

// Export > XML...: criteria, file, export; message 76 when it fails.
void exportXml(const ReportFileCommandHost& host);

// Report > Group By..., Tabular..., Invoice... (kind 0-2): the layout
// dialog, criteria, file (HTML or PDF), the report shown; message 157
// when it fails.
void runReport(const ReportFileCommandHost& host, int kind);

// Registers Export > XML... and the three reports.
void registerReportFileCommands(CommandTable& table, const ReportFileCommandHost& host);

}  // namespace tempolatch
