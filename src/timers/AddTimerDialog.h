#pragma once

#include <QDialog>

#include "timers/EntryTimer.h"

class QCheckBox;
class QTimeEdit;

namespace tempolatch {

struct Context;
class ClientFieldLists;

// Asks what a new timer is for: client, project, phase and task (lists as
// on the entry editor's General page) and an optional start earlier today.
// OK adds what the client structure and the phase list lack.
class AddTimerDialog : public QDialog {
    Q_OBJECT
public:
    // `from`: the entry whose texts the timer starts with (Create New Timer).
    AddTimerDialog(Context& context, const TimeEntry* from, QWidget* parent = nullptr);

    // What the timer starts with, once accepted.
    const TimerStart& result() const { return m_result; }
    ClientFieldLists* lists() const { return m_lists; }

    void accept() override;

private:
    Context& m_context;
    ClientFieldLists* m_lists;
    QCheckBox* m_startBox;
    QTimeEdit* m_start;
    TimerStart m_result;
};

}  // namespace tempolatch
