#include "clients/ImportChoiceDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/StringTable.h"

namespace tempolatch {

ImportChoiceDialog::ImportChoiceDialog(QWidget* parent)
    : QDialog(parent), m_group(new QButtonGroup(this)), m_note(new QLabel(this)) {
    setObjectName(QStringLiteral("importChoiceDialog"));
    setWindowTitle(QStringLiteral("Import"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select the type to import:"), this));

    const QString texts[ChoiceCount] = {QStringLiteral("Clients"),
                                        QStringLiteral("Projects for a selected client"),
                                        QStringLiteral("Tasks for a selected client or project"),
                                        QStringLiteral("Contacts (Bill To) for a selected client"),
                                        resourceString(str::ImportContactChoice),
                                        QStringLiteral("Import a client structure file")};
    for (int i = 0; i < ChoiceCount; ++i) {
        m_buttons[i] = new QRadioButton(texts[i], this);
        m_buttons[i]->setObjectName(QStringLiteral("choice%1").arg(i));
        m_group->addButton(m_buttons[i], i);
        layout->addWidget(m_buttons[i]);
    }
    m_buttons[0]->setChecked(true);

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

void ImportChoiceDialog::setAvailable(ImportChoice choice, bool available) {
    button(choice)->setEnabled(available);
    updateSelection();
}

void ImportChoiceDialog::setNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

void ImportChoiceDialog::updateSelection() {
    QAbstractButton* checked = m_group->checkedButton();
    if (!checked || !checked->isEnabled()) {
        for (QRadioButton* b : m_buttons) {
            if (b->isEnabled()) {
                b->setChecked(true);
                break;
            }
        }
    }
    // With nothing to choose, OK would only pretend to import.
    checked = m_group->checkedButton();
    m_ok->setEnabled(checked && checked->isEnabled());
}

ImportChoice ImportChoiceDialog::choice() const {
    return ImportChoice(qMax(0, m_group->checkedId()));
}

}  // namespace tempolatch
