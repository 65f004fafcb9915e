#pragma once

#include <QString>

namespace tempolatch {

// The program's user-visible texts, keyed by their resource numbers, so that
// code and tests can speak of "message 90" as the rest of the program does.
// An unknown number gives an empty text.
QString resourceString(int id);

namespace str {
inline constexpr int AppName = 1;  // "Tempolatch", the caption of every message box
inline constexpr int EntryTimersTip = 4;
inline constexpr int QuickSummaryTip = 5;
inline constexpr int DefaultRates = 25;  // "(Default Rates)"
inline constexpr int EnterClientName = 27;
inline constexpr int EnterProjectName = 28;
inline constexpr int EnterTaskName = 29;
inline constexpr int EnterContactName = 30;
inline constexpr int ProjectsGroup = 32;
inline constexpr int TasksGroup = 33;
inline constexpr int DeleteClientQuestion = 34;
inline constexpr int InvalidRate = 38;
inline constexpr int WeekStartSunday = 57;     // 58 Monday
inline constexpr int DurationInterval10 = 60;  // 60..64
inline constexpr int DeleteProjectQuestion = 69;
inline constexpr int TapEdit = 74;  // 75 Preview
inline constexpr int TimersRunningCloseQuestion = 79;
inline constexpr int ImportContactChoice = 89;
inline constexpr int UnableToOpenDatabase = 90;
inline constexpr int RateTypeNames = 120;  // 120 + RateType
inline constexpr int TimersCount = 128;    // "Timers... (%d)"
inline constexpr int UnableToImport = 134;
inline constexpr int ContactsGroup = 139;
inline constexpr int UpdatingData = 173;  // the data upgrade's progress text
inline constexpr int EnterDescription = 183;
inline constexpr int EntryMenuFirst = 310;  // 310..322, "-" a separator
inline constexpr int EntryMenuLast = 322;
inline constexpr int HourSymbolNone = 4550;  // 4550..4552
inline constexpr int StatusNames = 4600;     // 4600 + EntryStatus
inline constexpr int Custom1 = 5012;
inline constexpr int Custom2 = 5013;
inline constexpr int Custom3 = 5014;
// Notes
inline constexpr int EditInWordButton = 16;
inline constexpr int DrawButton = 18;
inline constexpr int EditInWordPrompt = 23;
inline constexpr int NoteImportFilter = 40;
inline constexpr int ExportNoteFailed = 68;
inline constexpr int NoteExportFilter = 88;
inline constexpr int NoteTooLarge = 91;
inline constexpr int TimerNoteTooLarge = 92;
inline constexpr int ExportNoteFilter = 224;
// Backup, restore and removal of data
inline constexpr int BackupFilter = 7100;  // "Backup Files (*.tld)|*.tld|"
inline constexpr int BackupInProgress = 7101;
inline constexpr int BackupFailed = 7102;
inline constexpr int DeleteBeforeRestoreQuestion = 7103;
inline constexpr int RestoreInProgress = 7104;
inline constexpr int RestoreFailed = 7105;
inline constexpr int RestoreUnsupported = 7106;
inline constexpr int DeleteAllDataQuestion = 7107;
// Archives, client structure files and list files
inline constexpr int ArchiveFilter = 7120;  // "Archive Files (*.tla)|*.tla|"
inline constexpr int ArchiveFailed = 7121;
inline constexpr int ArchiveLoaded = 7122;
inline constexpr int ArchiveCannotLoad = 7123;
inline constexpr int ArchiveDataOnly = 7124;
inline constexpr int ClientStructureFilter = 7125;  // "Client Structures Files (*.tlc)|*.tlc|"
inline constexpr int ListExportFilter = 7126;  // 8-bit text, then Unicode
// Entry editor
inline constexpr int TaskRequired = 9;
inline constexpr int DurationRequired = 10;
inline constexpr int NumericOnly = 11;
inline constexpr int EditPrompt = 21;
inline constexpr int ClientRequired = 22;
inline constexpr int CustomRate = 49;
// Expenses: the Simple list's own column titles beside 95 and 96.
inline constexpr int ExpenseReceipt = 97;
inline constexpr int ExpenseStartOdometer = 98;
inline constexpr int ExpenseEndOdometer = 99;
inline constexpr int ExpenseDistance = 100;
inline constexpr int SummaryPage = 83;
// Entry commands
inline constexpr int DeleteItemQuestion = 24;
inline constexpr int CustomPaidDatePrompt = 93;
// Replace Field Text, Edit Drop Lists and the bulk marking commands
inline constexpr int UpdatingRecords = 41;  // their progress text
// Timers
inline constexpr int AddTimerButton = 51;  // 51..54: Add Timer, Pause, Task Complete, Cancel Timer
inline constexpr int PauseButton = 52;
inline constexpr int TaskCompleteButton = 53;
inline constexpr int CancelTimerButton = 54;
inline constexpr int CancelTimerQuestion = 56;
inline constexpr int StartColumn = 140;
inline constexpr int DurationColumn = 141;
inline constexpr int ClientColumn = 149;
inline constexpr int TaskColumn = 151;
inline constexpr int ProjectColumn = 230;
inline constexpr int DeleteListQuestion = 59;
inline constexpr int DescriptionList = 95;
inline constexpr int CategoryList = 96;
inline constexpr int ReplaceQuestion = 180;
inline constexpr int SelectFindText = 181;
inline constexpr int EnterReplaceText = 182;
inline constexpr int Phase = 5004;
inline constexpr int Currency = 5007;
inline constexpr int ReplaceFieldNames = 5100;  // 5100..5109
inline constexpr int ListFileFilter = 9110;     // ours: "List File (*.txt)|*.txt|"
// Ours: values the store cannot keep.
inline constexpr int DurationOutOfRange = 9100;
inline constexpr int BreakOutOfRange = 9101;
inline constexpr int NegativeRate = 9102;
inline constexpr int FutureTimerStart = 9103;
// Exports and summaries
inline constexpr int ExportFailed = 76;
inline constexpr int TimeEntryCsvHeader = 77;  // ends in an opened quote
inline constexpr int MileageCsvHeader = 101;
inline constexpr int GeneralCsvHeader = 102;
inline constexpr int CsvFilter = 213;  // "CSV Files (*.csv)|*.csv|"
inline constexpr int FirstEntryDate = 85;
inline constexpr int LastEntryDate = 86;
inline constexpr int SummaryBillable = 161;
inline constexpr int SummaryNonBillable = 162;
inline constexpr int SummaryPaid = 163;
inline constexpr int SummaryUnpaid = 164;
inline constexpr int SummaryBilled = 171;
inline constexpr int PeriodTypeLabel = 215;
inline constexpr int PeriodLabel = 216;
inline constexpr int NumberOfItems = 217;
inline constexpr int HoursLabel = 218;
inline constexpr int AmountLabel = 219;
inline constexpr int MileageLabel = 231;
inline constexpr int GeneralLabel = 232;
inline constexpr int PeriodNames = 4500;  // 4500 + PeriodType - 1
inline constexpr int ClientLabel = 5002;  // "Client", followed by ":" in labels
inline constexpr int ProjectLabel = 5003;
inline constexpr int TaskLabel = 5005;
inline constexpr int AllItems = 138;      // "(All)"
inline constexpr int NegativeAmount = 9104;
}  // namespace str

}  // namespace tempolatch
