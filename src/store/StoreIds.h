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
