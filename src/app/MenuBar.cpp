#include "app/MenuBar.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QToolButton>
#include <tuple>

#include "app/ImportCommands.h"
#include "app/MenuState.h"
#include "platform/StringTable.h"
#include "widgets/CommandIcons.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandKeys.h"
#include "widgets/CommandTable.h"
#include "widgets/Mnemonics.h"

namespace tempolatch {

namespace {

QIcon image(MenuBar::Image index) {
    static const char* const files[] = {":/icons/timer-idle.svg", ":/icons/quick-summary.svg",
                                        ":/icons/timer-running.svg"};
    return QIcon(QString::fromLatin1(files[index]));
}

QString text(const char* s) {
    return QString::fromLatin1(s);
}

const std::initializer_list<MenuBar::Item> kReports = {{cmd::ReportGroupBy, "Group By..."},
                                                       {cmd::ReportTabular, "Tabular..."},
                                                       {cmd::ReportInvoice, "Invoice..."}};
const std::initializer_list<MenuBar::Item> kExports = {{cmd::ExportCsv, "CSV..."},
                                                       {cmd::ExportXml, "XML..."}};
const std::initializer_list<MenuBar::Item> kEdit = {{cmd::Undo, "Undo"}, {cmd::Redo, "Redo"}};
const std::initializer_list<MenuBar::Item> kHelp = {{cmd::HelpContents, "Contents"},
                                                    {cmd::KeyboardShortcuts, "Keyboard Shortcuts"},
                                                    {},
                                                    {cmd::About, "About..."}};
const std::initializer_list<MenuBar::Item> kImports = {
    {cmd::ImportToggl, "Toggl Track CSV..."},
    {cmd::ImportHarvest, "Harvest CSV..."},
    {cmd::ImportTimewarrior, "Timewarrior JSON..."},
    {cmd::ImportKimai, "Kimai CSV or JSON..."},
    {cmd::ImportICalendar, "iCalendar (.ics)..."}};

}  // namespace

MenuBar::MenuBar(Kind kind, const CommandTable& commands, QWidget* parent)
    : QToolBar(parent), m_kind(kind), m_table(commands) {
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    if (kind == Kind::Classic)
        buildClassic();
    else
        buildSoftKeys();
    for (QMenu* popup : std::as_const(m_popups))
        mnemonics::assign(popup);
}

void MenuBar::addNewButton() {
    QAction* newEntry = makeCommand(cmd::New, text("New"));
    // The button shows the icon text: Alt+N presses it.
    newEntry->setIconText(mnemonics::withMnemonic(newEntry->text(), m_barMnemonics));
    addAction(newEntry);
}

QAction* MenuBar::makeCommand(int id, const QString& label) {
    auto* action = new QAction(label, this);
    action->setData(id);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    connect(action, &QAction::triggered, this, [this, id] { Q_EMIT commandTriggered(id); });
    m_commands.insert(id, action);
    setCommandEnabled(id, true);
    return action;
}

void MenuBar::setCommandEnabled(int id, bool allowed) {
    if (QAction* action = m_commands.value(id))
        action->setEnabled(allowed && m_table.has(id));
}

QAction* MenuBar::addCommand(QMenu* menu, int id, const QString& label) {
    QAction* action = makeCommand(id, label);
    action->setIcon(commandIcon(id));
    showCommandKeys(action, m_table, id);
    menu->addAction(action);
    return action;
}

void MenuBar::addRadioGroup(QMenu* menu, int firstId, const QStringList& texts) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (int i = 0; i < texts.size(); ++i) {
        QAction* action = addCommand(menu, firstId + i, texts[i]);
        action->setCheckable(true);
        group->addAction(action);
    }
}

QMenu* MenuBar::addPopupButton(int buttonId, const QString& label) {
    auto* menu = new QMenu(label, this);
    menu->setObjectName(QStringLiteral("popup%1").arg(buttonId));
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("button%1").arg(buttonId));
    button->setText(mnemonics::withMnemonic(label, m_barMnemonics));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Reached by Alt and its letter, as a menu bar is: with the focus the
    // button would also answer its items' keys, and a key that two answer
    // runs nothing.
    button->setFocusPolicy(Qt::NoFocus);
    // The text alone says it all; the menu arrow would only crowd the bar.
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    addWidget(button);
    connect(menu, &QMenu::aboutToShow, this,
            [this, buttonId] { Q_EMIT popupAboutToShow(buttonId); });
    m_popups.insert(buttonId, menu);
    return menu;
}

