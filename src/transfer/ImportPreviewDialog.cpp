#include "transfer/ImportPreviewDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/FileTime.h"

namespace tempolatch {

namespace {

QString summaryText(const ImportPlan& plan) {
    QString text = importPreview(plan, 0);
    text = text.left(text.indexOf(QLatin1Char('\n')));
    if (!plan.newClients.isEmpty())
        text += QStringLiteral("\nNew clients: ") + plan.newClients.join(QStringLiteral(", "));
    if (!plan.newProjects.isEmpty())
        text += QStringLiteral("\nNew projects: ") + plan.newProjects.join(QStringLiteral(", "));
    if (!plan.canImport())
        text += QStringLiteral(
            "\n\nNothing can be imported until every row is read: correct "
            "the rows below in the file, or export it again.");
    return text;
}

QStringList rowCells(const ImportedRow& row) {
    const TimeEntry& e = row.entry;
    const auto start = platform::toSystemTime(e.date);
    return {QString::number(row.line),
            start ? start->timestampText().left(16) : QString(),
            QString::number(e.duration / 100.0, 'f', 2),
            e.client,
            e.project,
            e.task,
            statusName(e.status),
            row.note.section(QLatin1Char('\n'), 0, 0)};
}

QTableWidget* entryTable(const ImportPlan& plan, QWidget* parent) {
    const QStringList headers{QStringLiteral("Line"),    QStringLiteral("Start"),
                              QStringLiteral("Hours"),   QStringLiteral("Client"),
                              QStringLiteral("Project"), QStringLiteral("Task"),
                              QStringLiteral("Status"),  QStringLiteral("Note")};
    const int rows = int(std::min<qsizetype>(plan.toAdd.size(), ImportPreviewDialog::ShownRows));
    auto* table = new QTableWidget(rows, int(headers.size()), parent);
    table->setObjectName(QStringLiteral("importEntries"));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int r = 0; r < rows; ++r) {
        const QStringList cells = rowCells(plan.toAdd.at(r));
        for (int c = 0; c < cells.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// The notices or the problems, a line each; nothing when there are none.
void addLineList(const QList<ImportProblem>& lines, const QString& name, QVBoxLayout* layout) {
    if (lines.isEmpty())
        return;
    auto* list = new QListWidget(layout->parentWidget());
    list->setObjectName(name);
    // Reasons are sentences: wrapped, not cut at the edge.
    list->setWordWrap(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const ImportProblem& line : lines)
        list->addItem(importLineText(line));
    layout->addWidget(list, 1);
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(const ImportPlan& plan, const QString& fileName,
                                         QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Import Time Entries - %1").arg(fileName));
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(summaryText(plan), this);
    summary->setObjectName(QStringLiteral("importSummary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);
    if (!plan.toAdd.isEmpty())
        layout->addWidget(entryTable(plan, this), 1);
    addLineList(plan.notices, QStringLiteral("importNotices"), layout);
    addLineList(plan.problems, QStringLiteral("importProblems"), layout);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* import =
        buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("importButton"));
    import->setEnabled(plan.canImport() && !plan.toAdd.isEmpty());
    if (import->isEnabled())
        import->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 420);
}

}  // namespace tempolatch
