#pragma once

#include <QString>
#include <QWidget>

#include "settings/Context.h"
#include "store/TimeEntry.h"

namespace tempolatch {

// What the pages of the entry editor share: the context they work in, the
// working entry and the client chosen on the General page, which the
// Billing page follows.
struct EntryEditState {
    explicit EntryEditState(Context& c) : context(c) {}

    Context& context;
    TimeEntry entry;
    quint32 clientId = 0;  // 0: no listed client
    QString clientName;
};

// One page of the entry editor or of the entry summary. A page takes part
// in leaving and applying only once it has been shown.
class EntryPage : public QWidget {
public:
    explicit EntryPage(EntryEditState& state, QWidget* parent = nullptr)
        : QWidget(parent), m_state(state) {}

    bool wasShown() const { return m_shown; }

    // Becoming the current page; the first time builds the page's content.
    void activate() {
        if (!m_shown) {
            m_shown = true;
            build();
        }
        activated();
    }
    // Puts the focus into the page's first field, so that typing goes there.
    void focusFirstField() {
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
            if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
                w->isVisibleTo(this)) {
                w->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }
    // False keeps the page current (a message was shown).
    virtual bool leave() { return true; }
    // OK: writes the page into the entry; false refuses OK.
    virtual bool apply() { return true; }

protected:
    virtual void build() = 0;
    virtual void activated() {}

    EntryEditState& state() { return m_state; }
    Context& context() { return m_state.context; }
    TimeEntry& entry() { return m_state.entry; }

private:
    EntryEditState& m_state;
    bool m_shown = false;
};

}  // namespace tempolatch
