#pragma once

#include <QDialog>
#include <QList>
#include <optional>

#include "editing/EntryPage.h"

class QTabWidget;

namespace tempolatch {

class EntryNotePage;

// The tabbed dialog in which a time entry is created or changed. OK checks
// the pages that were shown, writes them into the entry and saves it with
// what the user typed that the client structure and drop lists lack.
class EntryEditor : public QDialog {
    Q_OBJECT
public:
    enum Page { GeneralPage = 0, BillingPage = 1, CustomPage = 2, NotePage = 3 };

    // `from`: the entry to start from (none: a new one dated today);
    // `keepValues`: no new-entry defaults (copies of entries).
    EntryEditor(Context& context, const TimeEntry* from, bool keepValues, int firstPage,
                QWidget* parent = nullptr);

    // Runs the editor modally; true when the entry was saved. `recordId`
    // receives the saved entry's record id.
    static bool edit(Context& context, QWidget* parent, const TimeEntry* from, bool keepValues,
                     int firstPage, quint32* recordId = nullptr);

    const TimeEntry& entry() const { return m_state.entry; }
    bool saved() const { return m_saved; }
    // The user chose to see the entry as someone else stored it meanwhile:
    // the editor closed, to be opened again on the stored entry.
    bool reloadWanted() const { return m_reload; }
    int currentPage() const { return m_current; }
    QTabWidget* tabs() const { return m_tabs; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pageChanged(int index);
    void showPage(int index);
    void save();

    EntryEditState m_state;
    // The stored entry as it was when the editor opened, to tell whether
    // someone else has changed it since.
    std::optional<TimeEntry> m_asRead;
    QTabWidget* m_tabs;
    QList<EntryPage*> m_pages;
    int m_current = -1;
    bool m_switching = false;
    bool m_saved = false;
    bool m_reload = false;
};

}  // namespace tempolatch
