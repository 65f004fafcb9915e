#include "platform/WorkProgress.h"

namespace tempolatch::platform {

namespace {
thread_local WorkProgress* t_current = nullptr;
}

void WorkProgress::addRows(qint64 rows) {
    const qint64 now = m_rows.fetch_add(rows, std::memory_order_relaxed) + rows;
    const qint64 limit = m_cancelAt.load(std::memory_order_relaxed);
    if (limit >= 0 && now >= limit)
        cancel();
}

WorkProgress::Scope::Scope(WorkProgress& progress) : m_outer(t_current) {
    t_current = &progress;
}

WorkProgress::Scope::~Scope() {
    t_current = m_outer;
}

WorkProgress* WorkProgress::current() {
    return t_current;
}

bool WorkProgress::countRows(qint64 rows) {
    if (!t_current)
        return true;
    t_current->addRows(rows);
    return !t_current->isCancelled();
}

bool WorkProgress::cancelledHere() {
    return t_current && t_current->isCancelled();
}

}  // namespace tempolatch::platform
