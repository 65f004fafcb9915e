#include "reports/ReportLayoutDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "widgets/HelpWindow.h"
#include "widgets/NameInputDialog.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

constexpr int kReportExists = 78;
constexpr int kNoSavedReport = 168;
constexpr int kEnterReportName = 169;
constexpr int kMaxReportName = 64;

const char* const kKindTitles[] = {"Group By Report", "Tabular Report", "Invoice",
                                   "General Expense Report", "Mileage Expense Report"};

// The saved reports a dialog of `kind` offers: the time reports' for the
// time kinds, only its own type's for an expense kind.
QList<SavedReport> offeredReports(SavedReports& reports, int kind) {
    return ReportLayout::isExpenseType(kind)
               ? reports.list(kind, kind)
               : reports.list(ReportLayout::GroupBy, ReportLayout::Invoice);
}

}  // namespace

ReportLayoutDialog::ReportLayoutDialog(Context& context, int kind, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_reports(context.store),
      m_session(kind, context.settings, m_reports) {
    setObjectName(QStringLiteral("reportLayoutDialog"));
    setWindowTitle(QString::fromLatin1(kKindTitles[qBound(0, kind, 4)]));
    const bool expenses = ReportLayout::isExpenseType(kind);
    auto* box = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    QMenu* load = bar->addMenu(QStringLiteral("&Load"));
    load->addAction(QStringLiteral("&Default"), this, &ReportLayoutDialog::loadDefault);
    load->addAction(QStringLiteral("&Custom..."), this, &ReportLayoutDialog::loadCustom);
    QMenu* reports = bar->addMenu(QStringLiteral("&Reports"));
    reports->addAction(QStringLiteral("&Organize Reports..."), this,
                       &ReportLayoutDialog::organizeReports);
    reports->addAction(QStringLiteral("&Save..."), this, &ReportLayoutDialog::save);
    m_setDefault = reports->addAction(QStringLiteral("Set As &Default"), this,
                                      &ReportLayoutDialog::toggleDefault);
    m_setDefault->setCheckable(true);
    QMenu* field = bar->addMenu(QStringLiteral("&Field"));
    m_moveUp = field->addAction(QStringLiteral("Move &Up"), this, &ReportLayoutDialog::moveUp);
    m_moveDown =
        field->addAction(QStringLiteral("Move &Down"), this, &ReportLayoutDialog::moveDown);
    box->setMenuBar(bar);
    // Without soft keys the two moves are also buttons beside the list; the
    // expense reports' dialog always has them in its menu only.
    if (!context.settings.hasFlag(SoftKeyMenus) && !expenses) {
        auto* tools = new QToolBar(this);
        tools->addAction(m_moveUp);
        tools->addAction(m_moveDown);
        box->addWidget(tools);
    }

    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QStringLiteral("layoutList"));
    m_list->horizontalHeader()->hide();
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    box->addWidget(m_list);
    connect(m_list, &QTableWidget::currentCellChanged, this, [this] { updateActions(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [expenses] {
        HelpWindow::showTopic(expenses ? QStringLiteral("expensereports")
                                       : QStringLiteral("reports"));
    });
    box->addWidget(buttons);

    m_session.layout().completeFieldOrder();
    fillList();
    resize(420, 560);
    keepWindowPlace(this, m_context.registry, QStringLiteral("ReportLayout"));
}

ReportLayoutDialog::~ReportLayoutDialog() = default;

void ReportLayoutDialog::fillList() {
    m_rows = layoutRows(m_session.layout(), m_session.kind());
    m_list->clearContents();
    m_list->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const LayoutRow& row = m_rows[r];
        auto* label = new QTableWidgetItem(row.label);
        label->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (row.kind == LayoutRow::Section) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
        if (!row.enabled)
            label->setFlags(Qt::NoItemFlags);
        m_list->setItem(r, 0, label);
        if (!row.hasValue())
            continue;
        if (row.isChoice()) {
            auto* combo = new QComboBox(m_list);
            combo->addItems(row.choices());
            combo->setCurrentIndex(row.choice);
            combo->setEnabled(row.enabled);
            m_list->setCellWidget(r, 1, combo);
        } else {
            auto* value = new QTableWidgetItem(row.text);
            value->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
            m_list->setItem(r, 1, value);
        }
    }
    updateActions();
}

void ReportLayoutDialog::readRows() {
    for (int r = 0; r < m_rows.size(); ++r) {
        LayoutRow& row = m_rows[r];
        if (!row.hasValue())
            continue;
        if (auto* combo = qobject_cast<QComboBox*>(m_list->cellWidget(r, 1)))
            row.choice = combo->currentIndex();
        else if (QTableWidgetItem* item = m_list->item(r, 1))
            row.text = item->text();
    }
}

ReportLayout ReportLayoutDialog::layout() {
    readRows();
    collectLayout(m_rows, m_session.layout());
    return m_session.layout();
}

void ReportLayoutDialog::updateActions() {
    const int row = m_list->currentRow();
    m_moveUp->setEnabled(canMoveUp(m_rows, row));
    m_moveDown->setEnabled(canMoveDown(m_rows, row));
    m_setDefault->setEnabled(m_session.canSetDefault());
    m_setDefault->setChecked(m_session.isDefault());
}

void ReportLayoutDialog::moveRow(int from, int to) {
    readRows();
    m_rows.swapItemsAt(from, to);
    collectLayout(m_rows, m_session.layout());
    fillList();
    m_list->setCurrentCell(to, 0);
}

void ReportLayoutDialog::moveUp() {
    const int row = m_list->currentRow();
    if (canMoveUp(m_rows, row))
        moveRow(row, row - 1);
}

void ReportLayoutDialog::moveDown() {
    const int row = m_list->currentRow();
    if (canMoveDown(m_rows, row))
        moveRow(row, row + 1);
}

void ReportLayoutDialog::loadDefault() {
    m_session.loadDefault();
    fillList();
}

void ReportLayoutDialog::loadCustom() {
    const quint32 id = chooseSavedReport(m_context, m_reports, m_session.kind(), this);
    if (id != 0 && m_session.loadSaved(id))
        fillList();
}

void ReportLayoutDialog::organizeReports() {
    runOrganizeReports(m_context, m_reports, m_session.kind(), this);
    m_session.reloadName();
    updateActions();
}

void ReportLayoutDialog::save() {
    if (!m_reports.isAvailable())
        return;
    layout();
    QString name = m_session.currentName();
    for (;;) {
        NameInputDialog input(resourceString(kEnterReportName), this);
        input.nameEdit()->setMaxLength(kMaxReportName);
        input.nameEdit()->setText(name);
        if (input.exec() != QDialog::Accepted || input.name().isEmpty())
            return;
        name = input.name();
        const auto result = m_session.save(name, [&] {
            return m_context.ui.ask(resourceString(kReportExists), platform::MessageIcon::Question,
                                    platform::Ui::Buttons::YesNo, platform::Answer::No,
                                    this) == platform::Answer::Yes;
        });
        if (result != LayoutSession::SaveResult::NameTaken)
            break;
    }
    updateActions();
}

void ReportLayoutDialog::toggleDefault() {
    m_session.toggleDefault();
    updateActions();
}

void ReportLayoutDialog::accept() {
    layout();
    m_context.settings.save(m_context.registry);
    QDialog::accept();
}

quint32 chooseSavedReport(Context& context, SavedReports& reports, int kind, QWidget* parent) {
    const QList<SavedReport> saved = offeredReports(reports, kind);
    if (saved.isEmpty()) {
        context.ui.message(resourceString(kNoSavedReport), platform::MessageIcon::Information,
                           parent);
        return 0;
    }
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("loadReportDialog"));
    dialog.setWindowTitle(QStringLiteral("Load Report"));
    auto* box = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    for (const SavedReport& report : saved) {
        auto* item = new QListWidgetItem(report.name, list);
        item->setData(Qt::UserRole, report.recordId);
    }
    list->setCurrentRow(0);
    box->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    box->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return 0;
    return list->currentItem()->data(Qt::UserRole).toUInt();
}

