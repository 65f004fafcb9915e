#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace tempolatch {

class RecordStore;

// The drop lists of the filter sheets: "(All)" first, then the values a
// criterion may take. An empty criterion is "(All)".
namespace filterlists {

// An uneditable list named `name` (its object name), wide enough for names.
QComboBox* create(QWidget* parent, const char* name);
// Each helper leaves a missing list (nullptr) alone.
// "(All)" followed by the texts.
void setItems(QComboBox* box, const QStringList& texts);
// Shows a criterion. One that is not among the items (a name since
// removed, a project of another client) is added, so that OK keeps it.
void showText(QComboBox* box, const QString& text);
// The text of a choice past "(All)"; empty for "(All)".
QString chosenText(const QComboBox* box);
// "(All)" and every client, each with its client id as item data.
void fillClients(QComboBox* box, RecordStore& store);
// The projects and contacts of a client (0: those of no client), after
// "(All)".
void fillProjectsAndContacts(QComboBox* projects, QComboBox* contacts, RecordStore& store,
                             quint32 clientId);

}  // namespace filterlists
}  // namespace tempolatch
