#pragma once

#include <QDialog>
#include <array>

#include "views/ViewCustomization.h"

class QCheckBox;

namespace tempolatch {

class Settings;

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
