#include "widgets/DatePicker.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>
#include <QLayout>
#include <QPainter>

#include "platform/Locale.h"

namespace tempolatch {

namespace {

// A line in the palette's dark colour around the pop-up, drawn before the
// calendar inside it.
class PopupFrame : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* popup = static_cast<QWidget*>(watched);
            QPainter painter(popup);
            painter.setPen(popup->palette().color(QPalette::Dark));
            painter.drawRect(popup->rect().adjusted(0, 0, -1, -1));
        }
        return false;
    }
};

}  // namespace

QDateEdit* createDatePicker(const QString& objectName, QWidget* parent) {
    auto* edit = new DateBox(parent);
    edit->setObjectName(objectName);
    useFramedCalendar(edit);
    edit->setDisplayFormat(platform::Locale::shortDateFormat());
    edit->setMinimumDate(QDate(1601, 1, 1));
    return edit;
}

void useFramedCalendar(QDateEdit* edit) {
    edit->setCalendarPopup(true);
    QWidget* popup = edit->calendarWidget() ? edit->calendarWidget()->parentWidget() : nullptr;
    if (!popup || popup == edit || popup->property("framed").toBool())
        return;
    popup->setProperty("framed", true);
    if (QLayout* layout = popup->layout())
        layout->setContentsMargins(1, 1, 1, 1);
    popup->installEventFilter(new PopupFrame(popup));
}

}  // namespace tempolatch
