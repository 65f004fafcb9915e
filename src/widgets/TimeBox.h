#pragma once

#include <QLineEdit>
#include <QTime>
#include <optional>

namespace tempolatch {

// A time of day as people type it: "9" (nine o'clock), "930" and "9:30"
// (half past nine), "17.5" (hours with a fraction: half past five in the
// afternoon), "5:30 pm", or the locale's own short time. Once the box is
// left a time it could read is shown in the locale's format.
class TimeBox : public QLineEdit {
public:
    explicit TimeBox(QWidget* parent = nullptr);

    // The time shown; nullopt while the text is not one.
    std::optional<QTime> time() const { return parse(text()); }
    void setTime(const QTime& time);

    static std::optional<QTime> parse(const QString& text);

private:
    void tidy();
};

}  // namespace tempolatch
