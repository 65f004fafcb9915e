#pragma once

#include "editing/EntryPage.h"

namespace tempolatch {

class DialogBar;
class InkControl;

// The Note page of the entry editor and of the entry summary.
class EntryNotePage : public EntryPage {
    Q_OBJECT
public:
    explicit EntryNotePage(EntryEditState& state, QWidget* parent = nullptr);

    // Copies a changed note into the entry; refuses a note too large to save.
    bool apply() override;
    // True once apply() has taken a changed note.
    bool noteChanged() const { return m_changed; }
    InkControl* control() const { return m_control; }
    // The page's commands (built with the page).
    DialogBar* commandBar() const { return m_bar; }

protected:
    void build() override;
    void activated() override;

private:
    InkControl* m_control = nullptr;
    DialogBar* m_bar = nullptr;
    bool m_changed = false;
};

}  // namespace tempolatch
