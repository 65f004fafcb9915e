#pragma once

#include <QDialog>
#include <utility>

#include "platform/FileTime.h"

class QDateEdit;

namespace tempolatch {

class PeriodView;
class Settings;

// "Start:" and "End:" of the custom period.
class CustomPeriodDialog : public QDialog {
    Q_OBJECT

public:
    explicit CustomPeriodDialog(QWidget* parent = nullptr);

    void setPeriod(const platform::SystemTime& start, const platform::SystemTime& end);
    // The chosen dates at 00:00:00.
    platform::SystemTime start() const;
    platform::SystemTime end() const;

    // What the dialog opens with for the "Custom Period..." command: the
    // stored custom period once one was set, else the current view's period
    // (today without a view).
    static std::pair<platform::SystemTime, platform::SystemTime> preset(const Settings& settings,
                                                                        const PeriodView* view);
    // Keeps a chosen period in the settings, where the custom view reads it.
    static void store(Settings& settings, const platform::SystemTime& start,
                      const platform::SystemTime& end);

private:
    QDateEdit* m_start;
    QDateEdit* m_end;
};

}  // namespace tempolatch
