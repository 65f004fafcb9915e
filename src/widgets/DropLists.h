#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

namespace tempolatch {

// The editable drop lists of the editors: a text the user may type or
// pick from the list.
namespace droplists {

// An editable list named `name` (its object name) that takes at most
// `maxLength` characters and adds nothing typed to its items.
QComboBox* createEditable(QWidget* parent, const QString& name, int maxLength,
                          const QStringList& items = {});
// Refills a list and puts its text back, as typed.
void refill(QComboBox* box, const QStringList& items);

}  // namespace droplists
}  // namespace tempolatch
