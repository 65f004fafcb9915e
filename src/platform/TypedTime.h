#pragma once

#include <QString>
#include <QTime>
#include <optional>

namespace tempolatch::platform {

// A time of day as people type it: "9" (nine o'clock), "930" and "9:30"
// (half past nine), "17.5" (hours with a fraction: half past five in the
// afternoon), "5:30 pm", or the locale's own short time. The time boxes
// and the quick entry line read times alike.
std::optional<QTime> parseTypedTime(const QString& text);

}  // namespace tempolatch::platform
