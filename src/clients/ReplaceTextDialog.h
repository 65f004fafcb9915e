#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace tempolatch {

struct Context;

// Replace Field Text: one value of a field, chosen from the values the
// client structure and drop lists hold, given a new text in the structure,
// the drop lists and every time entry. OK asks first, then replaces under
// a progress bar and closes; the work itself is replaceFieldText().
class ReplaceTextDialog : public QDialog {
    Q_OBJECT
public:
    ReplaceTextDialog(Context& context, QWidget* parent = nullptr);

    // The entries the replacement changed, once accepted.
    int entriesChanged() const { return m_entriesChanged; }

    void accept() override;

private:
    void fillFind();

    Context& m_context;
    QComboBox* m_type;
    QComboBox* m_find;
    QLineEdit* m_replace;
    int m_entriesChanged = 0;
};

// Runs the dialog over `parent`; true when it replaced (the view reloads).
bool runReplaceFieldText(Context& context, QWidget* parent);

}  // namespace tempolatch
