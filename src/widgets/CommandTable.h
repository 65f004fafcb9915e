#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

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

    // The keys of a command, with what the list of keys calls it. The
    // window makes them work, the menus show them beside their items and
    // Help > Keyboard Shortcuts lists them, all from here. Id 0: a key that
    // a widget answers itself (Ctrl+A in a list), only listed.
    struct Keys {
        int id = 0;
        QList<QKeySequence> sequences;
        QString description;
    };
    void addKeys(int id, QList<QKeySequence> sequences, QString description);
    // In the order they were added.
    const std::vector<Keys>& keys() const { return m_keys; }
    QList<QKeySequence> keysOf(int id) const;

private:
    std::map<int, Handler> m_handlers;
    std::vector<Keys> m_keys;
};

}  // namespace tempolatch
