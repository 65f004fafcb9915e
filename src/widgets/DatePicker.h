#pragma once

#include <QString>

class QDateEdit;
class QWidget;

namespace tempolatch {

// A date picker as every dialog shows one: the locale's short date, a
// calendar to drop down, no day before the store's first.
QDateEdit* createDatePicker(const QString& objectName, QWidget* parent);

}  // namespace tempolatch
