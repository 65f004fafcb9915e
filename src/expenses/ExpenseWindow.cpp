#include "expenses/ExpenseWindow.h"

#include <QActionGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "editing/CopyEntryDialog.h"
#include "editing/EntryChangeCommands.h"
#include "expenses/ExpenseActions.h"
#include "expenses/ExpenseEditor.h"
#include "expenses/ExpenseFilterSheet.h"
#include "expenses/ExpenseRows.h"
#include "expenses/ExpenseSummary.h"
#include "notes/NoteContent.h"
#include "notes/NoteData.h"
#include "notes/NoteFiles.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/ExpenseFilter.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "views/DefaultEntryList.h"
#include "views/EntryListWidget.h"
#include "views/EntryRowModel.h"
#include "views/NavigationBar.h"
#include "views/PeriodView.h"
#include "views/SearchBox.h"
#include "views/SimpleEntryList.h"
#include "views/ViewIds.h"
#include "widgets/CommandIcons.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandKeys.h"
#include "widgets/EntryContextMenu.h"
#include "widgets/HelpWindow.h"
#include "widgets/Mnemonics.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

ExpenseWindow::ExpenseWindow(Context& context, const QFont& listFont, const QFont& captionFont,
                             QWidget* parent, ExpenseFilter* filter, UndoHistory* history)
    : QDialog(parent),
      m_context(context),
      m_listFont(listFont),
      m_captionFont(captionFont),
      m_ownHistory(history ? nullptr : std::make_unique<UndoHistory>()),
      m_undo(context, history ? *history : *m_ownHistory, UndoRecords::Expenses, this),
      m_ownFilter(filter ? nullptr : std::make_unique<ExpenseFilter>()),
      m_filter(filter ? *filter : *m_ownFilter) {
    setObjectName(QStringLiteral("expenseWindow"));
    setWindowTitle(QStringLiteral("Expenses"));
    setSizeGripEnabled(true);
    registerCommands();
    addKeys();
    buildMenus();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);
    m_viewArea = new QWidget(this);
    auto* area = new QVBoxLayout(m_viewArea);
    area->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_viewArea, 1);
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("expenseTotals"));
    layout->addWidget(m_totals);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // The search box above the list, with the words of the last opening.
    m_search = new SearchBox(m_viewArea);
    m_search->setText(m_filter.search.text());
    area->addWidget(m_search);
    connect(m_search, &SearchBox::searchChanged, this, [this](const QString& words) {
        m_filter.search = SearchWords(words);
        reload(0, 0);
    });
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, m_search, &SearchBox::focusForTyping);

    m_records = std::make_unique<ExpenseRecords>(m_filter, context.settings, context.store);
    createList();
    resize(640, 520);
    keepWindowPlace(this, m_context.registry, QStringLiteral("Expenses"));
}

ExpenseWindow::~ExpenseWindow() {
    delete m_bar;
    m_bar = nullptr;
    m_view.reset();
    if (m_list)
        delete m_list->widget();
}

void ExpenseWindow::addKeys() {
    // The main window's keys, for the same commands here.
    using K = QKeySequence;
    addCommandKeys(
        m_commands,
        {{cmd::NewGeneralExpense, {K(Qt::CTRL | Qt::Key_N)}, "New general expense"},
         {cmd::Edit, {K(Qt::Key_F2)}, "Edit the selected expense"},
         {cmd::Delete, {K(K::Delete)}, "Delete the selected expenses (asks first)"},
         {cmd::FilterCustom, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}, "Filter the expenses shown"},
         {0, {K(Qt::CTRL | Qt::Key_F)}, "Search the shown period"}});
    addUndoAndHelpKeys(m_commands);
    addPeriodKeys(m_commands);
    installCommandKeys(this, m_commands, [this](int id) { onCommand(id); });
}

