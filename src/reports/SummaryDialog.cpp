#include "reports/SummaryDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>
#include <numeric>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "reports/CsvExport.h"
#include "settings/BarKind.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "widgets/CommandIds.h"
#include "widgets/DialogBar.h"
#include "widgets/SaveFileName.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

// Shares of the list's width, in percent, per column.
QList<int> columnShares(SummaryDialog::Kind kind) {
    if (kind == SummaryDialog::Kind::Client)
        return {43, 57};
    return {43, 34, 23};
}

QString titleOf(SummaryDialog::Kind kind) {
    switch (kind) {
        case SummaryDialog::Kind::Client:
            return QStringLiteral("Client Summary");
        case SummaryDialog::Kind::Quick:
            return resourceString(str::QuickSummaryTip);
        case SummaryDialog::Kind::ExpenseQuick:
            return QStringLiteral("Expense Quick Summary");
    }
    return {};
}

// Sorted in the locale's order, headed by "(All)".
void refill(QComboBox* combo, QStringList items) {
    combo->clear();
    std::sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return platform::Locale::compare(a, b) < 0;
    });
    items.prepend(resourceString(str::AllItems));
    combo->addItems(items);
    combo->setCurrentIndex(0);
}

}  // namespace

SummaryDialog::SummaryDialog(Kind kind, Context& context, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_context(context) {
    setWindowTitle(titleOf(kind));
    setSizeGripEnabled(true);

    const int columns = int(columnShares(kind).size());
    m_list = new QTableWidget(0, columns, this);
    m_list->setObjectName(QStringLiteral("summaryList"));
    m_list->horizontalHeader()->hide();
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(kind == Kind::Client);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setWordWrap(false);
    // The columns follow the list's own width: the dialog's size is set (or
    // restored) before its layout gives the list that width.
    m_list->viewport()->installEventFilter(this);

    m_bar = new DialogBar(dialogBarKind(context.settings), this);
    if (kind == Kind::Client)
        m_bar->addCommand(nullptr, cmd::New, QStringLiteral("New"));
    m_bar->addCommand(nullptr, cmd::ExportCsv, QStringLiteral("Export CSV"));
    connect(m_bar, &DialogBar::commandTriggered, this, &SummaryDialog::runCommand);
    m_bar->frame(this, m_list, QStringLiteral("reports"));
    resize(420, 480);
    keepWindowPlace(this, m_context.registry, QStringLiteral("Summary"));
}

void SummaryDialog::setRows(const SummaryRows& rows) {
    m_rows = rows;
    m_list->clearContents();
    m_list->setRowCount(int(rows.size()));
    const int columns = m_list->columnCount();
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem(rows[r].value(c));
            item->setTextAlignment(Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight));
            m_list->setItem(r, c, item);
        }
    }
    m_list->resizeRowsToContents();
    fitColumns();
}

void SummaryDialog::exportCsv() {
    const QString path = chooseCsvFile(m_context, this);
    if (path.isEmpty())
        return;
    bool ok = false;
    {
        WaitCursor wait;
        ok = exportSummaryCsv(m_rows, path, m_context.settings.csvFormulaGuard);
    }
    // Said rather than swallowed: the user would take a missing file for a
    // written one.
    if (!ok)
        m_context.ui.message(resourceString(str::ExportFailed), platform::MessageIcon::Stop, this);
    else
        m_context.ui.noticeDone(QStringLiteral("Summary written to"), path);
}

bool SummaryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return QDialog::eventFilter(watched, event);
}

void SummaryDialog::runCommand(int id) {
    if (id == cmd::ExportCsv)
        exportCsv();
    else if (id == cmd::New && m_onNew)
        m_onNew();
}

// Each column is as wide as its texts, and the width left over is shared
// out in the columns' shares; texts wider than the window scroll.
void SummaryDialog::fitColumns() {
    const QList<int> shares = columnShares(m_kind);
    const QAbstractItemView* view = m_list;  // where the texts' width is public
    QList<int> needed;
    for (int c = 0; c < shares.size(); ++c)
        needed.append(view->sizeHintForColumn(c));
    const int spare =
        std::max(0, m_list->viewport()->width() - std::accumulate(needed.begin(), needed.end(), 0));
    for (int c = 0; c < shares.size(); ++c)
        m_list->setColumnWidth(c, needed[c] + spare * shares[c] / 100);
}

QString chooseCsvFile(Context& context, QWidget* parent) {
    const QString filter = resourceString(str::CsvFilter);
    return chooseOutputFile(context.ui, filter, parent).path;
}

bool chooseClientSummary(Context& context, QWidget* parent, ClientSummaryChoice& choice) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Client Summary"));
    auto* client = new QComboBox(&dialog);
    auto* project = new QComboBox(&dialog);
    auto* task = new QComboBox(&dialog);
    client->setObjectName(QStringLiteral("client"));
    project->setObjectName(QStringLiteral("project"));
    task->setObjectName(QStringLiteral("task"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(resourceString(str::ClientLabel) + u':', client);
    form->addRow(resourceString(str::ProjectLabel) + u':', project);
    form->addRow(resourceString(str::TaskLabel) + u':', task);
    form->addRow(buttons);

    ClientStructure structure(context.store);
    const auto clientId = [&] { return client->currentData().toUInt(); };
    const auto refillTasks = [&] {
        const QString name = project->currentIndex() > 0 ? project->currentText() : QString();
        refill(task, name.isEmpty() ? structure.taskNames(clientId())
                                    : structure.projectTaskNames(clientId(), name));
    };
    const auto refillProjects = [&] {
        refill(project, structure.projectNames(clientId()));
        refillTasks();
    };
    for (const Client& c : structure.clientList())
        client->addItem(c.name, c.clientId);
    client->setCurrentIndex(client->count() > 0 ? 0 : -1);
    refillProjects();
    QObject::connect(client, &QComboBox::currentIndexChanged, &dialog, refillProjects);
    QObject::connect(project, &QComboBox::currentIndexChanged, &dialog,
                     [&](int) { refillTasks(); });

    const bool ok = dialog.exec() == QDialog::Accepted;
    choice = ClientSummaryChoice();
    if (ok) {
        choice.client = client->currentText();
        if (project->currentIndex() > 0)
            choice.project = project->currentText();
        if (task->currentIndex() > 0)
            choice.task = task->currentText();
    }
    return ok;
}

}  // namespace tempolatch
