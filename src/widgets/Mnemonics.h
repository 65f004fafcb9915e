#pragma once

#include <QString>

class QMenu;

namespace tempolatch::mnemonics {

// Menu texts carry their mnemonic as "&" before a letter ("&View" opens
// with Alt+V); "&&" is an ampersand shown as such.

// Gives every item of `menu` that has no mnemonic one that no other item
// of the menu has, the first letter of a word when it is free, and does
// the same in each submenu. Items that have one keep it.
void assign(QMenu* menu);

// `text` with a mnemonic that is not in `taken` (upper-case letters), which
// receives it; a text that has one keeps it.
QString withMnemonic(const QString& text, QString& taken);

// A text shown as it stands (a user's name with "&" in it): "&" doubled.
QString literal(const QString& text);
// The text as the user reads it, without the marker.
QString plain(const QString& text);
// The marked character, upper case; a null QChar when there is none.
QChar of(const QString& text);

}  // namespace tempolatch::mnemonics
