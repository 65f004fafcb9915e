#include "widgets/CommandTable.h"

namespace tempolatch {

void CommandTable::add(int id, Handler handler) {
    // An empty handler would make has() promise a command that run() cannot run.
    if (handler)
        m_handlers[id] = std::move(handler);
    else
        m_handlers.erase(id);
}

void CommandTable::add(std::initializer_list<int> ids, const Handler& handler) {
    for (int id : ids)
        add(id, handler);
}

void CommandTable::addRange(int first, int last, const Handler& handler) {
    for (int id = first; id <= last; ++id)
        add(id, handler);
}

void CommandTable::addKeys(int id, QList<QKeySequence> sequences, QString description) {
    m_keys.push_back({id, std::move(sequences), std::move(description)});
}

QList<QKeySequence> CommandTable::keysOf(int id) const {
    for (const Keys& keys : m_keys)
        if (keys.id == id)
            return keys.sequences;
    return {};
}

bool CommandTable::run(int id) const {
    const auto found = m_handlers.find(id);
    if (found == m_handlers.end())
        return false;
    // A copy: the handler may change the table while it runs.
    const Handler handler = found->second;
    handler(id);
    return true;
}

}  // namespace tempolatch
