#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;

namespace tempolatch {

class Settings;
class SwatchPicker;

// The "Customize Default View" sheet: the "Display" page (entry time mode,
// client name line, status icon) and the "Colour" page (text colour per
// status). OK writes the choices into the settings' ViewCust.
class CustomizeDefaultView : public QDialog {
    Q_OBJECT

public:
    CustomizeDefaultView(Settings& settings, QWidget* parent = nullptr);

    // Runs the sheet; true when it was accepted.
    static bool run(Settings& settings, QWidget* parent);

    void accept() override;

private:
    QWidget* createDisplayPage();
    QWidget* createColourPage();

    Settings& m_settings;
    QComboBox* m_entryTime = nullptr;
    QCheckBox* m_clientName = nullptr;
    QCheckBox* m_statusIcon = nullptr;
    std::array<SwatchPicker*, 4> m_colours = {};
};

}  // namespace tempolatch