void runOrganizeReports(Context& context, SavedReports& reports, int kind, QWidget* parent) {
    if (!reports.isAvailable())
        return;
    const QList<SavedReport> saved = offeredReports(reports, kind);
    if (saved.isEmpty()) {
        context.ui.message(resourceString(kNoSavedReport), platform::MessageIcon::Information,
                           parent);
        return;
    }
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("organizeReportsDialog"));
    dialog.setWindowTitle(QStringLiteral("Organize Reports"));
    auto* box = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("reportList"));
    constexpr int kStoredName = Qt::UserRole + 1;
    for (const SavedReport& report : saved) {
        auto* item = new QListWidgetItem(report.name, list);
        item->setData(Qt::UserRole, report.recordId);
        item->setData(kStoredName, report.name);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setCurrentRow(0);
    box->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QPushButton* remove =
        buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole);
    QPushButton* rename =
        buttons->addButton(QStringLiteral("Rename"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("deleteButton"));
    rename->setObjectName(QStringLiteral("renameButton"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
        if (QListWidgetItem* item = list->currentItem())
            if (reports.remove(item->data(Qt::UserRole).toUInt()))
                delete item;
    });
    QObject::connect(rename, &QPushButton::clicked, &dialog, [&] {
        if (QListWidgetItem* item = list->currentItem())
            list->editItem(item);
    });
    QObject::connect(list, &QListWidget::itemChanged, &dialog, [&](QListWidgetItem* item) {
        const QString stored = item->data(kStoredName).toString();
        const QString name = item->text().left(kMaxReportName);
        if (name == stored)
            return;
        const quint32 id = item->data(Qt::UserRole).toUInt();
        // A name another report has would make two reports of one name.
        const quint32 holder = reports.find(name);
        if (name.isEmpty() || (holder != 0 && holder != id) || !reports.rename(id, name)) {
            item->setText(stored);  // the list shows what is stored
            return;
        }
        renameDefaultReport(context.settings, stored, name);
        item->setData(kStoredName, name);
        item->setText(name);
    });
    box->addWidget(buttons);
    dialog.exec();
}

}  // namespace tempolatch
