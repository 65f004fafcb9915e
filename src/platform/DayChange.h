#pragma once

#include <QDate>

#include "platform/FileTime.h"

namespace tempolatch::platform {

// `time` moved to `day`, its time of day kept; the day of the week follows
// the day. The day must be valid.
SystemTime onDay(SystemTime time, const QDate& day);

}  // namespace tempolatch::platform
