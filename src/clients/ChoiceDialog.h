#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tempolatch {

// A titled dialog of radio choices with OK and Cancel. Choices the caller
// marks unavailable are greyed, with the reason shown under them; the
// first available choice starts selected, and OK is greyed when none is.
class ChoiceDialog : public QDialog {
    Q_OBJECT
public:
    ChoiceDialog(const QString& title, const QString& prompt, const QStringList& choices,
                 QWidget* parent = nullptr);

    void setAvailable(int choice, bool available);
    // Shown under the choices while some are greyed.
    void setNote(const QString& note);

    int checkedChoice() const;
    QRadioButton* buttonAt(int choice) const { return m_buttons.at(choice); }

private:
    void updateSelection();

    QList<QRadioButton*> m_buttons;
    QButtonGroup* m_group;
    QLabel* m_note;
    QPushButton* m_ok = nullptr;
};

}  // namespace tempolatch
