#pragma once

#include <QDialog>

#include "platform/FileTime.h"

class QCheckBox;
class QDateEdit;

namespace tempolatch {

// The range of an archive: "Start:" and "End:" days, preset with the
// period the main window shows, and "Delete when archived", set.
class ArchiveRangeDialog : public QDialog {
    Q_OBJECT
public:
    ArchiveRangeDialog(const platform::SystemTime& start, const platform::SystemTime& end,
                       QWidget* parent = nullptr);

    // The chosen days at the preset times of day: the start's and the end's.
    platform::SystemTime start() const;
    platform::SystemTime end() const;
    bool deleteWhenArchived() const;

private:
    platform::SystemTime m_presetStart;
    platform::SystemTime m_presetEnd;
    QDateEdit* m_start;
    QDateEdit* m_end;
    QCheckBox* m_delete;
};

}  // namespace tempolatch
