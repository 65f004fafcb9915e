#pragma once

#include <QDialog>
#include <array>

class QCheckBox;

namespace tempolatch {

class Settings;

// Bits of the tree list options (TreeOptions).
enum TreeOption : quint32 {
    TreeShowClient = 0x1,
    TreeShowProject = 0x2,
    TreeShowPhase = 0x4,
    TreeShowTimes = 0x8,
    TreeShowAmount = 0x10,
};

// "Customize Tree List": which levels and details the tree list shows.
class TreeListOptions : public QDialog {
    Q_OBJECT

public:
    TreeListOptions(Settings& settings, QWidget* parent = nullptr);

    static bool run(Settings& settings, QWidget* parent);

    void accept() override;

private:
    Settings& m_settings;
    std::array<QCheckBox*, 5> m_boxes = {};
};

}  // namespace tempolatch
