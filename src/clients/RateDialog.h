#pragma once

#include <QDialog>

#include "store/Rate.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tempolatch {

namespace platform {
class Ui;
}

// One rate: its type, description and value, and when it was last saved
// ("<New>" for a rate never saved). OK checks the texts and keeps the
// dialog open on a missing description or a rate with letters in it.
class RateDialog : public QDialog {
    Q_OBJECT
public:
    // Bad input is told through ui.
    RateDialog(const Rate& rate, platform::Ui& ui, QWidget* parent = nullptr);

    // The rate with the dialog's values (after OK).
    Rate rate() const { return m_rate; }

    void accept() override;

    // "Monday, December 7, 2026 10:00:00 AM" in the user's locale.
    static QString lastModifiedText(platform::FileTime modified);

private:
    platform::Ui& m_ui;
    Rate m_rate;
    QComboBox* m_type;
    QLineEdit* m_description;
    QLineEdit* m_value;
    QLabel* m_modified;
};

}  // namespace tempolatch
