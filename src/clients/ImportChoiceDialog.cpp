#include "clients/ImportChoiceDialog.h"

#include "platform/StringTable.h"

namespace tempolatch {

ImportChoiceDialog::ImportChoiceDialog(QWidget* parent)
    : ChoiceDialog(QStringLiteral("Import"), QStringLiteral("Select the type to import:"),
                   {QStringLiteral("Clients"), QStringLiteral("Projects for a selected client"),
                    QStringLiteral("Tasks for a selected client or project"),
                    QStringLiteral("Contacts (Bill To) for a selected client"),
                    resourceString(str::ImportContactChoice),
                    QStringLiteral("Import a client structure file")},
                   parent) {
    setObjectName(QStringLiteral("importChoiceDialog"));
}

ExportChoiceDialog::ExportChoiceDialog(QWidget* parent)
    : ChoiceDialog(QStringLiteral("Export"), QString(),
                   {QStringLiteral("Export selected list to text file"),
                    QStringLiteral("Export client structure to file")},
                   parent) {
    setObjectName(QStringLiteral("exportChoiceDialog"));
}

}  // namespace tempolatch
