#pragma once

#include <QtGlobal>

namespace tempolatch {

// Names and type ids of the eight databases. Other programs find them by
// these names and ids, so they never change.
namespace db {
inline constexpr const char* EntriesName = "Tempolatch Data 1";
inline constexpr const char* ListsName = "Tempolatch Data 2";
inline constexpr const char* RatesName = "Tempolatch Rates";
inline constexpr const char* ClientsName = "Tempolatch Clients";
inline constexpr const char* ProjectsName = "Tempolatch Projects";
inline constexpr const char* TasksName = "Tempolatch Tasks";
inline constexpr const char* ContactsName = "Tempolatch Contacts";
inline constexpr const char* ExpensesName = "Tempolatch Expenses";

inline constexpr quint32 EntriesType = 0x04C48CF1;
inline constexpr quint32 ListsType = 0x04C48CF2;
inline constexpr quint32 RatesType = 0x04C48CF3;
inline constexpr quint32 ClientsType = 0x04C48CF4;
inline constexpr quint32 ProjectsType = 0x04C48CF5;
inline constexpr quint32 TasksType = 0x04C48CF6;
inline constexpr quint32 ContactsType = 0x04C48CF7;
inline constexpr quint32 ExpensesType = 0x04C48CF8;
}  // namespace db

// Property ids shared by several record kinds.
namespace prop {
inline constexpr quint32 EntryDate = 0x03E90040;   // sort order of entries and expenses
inline constexpr quint32 ClientName = 0x03EA001F;  // sort order of clients
inline constexpr quint32 ClientId = 0x04B10013;    // sort order of the structure databases
inline constexpr quint32 Modified = 0x03FD0040;
inline constexpr quint32 ChangeFlags = 0x03FE0012;
inline constexpr quint32 ListKind = 0x044E0012;
inline constexpr quint32 ListText = 0x044D001F;
inline constexpr quint32 ReportDefinition = 0x044F0041;
inline constexpr quint32 NextClientId = 0x057C0013;
}  // namespace prop

// Properties of time entries; expenses share the ids of the fields they have
// in common (date, client, project, status, currency, amount, paid date,
// bill to, custom 1 and 2, modified, change flags).
namespace prop {
inline constexpr quint32 Project = 0x03EB001F;
inline constexpr quint32 Phase = 0x03EC001F;
inline constexpr quint32 TaskName = 0x03ED001F;
inline constexpr quint32 Duration = 0x03EE0012;
inline constexpr quint32 Currency = 0x03EF001F;
inline constexpr quint32 Rate = 0x03F00013;  // also the expense amount
inline constexpr quint32 LegacyBillable = 0x03F1000B;
inline constexpr quint32 LegacyPaid = 0x03F2000B;
inline constexpr quint32 Note = 0x03F40041;
inline constexpr quint32 LegacyStartTime = 0x03F50040;
inline constexpr quint32 BillTo = 0x03F6001F;
inline constexpr quint32 Custom1 = 0x03F7001F;
inline constexpr quint32 Custom2 = 0x03F8001F;
inline constexpr quint32 Custom3 = 0x03F9001F;
inline constexpr quint32 RateType = 0x03FA0012;
inline constexpr quint32 Status = 0x03FB0012;
inline constexpr quint32 PaidDate = 0x03FC0040;
inline constexpr quint32 Break = 0x03FF0012;

// Client structure. Project, task and contact names share the lists' text id.
inline constexpr quint32 StructureName = ListText;
inline constexpr quint32 RateKind = ListKind;
inline constexpr quint32 Description = 0x04B2001F;
inline constexpr quint32 RateFlag = 0x04B3000B;

// Expenses.
inline constexpr quint32 ExpenseType = ListKind;
inline constexpr quint32 StartOdometer = 0x06410013;
inline constexpr quint32 Distance = 0x06420013;
inline constexpr quint32 Receipt = 0x0643000B;
inline constexpr quint32 Category = 0x0644001F;
inline constexpr quint32 ExpenseNote = 0x0645001F;
}  // namespace prop

// Which drop list a record of the lists database belongs to.
enum class ListKind : quint16 {
    ClientCounter = 0,
    Phase = 3,
    Currency = 5,
    Custom1 = 7,
    Custom2 = 8,
    Custom3 = 9,
    SavedReport = 10,
    Category = 11,
    Description = 12,
};

// The change flags every writer passes.
inline constexpr quint16 DefaultChangeFlags = 3;

// Names in client-structure and list records are read into 128-unit buffers.
inline constexpr int MaxNameLength = 127;

}  // namespace tempolatch