void ExpenseWindow::registerCommands() {
    m_undo.addCommand(cmd::NewMileageExpense, UndoAction::Edit);
    m_undo.addCommand(cmd::NewGeneralExpense, UndoAction::Edit);
    m_undo.registerCommands(m_commands, [this] { reload(0, 0); });
    m_commands.add(cmd::HelpContents,
                   [](int) { HelpWindow::showTopic(QStringLiteral("expenses")); });
    m_commands.add(cmd::NewMileageExpense, [this](int) { newExpense(int(ExpenseType::Mileage)); });
    m_commands.add(cmd::NewGeneralExpense, [this](int) { newExpense(int(ExpenseType::General)); });
    m_commands.add({cmd::EditSelected, cmd::Edit},
                   [this](int) { edit(ExpenseEditor::GeneralPage); });
    m_commands.add(cmd::EditNote, [this](int) { edit(ExpenseEditor::NotePage); });
    m_commands.add(cmd::Preview, [this](int) { preview(); });
    m_commands.add(cmd::CreateCopy, [this](int) { createCopy(); });
    m_commands.add(cmd::Copy, [this](int) { copyToDays(); });
    m_commands.add({cmd::MarkBilledEntries, cmd::MarkPaidEntries},
                   [this](int id) { markChosen(id); });
    m_commands.add(cmd::ExportNote, [this](int) { exportNote(); });
    m_commands.add({cmd::MarkAsBilled, cmd::MarkAsPaid}, [this](int id) { mark(id); });
    m_commands.add(cmd::Delete, [this](int) { deleteSelected(); });
    m_commands.add({cmd::PeriodDay, cmd::PeriodWeek, cmd::PeriodMonth},
                   [this](int id) { setPeriodType(id - cmd::PeriodBase); });
    m_commands.add({cmd::ListStyleDefault, cmd::ListStyleSimple},
                   [this](int id) { setListStyle(id - cmd::ListStyleBase); });
    m_commands.add({cmd::ArrangeDefault, cmd::ArrangeClient, cmd::ArrangeProject, cmd::ArrangePhase,
                    cmd::ArrangeBillTo, cmd::ArrangeCustom1, cmd::ArrangeCustom2},
                   [this](int id) { setArrangeBy(id - cmd::ArrangeDefault); });
    m_commands.add(cmd::FilterShowAll, [this](int) {
        m_filter.showAll();
        filterChanged();
    });
    m_commands.add(cmd::FilterUnpaidOnly, [this](int) {
        m_filter.showUnpaidOnly();
        filterChanged();
    });
    m_commands.add(cmd::FilterCustom, [this](int) { filterCustom(); });
    m_commands.add({cmd::PreviousPeriod, cmd::NextPeriod, cmd::GotoToday}, [this](int id) {
        if (m_bar)
            m_bar->runCommand(id);
    });
}

QAction* ExpenseWindow::addCommand(QMenu* menu, int id, const QString& text, bool radio) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    action->setEnabled(m_commands.has(id));
    action->setCheckable(radio);
    action->setIcon(commandIcon(id));
    showCommandKeys(action, m_commands, id);
    connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
    m_actions.insert(id, action);
    return action;
}

