#include "clients/ChoiceDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tempolatch {

ChoiceDialog::ChoiceDialog(const QString& title, const QString& prompt, const QStringList& choices,
                           QWidget* parent)
    : QDialog(parent), m_group(new QButtonGroup(this)), m_note(new QLabel(this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    if (!prompt.isEmpty())
        layout->addWidget(new QLabel(prompt, this));
    for (int i = 0; i < choices.size(); ++i) {
        auto* button = new QRadioButton(choices.at(i), this);
        button->setObjectName(QStringLiteral("choice%1").arg(i));
        m_group->addButton(button, i);
        layout->addWidget(button);
        m_buttons.append(button);
    }
    if (!m_buttons.isEmpty())
        m_buttons.first()->setChecked(true);

    m_note->setObjectName(QStringLiteral("note"));
    m_note->setWordWrap(true);
    m_note->setEnabled(false);
    m_note->hide();
    layout->addWidget(m_note);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ChoiceDialog::setAvailable(int choice, bool available) {
    buttonAt(choice)->setEnabled(available);
    updateSelection();
}

void ChoiceDialog::setNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

void ChoiceDialog::updateSelection() {
    QAbstractButton* checked = m_group->checkedButton();
    if (!checked || !checked->isEnabled()) {
        for (QRadioButton* b : m_buttons) {
            if (b->isEnabled()) {
                b->setChecked(true);
                break;
            }
        }
    }
    // With nothing to choose, OK would only pretend to go on.
    checked = m_group->checkedButton();
    m_ok->setEnabled(checked && checked->isEnabled());
}

int ChoiceDialog::checkedChoice() const {
    return qMax(0, m_group->checkedId());
}

}  // namespace tempolatch
