#pragma once

namespace tempolatch {

// Command ids of the main window. Menus, tool buttons, the accelerator and
// the entry lists all speak in these numbers, and so do the tests; they live
// this low so that every area can name them. Dialogs keep their own ids
// beside them (clients/SetupCommandIds.h, views/ViewIds.h).
namespace cmd {
inline constexpr int Ok = 1;        // the dialog-style "OK" that closes the window
inline constexpr int Close = 1001;  // Ctrl+Q

// Menu bar buttons that open popups rather than run a command.
inline constexpr int MenuButton = 117;     // soft-key "Menu"
inline constexpr int ViewButton = 40031;   // classic "View"
inline constexpr int ToolsButton = 40006;  // classic "Tools"

inline constexpr int New = 40004;

inline constexpr int PeriodDay = 42001;
inline constexpr int PeriodWeek = 42002;
inline constexpr int PeriodMonth = 42003;
inline constexpr int PeriodCustom = 42004;
inline constexpr int PeriodBase = 42000;  // + PeriodType (1..4)

inline constexpr int ListStyleDefault = 42100;
inline constexpr int ListStyleSimple = 42101;
inline constexpr int ListStyleTree = 42102;
inline constexpr int ListStyleBase = ListStyleDefault;  // + ListStyle (0..2)

inline constexpr int Customize = 40038;

inline constexpr int FilterShowAll = 104;
inline constexpr int FilterUnpaidOnly = 105;
inline constexpr int FilterCustom = 106;

inline constexpr int ArrangeDefault = 40108;  // + arrange-by index (0..8)
inline constexpr int ArrangeClient = 40109;
inline constexpr int ArrangeProject = 40110;
inline constexpr int ArrangePhase = 40111;
inline constexpr int ArrangeTask = 40112;
inline constexpr int ArrangeBillTo = 40113;
inline constexpr int ArrangeCustom1 = 40114;
inline constexpr int ArrangeCustom2 = 40115;
inline constexpr int ArrangeCustom3 = 40116;

inline constexpr int ReportGroupBy = 40282;
inline constexpr int ReportTabular = 40283;
inline constexpr int ReportInvoice = 40284;
inline constexpr int ClientSummary = 40250;
inline constexpr int QuickSummary = 40218;
// Charts of the shown period: hours per day by client, amounts per client.
inline constexpr int Charts = 40296;
inline constexpr int Expenses = 40274;
inline constexpr int ExportCsv = 40101;
inline constexpr int ExportXml = 40102;
inline constexpr int BackupCreate = 40082;
inline constexpr int BackupRestore = 40083;
inline constexpr int ArchiveEntries = 40103;
inline constexpr int ArchiveLoad = 40219;
inline constexpr int RemoveAllData = 40265;
inline constexpr int SetupClients = 40032;
inline constexpr int SetupRates = 40129;
inline constexpr int EditDropLists = 40128;
inline constexpr int ReplaceFieldText = 40125;
inline constexpr int MarkBilledEntries = 40254;
inline constexpr int MarkPaidEntries = 40080;
inline constexpr int Options = 40052;
inline constexpr int Timers = 41103;
inline constexpr int EditSelected = 40063;   // the tap action; no menu item
inline constexpr int OpenEntryById = 40255;  // no menu item
inline constexpr int About = 40003;

// The desktop's own: the Edit and Help popups of the classic bar and what
// they hold.
inline constexpr int EditButton = 40400;
inline constexpr int HelpButton = 40401;
inline constexpr int Undo = 40402;
inline constexpr int Redo = 40403;
inline constexpr int HelpContents = 40404;
inline constexpr int KeyboardShortcuts = 40405;

// The entry context menu: each item's id is the number of its text.
inline constexpr int Preview = 310;
inline constexpr int Edit = 311;
inline constexpr int EditNote = 312;
inline constexpr int CreateCopy = 314;
inline constexpr int CreateNewTimer = 315;
inline constexpr int Copy = 316;
inline constexpr int ExportNote = 317;
inline constexpr int MarkAsBilled = 319;
inline constexpr int MarkAsPaid = 320;
inline constexpr int Delete = 322;
inline constexpr int ContextMenuFirst = 310;
inline constexpr int ContextMenuLast = 322;
}  // namespace cmd

}  // namespace tempolatch