void ExpenseWindow::buildMenus() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("expenseMenuBar"));
    QMenu* newMenu = m_menuBar->addMenu(QStringLiteral("&New"));
    newMenu->setObjectName(QStringLiteral("newMenu"));
    addCommand(newMenu, cmd::NewMileageExpense, QStringLiteral("Mileage Expense..."));
    addCommand(newMenu, cmd::NewGeneralExpense, QStringLiteral("General Expense..."));

    QMenu* edit = m_menuBar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    connect(edit, &QMenu::aboutToShow, this, &ExpenseWindow::updateUndoItems);
    addCommand(edit, cmd::Undo, QStringLiteral("Undo"));
    addCommand(edit, cmd::Redo, QStringLiteral("Redo"));

    QMenu* menu = m_menuBar->addMenu(QStringLiteral("&Menu"));
    menu->setObjectName(QStringLiteral("menu"));
    connect(menu, &QMenu::aboutToShow, this, &ExpenseWindow::prepareMenu);
    addCommand(menu, cmd::Edit, resourceString(cmd::Edit));
    addCommand(menu, cmd::Preview, resourceString(cmd::Preview));
    menu->addSeparator();
    auto radios = [this, menu](std::initializer_list<std::pair<int, const char*>> items) {
        auto* group = new QActionGroup(menu);
        for (const auto& [id, text] : items)
            group->addAction(addCommand(menu, id, QString::fromLatin1(text), true));
    };
    radios({{cmd::PeriodDay, "Day"}, {cmd::PeriodWeek, "Week"}, {cmd::PeriodMonth, "Month"}});
    menu->addSeparator();
    radios({{cmd::ListStyleDefault, "Default List Style"},
            {cmd::ListStyleSimple, "Simple List Style"}});
    menu->addSeparator();
    m_arrangeBy = menu->addMenu(QStringLiteral("Arrange By"));
    m_arrangeBy->setObjectName(QStringLiteral("arrangeBy"));
    auto* order = new QActionGroup(m_arrangeBy);
    const std::pair<int, const char*> arrange[] = {
        {cmd::ArrangeDefault, "(Default Order)"}, {cmd::ArrangeClient, "Client"},
        {cmd::ArrangeProject, "Project"},         {cmd::ArrangePhase, "Category"},
        {cmd::ArrangeBillTo, "Bill To"},          {cmd::ArrangeCustom1, "Custom 1"},
        {cmd::ArrangeCustom2, "Custom 2"}};
    for (const auto& [id, text] : arrange)
        order->addAction(addCommand(m_arrangeBy, id, QString::fromLatin1(text), true));
    QMenu* filter = menu->addMenu(QStringLiteral("Filter"));
    addCommand(filter, cmd::FilterShowAll, QStringLiteral("Show All"));
    addCommand(filter, cmd::FilterUnpaidOnly, QStringLiteral("Show Unpaid Only"));
    addCommand(filter, cmd::FilterCustom, QStringLiteral("Custom..."));
    menu->addSeparator();
    addCommand(menu, cmd::QuickSummary, QStringLiteral("Quick Summary..."));
    QMenu* report = menu->addMenu(QStringLiteral("Report"));
    addCommand(report, cmd::ReportMileage, QStringLiteral("Mileage Expense..."));
    addCommand(report, cmd::ReportGeneral, QStringLiteral("General Expense..."));
    QMenu* exports = menu->addMenu(QStringLiteral("Export"));
    addCommand(exports, cmd::ExportMileageCsv, QStringLiteral("Mileage Expense CSV..."));
    addCommand(exports, cmd::ExportGeneralCsv, QStringLiteral("General Expense CSV..."));
    menu->addSeparator();
    addCommand(menu, cmd::MarkBilledEntries, QStringLiteral("Mark Billed Entries..."));
    addCommand(menu, cmd::MarkPaidEntries, QStringLiteral("Mark Paid Entries..."));
    mnemonics::assign(newMenu);
    mnemonics::assign(menu);
    updateUndoItems();
}

void ExpenseWindow::updateUndoItems() {
    m_undo.updateActions(m_actions.value(cmd::Undo), m_actions.value(cmd::Redo));
    if (QMenu* edit = m_menuBar->findChild<QMenu*>(QStringLiteral("editMenu")))
        mnemonics::assign(edit);
}

QAction* ExpenseWindow::command(int id) const {
    return m_actions.value(id);
}

void ExpenseWindow::prepareMenu() {
    const Settings& s = m_context.settings;
    const int checks[] = {cmd::PeriodBase + int(m_view ? m_view->type() : s.expView),
                          cmd::ListStyleBase + int(m_list ? m_list->style() : s.expListStyle),
                          cmd::ArrangeDefault + s.expSort};
    for (const int id : checks)
        if (QAction* action = m_actions.value(id))
            action->setChecked(true);
    // The custom fields' items carry the names the user gave them.
    m_actions.value(cmd::ArrangeCustom1)->setText(mnemonics::literal(s.expenseCustom1));
    m_actions.value(cmd::ArrangeCustom2)->setText(mnemonics::literal(s.expenseCustom2));
    mnemonics::assign(m_arrangeBy);
    // Handlers may have been added since the menus were built.
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(m_commands.has(it.key()));
    const bool selection = selected() != 0;
    for (const int id : {cmd::Edit, cmd::Preview})
        m_actions.value(id)->setEnabled(selection && m_commands.has(id));
    updateUndoItems();
}

void ExpenseWindow::createList() {
    Settings& s = m_context.settings;
    if (m_view)
        m_view->attach(nullptr, nullptr);
    if (m_list) {
        delete m_list->widget();
        m_list = nullptr;
    }
    // The expense window has no Tree list.
    if (s.expListStyle > EntryList::Simple)
        s.expListStyle = EntryList::Default;
    m_list =
        EntryListWidget::create(int(s.expListStyle), ExpenseRows::columns(), m_context, m_viewArea);
    if (auto* simple = dynamic_cast<SimpleEntryList*>(m_list)) {
        simple->rowModel().setTitle(str::Custom1, s.expenseCustom1);
        simple->rowModel().setTitle(str::Custom2, s.expenseCustom2);
    } else if (auto* rows = dynamic_cast<DefaultEntryList*>(m_list)) {
        rows->setLinesPerRow(3);
    }
    m_list->setListFont(m_listFont);
    m_viewArea->layout()->addWidget(m_list->widget());
    m_list->events().route(
        this,
        [this] {
            postCommand(m_context.settings.hasFlag(TapPreviews) ? cmd::Preview : cmd::EditSelected);
        },
        [this](int id) { onCommand(id); }, [this](const QPoint& pos) { showContextMenu(pos); });
    const bool known = s.expView >= PeriodView::Day && s.expView <= PeriodView::Month;
    replaceView(known ? int(s.expView) : int(PeriodView::Month));
}

