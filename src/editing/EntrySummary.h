#pragma once

#include <QDialog>
#include <QStringList>

#include "editing/EntryPage.h"

class QTabWidget;
class QTreeWidget;

namespace tempolatch {

class Settings;

class EntryNotePage;

// A read-only look at one entry: its General, Billing and Custom Fields
// sections, and its note, which may be changed here.
class EntrySummary : public QDialog {
    Q_OBJECT
public:
    EntrySummary(Context& context, const TimeEntry& entry, QWidget* parent = nullptr);

    // The texts of the summary's rows, sections included ("General", ...).
    // Amounts and the custom fields' names as the settings say.
    static QStringList rows(const TimeEntry& entry, const Settings& settings);

    // True when the user asked to edit the entry (Edit).
    bool editRequested() const { return m_editRequested; }
    const TimeEntry& entry() const { return m_state.entry; }

    // Every way of closing keeps a changed note. When the store refuses
    // it, the summary says so and stays open; closing again gives it up.
    void accept() override;
    void reject() override;

private:
    void fill();
    bool saveNote();

    EntryEditState m_state;
    QTabWidget* m_tabs;
    QTreeWidget* m_list;
    EntryNotePage* m_notePage;
    bool m_editRequested = false;
    bool m_saveFailed = false;
};

}  // namespace tempolatch
