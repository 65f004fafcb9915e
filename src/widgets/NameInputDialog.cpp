#include "widgets/NameInputDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tempolatch {

NameInputDialog::NameInputDialog(const QString& prompt, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)) {
    setObjectName(QStringLiteral("nameInputDialog"));
    // The title names what is asked for: the prompt without its colon.
    QString title = prompt.trimmed();
    if (title.endsWith(QLatin1Char(':')))
        title.chop(1);
    setWindowTitle(title);
    auto* label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("prompt"));
    label->setBuddy(m_edit);
    m_edit->setObjectName(QStringLiteral("name"));
    m_edit->setMaxLength(MaxLength);
    m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * 40);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString NameInputDialog::name() const {
    return m_edit->text();
}

QString NameInputDialog::ask(QWidget* parent, const QString& prompt) {
    NameInputDialog dialog(prompt, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.name() : QString();
}

}  // namespace tempolatch
