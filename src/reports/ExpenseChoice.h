#pragma once

#include <functional>
#include <limits>

#include "platform/FileTime.h"

namespace tempolatch {

class ExpenseEntry;

// Which expenses an export or report takes: those dated from `from` to `to`
// (both included) that `matches` accepts (an empty one accepts all). The
// expense window's criteria come down to this, as do the command line's.
using ExpenseMatch = std::function<bool(const ExpenseEntry&)>;
struct ExpenseChoice {
    platform::FileTime from{1};
    platform::FileTime to{std::numeric_limits<quint64>::max()};
    ExpenseMatch matches;
};

}  // namespace tempolatch
