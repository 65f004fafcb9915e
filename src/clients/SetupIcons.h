#pragma once

#include <QIcon>

#include "clients/ClientTreeRules.h"

namespace tempolatch {

// The images of the clients tree, one per item kind.
QIcon clientTreeIcon(ClientItemKind kind);
// The images of a rate tree (the rates setup's and the billing page's):
// 0 a group, 1 + RateType a rate (rateItemImage).
QIcon rateTreeIcon(int image);

}  // namespace tempolatch
