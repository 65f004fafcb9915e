#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace tempolatch {

// Asks for the name of a new client, project, task or contact: the prompt
// ("Enter Client Name:"), one line of up to 128 characters, OK and Cancel.
class NameInputDialog : public QDialog {
    Q_OBJECT
public:
    // The longest name the line takes, unless the caller sets another limit.
    static constexpr int MaxLength = 128;

    explicit NameInputDialog(const QString& prompt, QWidget* parent = nullptr);

    QString name() const;
    QLineEdit* nameEdit() const { return m_edit; }

    // The name typed, or an empty text when the user cancelled.
    static QString ask(QWidget* parent, const QString& prompt);

private:
    QLineEdit* m_edit;
};

}  // namespace tempolatch