void ExpenseWindow::replaceView(int type) {
    platform::SystemTime start;
    platform::SystemTime end;
    PeriodView::carriedPeriod(m_view.get(), type, start, end);
    delete m_bar;
    m_bar = nullptr;
    m_view = PeriodView::make(type, m_context.settings);
    m_context.settings.expView = quint32(m_view->type());
    m_view->attach(m_list, m_records.get());
    connect(m_view.get(), &PeriodView::reloaded, this, &ExpenseWindow::showTotals);
    m_bar = new NavigationBar(m_view.get(), m_captionFont, m_viewArea);
    static_cast<QBoxLayout*>(m_viewArea->layout())->insertWidget(0, m_bar);
    m_view->setPeriod(start, end);
}

void ExpenseWindow::setPeriodType(int type) {
    const WaitCursor wait;
    replaceView(type);
}

void ExpenseWindow::setListStyle(int style) {
    m_context.settings.expListStyle = quint32(style);
    createList();
}

void ExpenseWindow::setArrangeBy(int index) {
    m_context.settings.expSort = quint16(index);
    if (m_list)
        m_list->sort(index);
}

void ExpenseWindow::filterChanged() {
    m_filter.store(m_context.registry);
    reload(0, 0);
}

void ExpenseWindow::filterCustom() {
    const Settings& s = m_context.settings;
    ExpenseFilterSheet sheet(m_filter, m_context, s.expenseCustom1, s.expenseCustom2, this);
    if (sheet.exec() == QDialog::Accepted)
        filterChanged();
}

void ExpenseWindow::reload(int selectFlag, quint32 recordId) {
    if (m_view)
        m_view->reload(selectFlag, recordId);
}

void ExpenseWindow::showTotals() {
    QString text = m_records->totalsText();
    if (const QString filter = m_filter.description(); !filter.isEmpty())
        text += QStringLiteral(" (filter: ") + filter + QLatin1Char(')');
    m_totals->setText(text);
}

void ExpenseWindow::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { onCommand(id); }, Qt::QueuedConnection);
}

bool ExpenseWindow::onCommand(int id) {
    const bool ran = m_undo.run(m_commands, id);
    updateUndoItems();
    return ran;
}

quint32 ExpenseWindow::selected() const {
    return m_list ? m_list->selectedRecordId() : 0;
}

EntryContextMenu* ExpenseWindow::createContextMenu(quint32 recordId) {
    std::optional<int> status;
    if (const auto expense = expenseactions::read(m_context.store, recordId))
        status = int(expense->status);
    auto* menu = new EntryContextMenu(status, m_commands, this);
    connect(menu, &EntryContextMenu::commandTriggered, this, &ExpenseWindow::onCommand);
    return menu;
}

void ExpenseWindow::showContextMenu(const QPoint& globalPos) {
    std::unique_ptr<EntryContextMenu> menu(createContextMenu(selected()));
    menu->exec(globalPos);
}

void ExpenseWindow::saved(std::optional<quint32> recordId, bool select) {
    if (!recordId)
        return;
    // An expense saved outside the period shown brings the view to its own.
    const auto expense = expenseactions::read(m_context.store, *recordId);
    if (m_view && expense && !m_view->contains(expense->date))
        if (const auto day = platform::toSystemTime(expense->date))
            m_view->setPeriod(*day, *day);
    reload(select ? 1 : 0, select ? *recordId : 0);
}

void ExpenseWindow::newExpense(int type) {
    const ExpenseEntry expense =
        expenseactions::fresh(ExpenseType(type), m_context.settings.defaultCurrency);
    saved(ExpenseEditor::edit(m_context, this, expense), true);
}

