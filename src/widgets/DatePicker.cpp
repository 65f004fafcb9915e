#include "widgets/DatePicker.h"

#include <QDateEdit>

#include "platform/Locale.h"

namespace tempolatch {

QDateEdit* createDatePicker(const QString& objectName, QWidget* parent) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(objectName);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(platform::Locale::shortDateFormat());
    edit->setMinimumDate(QDate(1601, 1, 1));
    return edit;
}

}  // namespace tempolatch
