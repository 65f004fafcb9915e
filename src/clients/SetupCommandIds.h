#pragma once

namespace tempolatch::cmd {

// The commands of the clients setup and the rates setup.
inline constexpr int AddClient = 40066;
inline constexpr int AddProject = 40065;
inline constexpr int AddTask = 40067;
inline constexpr int AddContact = 40068;
inline constexpr int ModifyItem = 40130;
inline constexpr int DeleteItem = 2003;
inline constexpr int DeleteAllItems = 40186;  // Edit Drop Lists
inline constexpr int ImportNames = 40024;
inline constexpr int ExportNames = 40205;
inline constexpr int NewRate = 40004;  // soft keys
inline constexpr int NewRateClassic = 40124;

}  // namespace tempolatch::cmd
