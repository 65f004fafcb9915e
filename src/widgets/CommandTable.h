#pragma once

#include <functional>
#include <initializer_list>
#include <map>

namespace tempolatch {

// The main window's commands: which handler runs for a command id. Each
// module registers the commands it owns; the menus and bars ask has() and
// grey every item that has no handler, so that nothing the user can click
// does nothing.
class CommandTable {
public:
    using Handler = std::function<void(int id)>;

    // A command has one handler: adding it again replaces the earlier one;
    // an empty handler removes it.
    void add(int id, Handler handler);
    void add(std::initializer_list<int> ids, const Handler& handler);
    // Every id from `first` to `last`, both included.
    void addRange(int first, int last, const Handler& handler);

    bool has(int id) const { return m_handlers.count(id) != 0; }
    // Runs the command's handler; false when it has none.
    bool run(int id) const;

private:
    std::map<int, Handler> m_handlers;
};

}  // namespace tempolatch
