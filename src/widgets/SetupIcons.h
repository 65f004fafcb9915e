#pragma once

#include <QIcon>

namespace tempolatch {

// The images of the clients tree, one per item kind (ClientItemKind: 0 a
// client, 1 a project, 2 a task, 3 a contact, 4 a group).
QIcon clientTreeIcon(int kind);
// The images of a rate tree (the rates setup's and the billing page's):
// 0 a group, 1 + RateType a rate (rateItemImage).
QIcon rateTreeIcon(int image);

}  // namespace tempolatch
