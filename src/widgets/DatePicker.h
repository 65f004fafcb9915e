#pragma once

#include <QDateEdit>
#include <QString>

class QWidget;

namespace tempolatch {

// A date box that Tab leaves in one step, as every other field; the day,
// month and year are moved between with the cursor keys.
class DateBox : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

// A date picker as every dialog shows one: the locale's short date, a
// calendar to drop down, no day before the store's first.
QDateEdit* createDatePicker(const QString& objectName, QWidget* parent);

// Gives the date box its calendar to drop down, in a frame that sets it
// off from the window under it.
void useFramedCalendar(QDateEdit* edit);

}  // namespace tempolatch