void ExpenseWindow::edit(int page) {
    const auto expense = expenseactions::read(m_context.store, selected());
    if (!expense)
        return;
    saved(ExpenseEditor::edit(m_context, this, *expense, page), false);
}

void ExpenseWindow::createCopy() {
    auto expense = expenseactions::read(m_context.store, selected());
    if (!expense)
        return;
    expense->recordId = 0;
    saved(ExpenseEditor::edit(m_context, this, *expense), true);
}

void ExpenseWindow::copyToDays() {
    QList<ExpenseEntry> expenses;
    for (const quint32 id : m_list ? m_list->selectedRecordIds() : QList<quint32>())
        if (const auto expense = expenseactions::read(m_context.store, id))
            expenses.append(*expense);
    if (expenses.isEmpty())
        return;
    std::stable_sort(expenses.begin(), expenses.end(),
                     [](const ExpenseEntry& a, const ExpenseEntry& b) { return a.date < b.date; });
    CopyEntryDialog dialog(m_context, expenses, this);
    if (dialog.exec() == QDialog::Accepted && dialog.copiesWritten() > 0)
        reload(0, 0);
}

void ExpenseWindow::markChosen(int id) {
    using entrymarking::Mark;
    const Mark mark = id == cmd::MarkPaidEntries ? Mark::Paid : Mark::Billed;
    platform::SystemTime start;
    platform::SystemTime end;
    if (m_view)
        m_view->getPeriod(start, end);
    ExpenseFilter criteria;
    if (!runExpenseCriteria(m_context, this,
                            mark == Mark::Paid ? CriteriaMode::MarkPaid : CriteriaMode::MarkBilled,
                            start, end, ExpenseFilter::AnyType, criteria))
        return;
    const ExpenseCriteria chosen = criteria.chosen();
    const bool marked = entrycommands::markWithProgress(
        m_context, this, mark, entrycommands::MarkedRecords::Expenses,
        [&](RecordStore& store, platform::FileTime paidDate) {
            return expenseactions::markChosen(store, chosen, mark, paidDate,
                                              platform::Clock::nowFileTime());
        });
    if (marked)
        reload(0, 0);
}

void ExpenseWindow::preview() {
    const auto expense = expenseactions::read(m_context.store, selected());
    if (!expense)
        return;
    ExpenseSummary summary(*expense, m_context, this);
    summary.exec();
    if (summary.editRequested())
        postCommand(cmd::EditSelected);
}

void ExpenseWindow::mark(int id) {
    const QList<quint32> chosen = m_list ? m_list->selectedRecordIds() : QList<quint32>();
    if (chosen.isEmpty())
        return;
    const entrymarking::Mark mark =
        id == cmd::MarkAsPaid ? entrymarking::Mark::Paid : entrymarking::Mark::Billed;
    if (entrycommands::markRecords<ExpenseEntry>(m_context, this, chosen, mark))
        reload(0, 0);
}

void ExpenseWindow::deleteSelected() {
    const QList<quint32> chosen = m_list ? m_list->selectedRecordIds() : QList<quint32>();
    if (!entrycommands::deleteRecords<ExpenseEntry>(m_context, this, chosen))
        return;
    if (chosen.size() > 1) {
        reload(0, 0);
        return;
    }
    m_list->deleteSelected();
    showTotals();
}

void ExpenseWindow::exportNote() {
    const auto expense = expenseactions::read(m_context.store, selected());
    if (!expense)
        return;
    NoteContent content;
    content.text = NoteText::fromPlainText(expense->note);
    NoteFiles::exportWithDialog(m_context.ui, NoteData::fromContent(content), str::ExportNoteFilter,
                                this);
}

void registerExpenseCommands(CommandTable& table, Context& context, QWidget* parent,
                             std::function<QFont()> listFont, std::function<QFont()> captionFont,
                             std::function<void(ExpenseWindow&)> addCommands) {
    // The filter stays as the user left it from one opening to the next.
    auto filter = std::make_shared<ExpenseFilter>();
    // So do the steps that can be undone.
    auto history = std::make_shared<UndoHistory>();
    table.add(cmd::Expenses,
              [&context, parent, listFont, captionFont, addCommands, filter, history](int) {
                  ExpenseWindow window(context, listFont(), captionFont(), parent, filter.get(),
                                       history.get());
                  if (addCommands)
                      addCommands(window);
                  window.exec();
              });
}

}  // namespace tempolatch
