#pragma once

namespace tempolatch {

// Texts of the views, lists and filters, by resource number.
namespace str {
inline constexpr int GotoToday = 6;
inline constexpr int PreviousPeriod = 7;
inline constexpr int NextPeriod = 8;
inline constexpr int WeekOf = 15;
inline constexpr int All = 138;             // "(All)", the first item of every filter list
inline constexpr int EntryTimeModes = 200;  // + ViewCust word 0
inline constexpr int ExpandAll = 350;
inline constexpr int CollapseAll = 351;
inline constexpr int ColumnTitles = 5001;  // + field: "Entry Date" .. "End Time"
}  // namespace str

// Commands of the navigation bar, its month menu and the tree's menu.
namespace cmd {
inline constexpr int GotoToday = 110;
inline constexpr int PreviousPeriod = 111;
inline constexpr int NextPeriod = 112;
inline constexpr int MonthFirst = 3100;  // January; + 11 for December
inline constexpr int YearFirst = 3197;   // view's year - 3; year = year + id - 3200
inline constexpr int YearLast = 3204;
inline constexpr int ExpandAll = 350;
inline constexpr int CollapseAll = 351;
inline constexpr int FilterClear = 1111;
inline constexpr int SheetCancel = 2;
}  // namespace cmd

}  // namespace tempolatch
