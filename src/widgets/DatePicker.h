#pragma once

#include <QString>

class QDateEdit;
class QWidget;

namespace tempolatch {

// A date picker as every dialog shows one: the locale's short date, a
// calendar to drop down, no day before the store's first.
QDateEdit* createDatePicker(const QString& objectName, QWidget* parent);

// Gives the date box its calendar to drop down, in a frame that sets it
// off from the window under it.
void useFramedCalendar(QDateEdit* edit);

}  // namespace tempolatch
