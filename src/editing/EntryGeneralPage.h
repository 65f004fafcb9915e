#pragma once

#include "editing/EntryPage.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;

namespace tempolatch {

class ClientFieldLists;
class TimeBox;

// The editor's first page: date, client, project, phase, task, duration
// and the optional start time.
class EntryGeneralPage : public EntryPage {
    Q_OBJECT
public:
    explicit EntryGeneralPage(EntryEditState& state, QWidget* parent = nullptr);

    bool leave() override;
    bool apply() override;

    // The picker format of start and end times: 24-hour or with AM/PM, as
    // the locale shows times.
    static QString timeFormat();

protected:
    void build() override;

private:
    // The client text lost the focus, or the page was built (no rate reset).
    void clientChanged(bool byUser);
    void setStartEnd();
    // The start time typed into the entry; false (said, focus on the box)
    // when it is not a time.
    bool takeStartTime();
    void warn(int messageId, QWidget* focus);

    QDateEdit* m_date = nullptr;
    QComboBox* m_client = nullptr;
    ClientFieldLists* m_lists = nullptr;
    QComboBox* m_duration = nullptr;
    QCheckBox* m_startBox = nullptr;
    TimeBox* m_start = nullptr;
    QPushButton* m_set = nullptr;
};

}  // namespace tempolatch
