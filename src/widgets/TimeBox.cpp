#include "widgets/TimeBox.h"

#include "platform/Locale.h"
#include "platform/TypedTime.h"

namespace tempolatch {

TimeBox::TimeBox(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("9:30"));
    connect(this, &QLineEdit::editingFinished, this, &TimeBox::tidy);
}

void TimeBox::setTime(const QTime& time) {
    setText(time.toString(platform::Locale::timeFormatWithoutSeconds()));
}

void TimeBox::tidy() {
    if (const std::optional<QTime> shown = time())
        setTime(*shown);
}

std::optional<QTime> TimeBox::parse(const QString& text) {
    return platform::parseTypedTime(text);
}

}  // namespace tempolatch
