#pragma once

#include <QDialog>

#include "store/TimeEntry.h"

class QComboBox;
class QTimeEdit;

namespace tempolatch {

struct Context;
class Settings;

// An editable box of hours offering the duration choices of the settings'
// step, taking at most 6 characters: the break here, the duration of Copy.
QComboBox* createDurationList(const QString& objectName, const Settings& settings, QWidget* parent);

// Sets an entry's start time, and its duration from an end time and a break.
class StartEndDialog : public QDialog {
    Q_OBJECT
public:
    // Break choices and messages follow the context's settings and ui.
    StartEndDialog(Context& context, const TimeEntry& entry, QWidget* parent = nullptr);

    // The entry with the start time, break and duration of an accepted dialog.
    const TimeEntry& entry() const { return m_entry; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMinutes(int minutes);
    // Reads the break; false (after message 11) when it has letters.
    bool takeBreak();
    void updateEnd();

    Context& m_context;
    TimeEntry m_entry;
    QTimeEdit* m_start;
    QTimeEdit* m_end;
    QComboBox* m_break;
    QTimeEdit* m_lastPicker = nullptr;
};

}  // namespace tempolatch