void MenuBar::buildViewMenu(QMenu* view) {
    m_viewMenu = view;
    addRadioGroup(view, cmd::PeriodDay,
                  {text("Day"), text("Week"), text("Month"), text("Custom Period...")});
    view->addSeparator();
    addRadioGroup(view, cmd::ListStyleDefault,
                  {text("Default List Style"), text("Simple List Style"), text("Tree List Style")});
    if (m_kind == Kind::Classic)
        view->addSeparator();
    addCommand(view, cmd::Customize, text("Customize..."));

    auto addFilter = [&] {
        addSubmenu(view, "Filter",
                   {{cmd::FilterShowAll, "Show All"},
                    {cmd::FilterUnpaidOnly, "Show Unpaid Only"},
                    {cmd::FilterCustom, "Custom..."}});
    };
    // "Arrange By" sits at position 11 of the classic View popup and at 9 of
    // the soft-key one.
    if (m_kind == Kind::Classic)
        addFilter();
    m_arrangeByMenu = view->addMenu(text("Arrange By"));
    m_arrangeByMenu->setObjectName(QStringLiteral("arrangeBy"));
    addRadioGroup(m_arrangeByMenu, cmd::ArrangeDefault,
                  {text("(Default Order)"), text("Client"), text("Project"), text("Phase"),
                   text("Task"), text("Bill To"), resourceString(str::Custom1),
                   resourceString(str::Custom2), resourceString(str::Custom3)});
    if (m_kind == Kind::SoftKeys)
        addFilter();
}

void MenuBar::addCommands(QMenu* menu, std::initializer_list<Item> items) {
    for (const Item& item : items) {
        if (item.id == 0)
            menu->addSeparator();
        else
            addCommand(menu, item.id, text(item.text));
    }
}

QMenu* MenuBar::addSubmenu(QMenu* menu, const char* title, std::initializer_list<Item> items) {
    QMenu* submenu = menu->addMenu(text(title));
    addCommands(submenu, items);
    return submenu;
}

void MenuBar::buildClassic() {
    setObjectName(QStringLiteral("classicMenuBar"));
    setIconSize(QSize(16, 16));
    addNewButton();

    addCommands(addPopupButton(cmd::EditButton, text("Edit")), kEdit);
    buildViewMenu(addPopupButton(cmd::ViewButton, text("View")));

    QMenu* tools = addPopupButton(cmd::ToolsButton, text("Tools"));
    addSubmenu(tools, "Reports", kReports);
    addCommands(tools, {{cmd::ClientSummary, "Client Summary..."},
                        {cmd::Charts, "Charts..."},
                        {cmd::Expenses, "Expenses..."},
                        {}});
    addSubmenu(tools, "Export", kExports);
    addSubmenu(tools, "Backup",
               {{cmd::BackupCreate, "Create..."}, {cmd::BackupRestore, "Restore..."}});
    addSubmenu(tools, "Archive",
               {{cmd::ArchiveEntries, "Entries..."}, {cmd::ArchiveLoad, "Load..."}});
    addSubmenu(tools, "Import", kImports);
    addCommands(tools, {{cmd::RemoveAllData, "Remove All Data"},
                        {},
                        {cmd::SetupClients, "Setup Clients..."},
                        {cmd::SetupRates, "Setup Rates..."},
                        {cmd::EditDropLists, "Edit Drop Lists..."},
                        {cmd::ReplaceFieldText, "Replace Field Text..."},
                        {cmd::MarkBilledEntries, "Mark Billed Entries..."},
                        {cmd::MarkPaidEntries, "Mark Paid Entries..."},
                        {},
                        {cmd::Options, "Options..."}});
    addCommands(addPopupButton(cmd::HelpButton, text("Help")), kHelp);

    addSeparator();
    // The image buttons, with tooltips in place of text.
    for (auto [id, picture, tip] :
         {std::tuple{cmd::Timers, TimerIdle, str::EntryTimersTip},
          std::tuple{cmd::QuickSummary, QuickSummaryImage, str::QuickSummaryTip}}) {
        QAction* button = makeCommand(id, resourceString(tip));
        button->setIcon(image(picture));
        button->setToolTip(resourceString(tip));
        addAction(button);
    }
}

