#pragma once

#include "clients/ChoiceDialog.h"

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

// "Select the type to import:" with its six choices.
class ImportChoiceDialog : public ChoiceDialog {
    Q_OBJECT
public:
    static constexpr int ChoiceCount = 6;

    explicit ImportChoiceDialog(QWidget* parent = nullptr);

    void setAvailable(ImportChoice choice, bool available) {
        ChoiceDialog::setAvailable(int(choice), available);
    }
    ImportChoice choice() const { return ImportChoice(checkedChoice()); }
    QRadioButton* button(ImportChoice choice) const { return buttonAt(int(choice)); }
};

// What the clients setup can export, in the order the "Export" dialog offers.
enum class ExportChoice { List = 0, StructureFile = 1 };

class ExportChoiceDialog : public ChoiceDialog {
    Q_OBJECT
public:
    explicit ExportChoiceDialog(QWidget* parent = nullptr);

    void setAvailable(ExportChoice choice, bool available) {
        ChoiceDialog::setAvailable(int(choice), available);
    }
    ExportChoice choice() const { return ExportChoice(checkedChoice()); }
    QRadioButton* button(ExportChoice choice) const { return buttonAt(int(choice)); }
};

}  // namespace tempolatch
