#pragma once

#include <QIcon>

namespace tempolatch {

// The desktop's own icon for a command where one fits (Undo, Delete,
// Help...): from the icon theme, else the style's standard pixmap; a null
// icon for the others.
QIcon commandIcon(int id);

}  // namespace tempolatch
