#pragma once

#include <QDialog>
#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tempolatch {

// What the clients setup can import, in the order the choice dialog offers.
enum class ImportChoice {
    Clients = 0,
    Projects = 1,
    Tasks = 2,
    Contacts = 3,
    ContactFromApplication = 4,
    StructureFile = 5,
};

// "Select the type to import:" with its six choices. Choices the caller
// marks unavailable are greyed, with the reason shown under them; the
// first available choice starts selected.
class ImportChoiceDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ChoiceCount = 6;

    explicit ImportChoiceDialog(QWidget* parent = nullptr);

    void setAvailable(ImportChoice choice, bool available);
    // Shown under the choices while some are greyed.
    void setNote(const QString& note);

    ImportChoice choice() const;
    QRadioButton* button(ImportChoice choice) const { return m_buttons[int(choice)]; }

private:
    void updateSelection();

    std::array<QRadioButton*, ChoiceCount> m_buttons{};
    QButtonGroup* m_group;
    QLabel* m_note;
    QPushButton* m_ok = nullptr;
};

}  // namespace tempolatch