void MenuBar::buildSoftKeys() {
    setObjectName(QStringLiteral("softKeyMenuBar"));
    addNewButton();
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);

    QMenu* menu = addPopupButton(cmd::MenuButton, text("Menu"));
    addCommand(menu, cmd::Timers, timersMenuText(0));
    addCommand(menu, cmd::Expenses, text("Expenses..."));
    addSubmenu(menu, "Reports", kReports);
    menu->addSeparator();
    QMenu* view = menu->addMenu(text("View"));  // position 4
    view->setObjectName(QStringLiteral("viewMenu"));
    buildViewMenu(view);
    addCommands(menu, {{}, {cmd::SetupClients, "Clients..."}, {cmd::SetupRates, "Rates..."}});
    addSubmenu(menu, "Entries",
               {{cmd::EditDropLists, "Edit Drop Lists..."},
                {cmd::ReplaceFieldText, "Replace Field Text..."},
                {},
                {cmd::MarkBilledEntries, "Mark Billed Entries..."},
                {cmd::MarkPaidEntries, "Mark Paid Entries..."}});
    addSubmenu(menu, "Export", kExports);
    QMenu* data = addSubmenu(menu, "Data",  // position 10
                             {{cmd::QuickSummary, "Quick Summary..."},
                              {cmd::ClientSummary, "Client Summary..."},
                              {cmd::Charts, "Charts..."},
                              {},
                              {cmd::BackupCreate, "Create Backup..."},
                              {cmd::BackupRestore, "Restore Backup..."},
                              {},
                              {cmd::ArchiveEntries, "Archive Entries..."},
                              {cmd::ArchiveLoad, "Load Archive..."},
                              {},
                              {cmd::ImportToggl, "Import Toggl Track CSV..."},
                              {cmd::ImportHarvest, "Import Harvest CSV..."},
                              {cmd::ImportTimewarrior, "Import Timewarrior JSON..."},
                              {cmd::ImportKimai, "Import Kimai CSV or JSON..."},
                              {cmd::ImportICalendar, "Import iCalendar (.ics)..."},
                              {},
                              {cmd::RemoveAllData, "Remove All Data"}});
    data->setObjectName(QStringLiteral("dataMenu"));
    addCommands(menu, {{}, {cmd::Options, "Options..."}});
    // At the end, where the positions of the others stay as they were.
    addSubmenu(menu, "Edit", kEdit);
    addSubmenu(menu, "Help", kHelp);
}

void MenuBar::applyViewState(const ViewMenuState& state) {
    for (int id = cmd::ListStyleDefault; id <= cmd::ListStyleTree; ++id)
        m_commands.value(id)->setChecked(id == state.checkedListStyle);
    for (int id = cmd::PeriodDay; id <= cmd::PeriodCustom; ++id)
        m_commands.value(id)->setChecked(id == state.checkedPeriod);
    for (int id = cmd::ArrangeDefault; id <= cmd::ArrangeCustom3; ++id)
        m_commands.value(id)->setChecked(id == state.checkedArrangeBy);
    setCommandEnabled(cmd::Customize, state.customizeEnabled);
    m_arrangeByMenu->setEnabled(state.arrangeByEnabled);
    m_arrangeByMenu->menuAction()->setEnabled(state.arrangeByEnabled);
    for (int i = 0; i < 3; ++i)
        m_commands.value(cmd::ArrangeCustom1 + i)
            ->setText(mnemonics::literal(state.customFieldNames[std::size_t(i)]));
    mnemonics::assign(m_arrangeByMenu);
}

void MenuBar::setCommandText(int id, const QString& label, bool allowed) {
    QAction* action = m_commands.value(id);
    if (!action)
        return;
    action->setText(mnemonics::literal(label));
    setCommandEnabled(id, allowed);
    for (QObject* owner : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(owner))
            mnemonics::assign(menu);
}

void MenuBar::setClientSummaryEnabled(bool enabled) {
    setCommandEnabled(cmd::ClientSummary, enabled);
}

void MenuBar::setTimersInUse(int count) {
    QAction* timers = m_commands.value(cmd::Timers);
    if (m_kind == Kind::SoftKeys) {
        timers->setText(timersMenuText(std::min(count, 4)));
        mnemonics::assign(m_popups.value(cmd::MenuButton));
        return;
    }
    m_timersImage = count > 0 ? TimerRunning : TimerIdle;
    timers->setIcon(image(Image(m_timersImage)));
}

}  // namespace tempolatch

namespace tempolatch {

void MenuBar::setTimersNotice(const QString& notice) {
    QAction* timers = m_commands.value(cmd::Timers);
    timers->setStatusTip(notice);
    const QString tip = resourceString(str::EntryTimersTip);
    timers->setToolTip(notice.isEmpty() ? tip : tip + QLatin1Char('\n') + notice);
}

}  // namespace tempolatch
