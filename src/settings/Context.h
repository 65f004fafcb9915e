#pragma once

namespace tempolatch {

namespace platform {
class Registry;
class Ui;
}  // namespace platform
class RecordStore;
class Settings;

// What the windows, commands and operations of one run work with: the
// profile's store and registry, the user's settings and the message boxes
// and file dialogs. Owned at the top (the main window's start, the command line, a
// test) and handed down to whatever needs it.
struct Context {
    RecordStore& store;
    Settings& settings;
    platform::Ui& ui;
    platform::Registry& registry;
};

}  // namespace tempolatch
