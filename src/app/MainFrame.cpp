#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/AboutDialog.h"
#include "app/DataFileArgument.h"
#include "app/DataUpgradeDialog.h"
#include "app/ExpenseExportCommands.h"
#include "app/ExpenseReportCommands.h"
#include "app/ImportCommands.h"
#include "app/MenuBar.h"
#include "app/MenuState.h"
#include "clients/SetupCommands.h"
#include "editing/CommandUndo.h"
#include "editing/EntryCommands.h"
#include "editing/QuickEntryBar.h"
#include "expenses/ExpenseWindow.h"
#include "notes/NoteStream.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/EntryFilter.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFileCommands.h"
#include "settings/Context.h"
#include "settings/OptionsSheet.h"
#include "settings/Settings.h"
#include "settings/SettingsFonts.h"
#include "settings/StoreChoice.h"
#include "settings/StoreLogin.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "store/StoreWatcher.h"
#include "store/TimeEntry.h"
#include "timers/EntryTimer.h"
#include "timers/TimerCommands.h"
#include "timers/TimerKeeper.h"
#include "timers/TimerStrip.h"
#include "timers/TimerTray.h"
#include "timers/TimerWatch.h"
#include "transfer/ArchiveCommands.h"
#include "transfer/BackupCommands.h"
#include "views/ColumnLayout.h"
#include "views/CustomPeriodDialog.h"
#include "views/CustomizeDefaultView.h"
#include "views/EntryListWidget.h"
#include "views/FilterSheet.h"
#include "views/NavigationBar.h"
#include "views/PeriodView.h"
#include "views/SearchBox.h"
#include "views/TimeEntryRows.h"
#include "views/TreeListOptions.h"
#include "views/ViewIds.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandKeys.h"
#include "widgets/EntryContextMenu.h"
#include "widgets/HelpWindow.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

MainFrame::MainFrame(Context& context)
    : m_context(context), m_undo(context, m_undoHistory, UndoRecords::Entries, this) {
    initResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(resourceString(str::AppName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tempolatch.svg")));

    m_viewArea = new QWidget(this);
    m_viewArea->setObjectName(QStringLiteral("viewArea"));
    auto* layout = new QVBoxLayout(m_viewArea);
    layout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(m_viewArea);
    m_timers = new TimerKeeper(m_timerTable, TimerKeeper::defaultPath(), this);
    connect(m_timers, &TimerKeeper::timersChanged, this, &MainFrame::updateTimersIndicator);
    connect(m_timers, &TimerKeeper::saveFailed, this, [this](const QString& why) {
        m_context.ui.message(QStringLiteral("The running timers could not be saved (%1). They "
                                            "keep running, but would be lost if Tempolatch "
                                            "stopped now.")
                                 .arg(why),
                             platform::MessageIcon::Stop, this);
    });
    auto* watch = new TimerWatch(m_context, *m_timers, this);
    connect(watch, &TimerWatch::entrySaved, this, [this](quint32 id) { entrySaved(id); });
    registerCommands();
    addKeyboardShortcuts();

    QSize size(720, 540);
    if (const QScreen* s = screen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size);
}

void MainFrame::addKeyboardShortcuts() {
    // The desktop's keys for the window's commands; the menus show them too.
    using K = QKeySequence;
    addCommandKeys(
        m_commands,
        {{cmd::New, {K(Qt::CTRL | Qt::Key_N)}, "New entry"},
         {cmd::Edit, {K(Qt::Key_F2)}, "Edit the selected entry"},
         {0, {K(Qt::Key_Return)}, "Preview or edit the selected entry (as the options say)"},
         {cmd::Delete, {K(K::Delete)}, "Delete the selected entries (asks first)"},
         {0, {K(Qt::CTRL | Qt::Key_A)}, "Select every entry of the list"},
         {0, {K(Qt::SHIFT | Qt::Key_F10), K(Qt::Key_Menu)}, "Menu of the selected entries"},
         {cmd::FilterCustom, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}, "Filter the entries shown"},
         {0, {K(Qt::CTRL | Qt::Key_L)}, "Type an entry on one line (quick entry)"},
         {0, {K(Qt::CTRL | Qt::Key_F)}, "Search the shown period"},
         {cmd::Close, {K(Qt::CTRL | Qt::Key_Q)}, "Quit (running timers are kept)"}});
    addUndoAndHelpKeys(m_commands);
    addPeriodKeys(m_commands);
    installCommandKeys(this, m_commands, [this](int id) { onCommand(id); });
    // The lines above the list.
    focusKey(QKeySequence(Qt::CTRL | Qt::Key_L), QStringLiteral("quickEntryKey"), [this] {
        if (m_quickEntry)
            m_quickEntry->focusForTyping();
    });
    focusKey(QKeySequence(Qt::CTRL | Qt::Key_F), QStringLiteral("searchKey"), [this] {
        if (m_search)
            m_search->focusForTyping();
    });
}

void MainFrame::focusKey(const QKeySequence& keys, const QString& name,
                         const std::function<void()>& focus) {
    auto* action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, focus);
    addAction(action);
}

Settings& MainFrame::settings() const {
    return m_context.settings;
}

MainFrame::~MainFrame() {
    m_context.ui.setNoticeShown({});
    // The view first, then the list (the Simple list keeps its columns).
    destroyListAndView();
    // A start that failed at the store saves nothing: the stored settings
    // version must still say that older data awaits its repair.
    if (m_created) {
        settings().save(m_context.registry);
    }
}

namespace {
// A finished report, in the desktop's browser or PDF viewer.
void showReport(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
}  // namespace

bool MainFrame::create() {
    Settings& s = settings();
    s.load(m_context.registry);
    useClearType(s.clearType);
    s.setFlag(OwnerBlockOnInvoices, true);
    buildMenuBar();
    keepWindowPlace(this, m_context.registry, QStringLiteral("MainWindow"));

    if (!openStoreAskingPassword(m_context.store, this, passwordDialog(this))) {
        m_context.ui.message(resourceString(str::UnableToOpenDatabase), platform::MessageIcon::Stop,
                             this);
        return false;
    }
    m_created = true;
    // A role that may only read (a shared store's), or a store file the
    // user may not write: said where it stays in sight.
    if (storeIsReadOnly(m_context.store))
        statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Read-only store"), this));
    // The commands' words of success go to the status line.
    m_context.ui.setNoticeShown(
        [this](const QString& text) { statusBar()->showMessage(text, 15000); });

    // Entries written by versions before 261 are repaired once, before
    // anything reads them.
    runDataUpgradeIfNeeded(m_context, this);

    m_captionFont = createFont(QStringLiteral("Tahoma"), 80, true, false);
    loadEntryFilter();
    m_listFont = createListFont(s, false);
    createListAndView();

    // Another program (a second copy, a command-line restore) changed the
    // store: show what is there now.
    m_watcher = new StoreWatcher(m_context.store, this);
    connect(m_watcher, &StoreWatcher::storeChanged, this, [this] {
        m_context.store.reopenRecreated();
        reloadView(0, 0);
    });
    m_watcher->start();
    createEntryTools();
    restoreTimers();
    return true;
}

void MainFrame::restoreTimers() {
    const int restored = m_timers->restore();
    m_timers->startTicking();
    m_tray = new TimerTray(*m_timers, this);
    connect(m_tray, &TimerTray::openTimersRequested, this, [this] {
        // Not over another dialog: the tray only brings the window forward then.
        bringToFront();
        if (!QApplication::activeModalWidget())
            onCommand(cmd::Timers);
    });
    connect(m_tray, &TimerTray::showWindowRequested, this, [this] { bringToFront(); });
    connect(m_tray, &TimerTray::quitRequested, this, [this] {
        bringToFront();
        if (!QApplication::activeModalWidget())
            close();
    });
    createTimerStrip();
    if (restored > 0 && m_menuBar) {
        const QString notice =
            restored == 1
                ? QStringLiteral("1 timer was restored from the last run.")
                : QStringLiteral("%1 timers were restored from the last run.").arg(restored);
        m_menuBar->setTimersNotice(notice);
        statusBar()->showMessage(notice, 15000);
    }
}

void MainFrame::createTimerStrip() {
    m_strip = new TimerStrip(*m_timers, m_viewArea);
    placeTimerStrip();
    connect(m_strip, &TimerStrip::completeRequested, this, [this](int slot) {
        const std::optional<quint32> saved =
            timercommands::completeTimer(m_context, this, *m_timers, slot);
        if (saved)
            entrySaved(saved);
    });
    connect(m_strip, &TimerStrip::continueRequested, this, [this] {
        if (!timercommands::continueEntry(m_context, *m_timers, selectedEntryId()))
            m_context.ui.notice(QStringLiteral("Select an entry to time more of its work."));
    });
    const auto showInTitle = [this] {
        setWindowTitle(TimerStrip::windowTitle(m_timerTable, resourceString(str::AppName)));
    };
    connect(m_timers, &TimerKeeper::ticked, this, showInTitle);
    connect(m_timers, &TimerKeeper::timersChanged, this, showInTitle);
    showInTitle();
}

void MainFrame::placeTimerStrip() {
    if (!m_strip)
        return;
    // Above the list, or under it by the status line; a new list goes in
    // last, so the strip is placed again after each.
    auto* area = static_cast<QBoxLayout*>(m_viewArea->layout());
    area->removeWidget(m_strip);
    const int list = m_list ? area->indexOf(m_list->widget()) : -1;
    if (settings().timerStripPlace == TimerStrip::AtStatusLine || list < 0)
        area->addWidget(m_strip);
    else
        area->insertWidget(list, m_strip);
}

void MainFrame::createEntryTools() {
    auto* tools = new QWidget(m_viewArea);
    tools->setObjectName(QStringLiteral("entryTools"));
    auto* row = new QHBoxLayout(tools);
    row->setContentsMargins(4, 2, 4, 2);
    m_quickEntry = new QuickEntryBar(
        m_context, [this] { return newEntryDay(); }, tools);
    connect(m_quickEntry, &QuickEntryBar::entryWritten, this,
            [this](quint32 recordId) { entrySaved(recordId); });
    m_search = new SearchBox(tools);
    connect(m_search, &SearchBox::searchChanged, this, &MainFrame::searchFor);
    row->addWidget(m_quickEntry, 3, Qt::AlignTop);
    row->addWidget(m_search, 2, Qt::AlignTop);
    // Above the list, whichever list is made later.
    auto* area = static_cast<QBoxLayout*>(m_viewArea->layout());
    area->insertWidget(std::max(0, area->count() - 1), tools);
}

void MainFrame::searchFor(const QString& words) {
    m_filter.search = SearchWords(words, noteToPlainText);
    reloadView(0, 0);
}

void MainFrame::loadEntryFilter() {
    m_filter.reset();
    m_filter.load(m_context.registry);
}

void MainFrame::destroyListAndView() {
    delete m_bar;
    m_bar = nullptr;
    m_view.reset();
    if (m_list) {
        delete m_list->widget();
        m_list = nullptr;
    }
}

void MainFrame::createListAndView() {
    Settings& s = settings();
    if (m_view)
        m_view->attach(nullptr, nullptr);
    if (m_list) {
        delete m_list->widget();
        m_list = nullptr;
    }
    if (s.listStyle > EntryList::Tree)
        s.listStyle = EntryList::Default;
    m_list = EntryListWidget::create(int(s.listStyle), ColumnLayout::timeEntries(), m_context,
                                     m_viewArea);
    m_list->setListFont(m_listFont);
    m_viewArea->layout()->addWidget(m_list->widget());
    placeTimerStrip();
    m_list->events().route(
        this, [this] { entryTapped(); }, [this](int id) { onCommand(id); },
        [this](const QPoint& pos) { showEntryContextMenu(pos); });
    if (!m_records)
        m_records = std::make_unique<TimeEntryRecords>(m_filter, s, m_context.store);
    const bool known = s.view >= PeriodView::Day && s.view <= PeriodView::Custom;
    replaceView(known ? int(s.view) : int(PeriodView::Week));
}

void MainFrame::replaceView(int type) {
    // The custom view shows the stored custom period.
    platform::SystemTime start;
    platform::SystemTime end;
    PeriodView::carriedPeriod(m_view.get(), type, start, end);
    delete m_bar;
    m_bar = nullptr;
    m_view = PeriodView::make(type, settings());
    settings().view = quint32(m_view->type());
    m_view->attach(m_list, m_records.get());
    connect(m_view.get(), &PeriodView::reloaded, this, &MainFrame::showTotals);
    connect(m_view.get(), &PeriodView::reloaded, this, &MainFrame::showFilterLine);
    m_bar = new NavigationBar(m_view.get(), m_captionFont, m_viewArea);
    static_cast<QBoxLayout*>(m_viewArea->layout())->insertWidget(0, m_bar);
    if (m_view->type() == PeriodView::Custom)
        m_view->setPeriod(settings().periodStart, settings().periodEnd);
    else
        m_view->setPeriod(start, end);
}

void MainFrame::showFilterLine() {
    const QString filter = m_filter.description();
    if (!m_filterLine) {
        // Under the navigation bar, which goes in above it.
        m_filterLine = new QLabel(m_viewArea);
        m_filterLine->setObjectName(QStringLiteral("filterLine"));
        m_filterLine->setContentsMargins(4, 2, 4, 2);
        m_filterLine->setTextFormat(Qt::RichText);
        connect(m_filterLine, &QLabel::linkActivated, this,
                [this] { onCommand(cmd::FilterShowAll); });
        static_cast<QBoxLayout*>(m_viewArea->layout())->insertWidget(1, m_filterLine);
    }
    m_filterLine->setVisible(!filter.isEmpty());
    m_filterLine->setText(QStringLiteral("Filter: %1 &mdash; <a href=\"all\">Show All</a>")
                              .arg(filter.toHtmlEscaped()));
}

void MainFrame::showTotals() {
    if (!m_totals) {
        m_totals = new QLabel(this);
        m_totals->setObjectName(QStringLiteral("periodTotals"));
        // A place of their own on the right: the notices take the left of
        // the line and never draw over the totals.
        statusBar()->addPermanentWidget(m_totals);
    }
    QString empty;
    switch (m_view ? m_view->type() : int(PeriodView::Custom)) {
        case PeriodView::Day:
            empty = QStringLiteral("No entries on this day");
            break;
        case PeriodView::Week:
            empty = QStringLiteral("No entries this week");
            break;
        case PeriodView::Month:
            empty = QStringLiteral("No entries this month");
            break;
        default:
            empty = QStringLiteral("No entries in this period");
            break;
    }
    m_totals->setText(m_records ? m_records->totals().text(empty, m_context.settings.hoursFormat)
                                : empty);
}

void MainFrame::reloadView(int selectFlag, quint32 recordId) {
    if (m_view)
        m_view->reload(selectFlag, recordId);
}

void MainFrame::sortList() {
    if (m_list)
        m_list->sort(settings().sort);
}

void MainFrame::entrySaved(std::optional<quint32> recordId) {
    if (!recordId)
        return;
    // An entry saved outside the period shown brings the view to its own.
    const std::optional<TimeEntry> entry =
        entrycommands::readStoredEntry(m_context.store, *recordId);
    if (m_view && entry && !m_view->contains(entry->date) && m_view->type() != PeriodView::Custom) {
        if (const auto day = platform::toSystemTime(entry->date)) {
            m_view->setPeriod(*day, *day);
        }
    }
    reloadView(1, *recordId);
}

platform::SystemTime MainFrame::newEntryDay() const {
    // Today when it is shown, else the first day shown.
    const platform::SystemTime now = platform::Clock::now();
    if (!m_view)
        return now;
    const auto today = platform::toFileTime(now);
    return today && m_view->contains(*today) ? now : m_view->start();
}

void MainFrame::removeSelectedRow(const TimeEntry& deleted) {
    if (m_list)
        m_list->deleteSelected();
    if (m_records)
        m_records->entryRemoved(deleted);
    showTotals();
}

std::pair<platform::SystemTime, platform::SystemTime> MainFrame::shownPeriod() const {
    platform::SystemTime start = platform::Clock::now();
    platform::SystemTime end = start;
    if (m_view)
        m_view->getPeriod(start, end);
    return {start, end};
}

quint32 MainFrame::selectedEntryId() const {
    return m_list ? m_list->selectedRecordId() : 0;
}

std::optional<int> MainFrame::entryStatus(quint32 recordId) const {
    if (const std::optional<TimeEntry> entry =
            entrycommands::readStoredEntry(m_context.store, recordId))
        return int(entry->status);
    return std::nullopt;
}

int MainFrame::clientCount() const {
    RecordStore& store = m_context.store;
    if (!store.isOpen())
        return 0;
    return std::max(0, ClientStructure(store).clientCount());
}

void MainFrame::buildMenuBar() {
    if (m_menuBar) {
        // The old bar may be the sender of the command that got us here.
        removeToolBar(m_menuBar);
        m_menuBar->hide();
        m_menuBar->deleteLater();
    }
    const bool softKeys = settings().hasFlag(SoftKeyMenus);
    m_menuBar =
        new MenuBar(softKeys ? MenuBar::Kind::SoftKeys : MenuBar::Kind::Classic, m_commands, this);
    addToolBar(softKeys ? Qt::BottomToolBarArea : Qt::TopToolBarArea, m_menuBar);
    connect(m_menuBar, &MenuBar::commandTriggered, this, &MainFrame::onCommand);
    connect(m_menuBar, &MenuBar::popupAboutToShow, this, &MainFrame::preparePopup);
    updateTimersIndicator();
    updateUndoItems();
}

void MainFrame::preparePopup(int buttonId) {
    if (buttonId == cmd::EditButton || buttonId == cmd::MenuButton)
        updateUndoItems();
    if (buttonId == cmd::ViewButton || buttonId == cmd::MenuButton)
        m_menuBar->applyViewState(viewMenuState(settings()));
    if (buttonId == cmd::ToolsButton || buttonId == cmd::MenuButton)
        m_menuBar->setClientSummaryEnabled(clientSummaryEnabled(clientCount()));
}

void MainFrame::updateTimersIndicator() {
    if (m_menuBar)
        m_menuBar->setTimersInUse(m_timerTable.countInUse());
}

void MainFrame::entryTapped() {
    postCommand(tapCommand(settings()));
}

void MainFrame::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { onCommand(id); }, Qt::QueuedConnection);
}

EntryContextMenu* MainFrame::createEntryContextMenu(quint32 recordId) {
    auto* menu = new EntryContextMenu(entryStatus(recordId), m_commands, this);
    connect(menu, &EntryContextMenu::commandTriggered, this, &MainFrame::onCommand);
    return menu;
}

void MainFrame::showEntryContextMenu(const QPoint& globalPos) {
    std::unique_ptr<EntryContextMenu> menu(createEntryContextMenu(selectedEntryId()));
    menu->exec(globalPos);
}

void MainFrame::openDataFile(const QString& path) {
    if (!path.isEmpty() && tempolatch::openDataFile(m_context, this, path))
        reloadView(0, 0);
}

void MainFrame::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    const std::optional<TimerKeeper::AtQuit> timers = askAboutTimers();
    if (!timers) {
        event->ignore();
        return;
    }
    event->accept();
    // Before the store opened the timers were never read: the file stays.
    if (m_created)
        m_timers->quit(*timers);
    if (HelpWindow* help = HelpWindow::current())
        help->close();
    Q_EMIT closed();
}

std::optional<TimerKeeper::AtQuit> MainFrame::askAboutTimers() {
    using AtQuit = TimerKeeper::AtQuit;
    if (!mustAskBeforeClose(settings(), m_timerTable))
        return AtQuit::KeepRunning;
    bringToFront();
    const int choice = m_context.ui.choose(
        QStringLiteral("There are timers running. Keep them running until Tempolatch starts "
                       "again, pause them, or end them?"),
        {QStringLiteral("&Keep Running"), QStringLiteral("&Pause"), QStringLiteral("&End Timers")},
        0, this);
    if (choice < 0 || choice > 2)
        return std::nullopt;
    return std::array{AtQuit::KeepRunning, AtQuit::Pause, AtQuit::End}[std::size_t(choice)];
}

void MainFrame::setListStyle(int style) {
    WaitCursor wait;
    settings().listStyle = quint32(style);
    createListAndView();
}

void MainFrame::setPeriodType(int type) {
    if (type < PeriodView::Day || type > PeriodView::Custom)
        return;
    WaitCursor wait;
    replaceView(type);
}

void MainFrame::runCustomPeriod() {
    CustomPeriodDialog dialog(this);
    const auto [start, end] = CustomPeriodDialog::preset(settings(), m_view.get());
    dialog.setPeriod(start, end);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CustomPeriodDialog::store(settings(), dialog.start(), dialog.end());
    setPeriodType(PeriodView::Custom);
}

void MainFrame::setArrangeBy(int index) {
    settings().sort = quint16(index);
    sortList();
}

void MainFrame::customizeList() {
    if (!m_list)
        return;
    switch (m_list->style()) {
        case EntryList::Default:
            CustomizeDefaultView::run(settings(), this);
            break;
        case EntryList::Tree:
            TreeListOptions::run(settings(), this);
            break;
        default:
            return;
    }
    reloadView(0, 0);
}

void MainFrame::filterShowAll() {
    m_filter.showAll();
    m_filter.store(m_context.registry);
    reloadView(0, 0);
}

void MainFrame::filterUnpaidOnly() {
    m_filter.showUnpaidOnly();
    m_filter.store(m_context.registry);
    reloadView(0, 0);
}

void MainFrame::filterCustom() {
    FilterSheet sheet(m_filter, m_context, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    m_filter.store(m_context.registry);
    reloadView(0, 0);
}

void MainFrame::runOptions() {
    const QString store = storechoice::kept(m_context.registry);
    const OptionsOutcome outcome = runOptionsSheet(m_context, this);
    if (outcome.storeChanged)
        openChosenStore(store);
    // Saved and rebuilt even when cancelled: the sheet may have been
    // opened after changes of the view that are not stored yet.
    if (!settings().save(m_context.registry))
        m_context.ui.message(QStringLiteral("The options could not be saved (is the disk full?). "
                                            "They apply until Tempolatch closes; the saved ones "
                                            "are kept as they were."),
                             platform::MessageIcon::Stop, this);
    m_listFont = createListFont(settings(), false);
    createListAndView();
    if (outcome.softKeysChanged)
        buildMenuBar();
}

void MainFrame::openChosenStore(const QString& previous) {
    m_context.store.close();
    if (openStoreAskingPassword(m_context.store, this, passwordDialog(this))) {
        m_context.ui.notice(QStringLiteral("Connected to %1.").arg(storechoice::shownStore()));
        return;
    }
    const QString chosen = storechoice::shownStore();
    const QString why = m_context.store.openError();
    storechoice::keep(m_context.registry, previous);
    m_context.store.close();
    openStoreAskingPassword(m_context.store, this, passwordDialog(this));
    m_context.ui.message(QStringLiteral("Tempolatch cannot open the store %1: %2\n\n"
                                        "It goes on with the store it had, %3.")
                             .arg(chosen, why.isEmpty() ? QStringLiteral("it was not opened") : why,
                                  storechoice::shownStore()),
                         platform::MessageIcon::Stop, this);
}

void MainFrame::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainFrame::registerCommands() {
    // The window's own.
    m_commands.add({cmd::Ok, cmd::Close}, [this](int) {
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    });
    m_commands.add(cmd::Options, [this](int) { runOptions(); });
    m_commands.add(cmd::About, [this](int) { showAbout(); });
    m_commands.add(cmd::HelpContents,
                   [](int) { HelpWindow::showTopic(QStringLiteral("Main_Contents")); });
    m_commands.add(cmd::KeyboardShortcuts, [this](int) {
        KeyboardShortcutsDialog keys(m_commands, this);
        keys.exec();
    });
    m_undo.registerCommands(m_commands, [this] { reloadView(0, 0); });
    // The period: back, forward and today, as the navigation bar's buttons.
    m_commands.add({cmd::PreviousPeriod, cmd::NextPeriod, cmd::GotoToday}, [this](int id) {
        if (m_bar)
            m_bar->runCommand(id);
    });

    // The view area: period, list style, filter and order.
    m_commands.add({cmd::PeriodDay, cmd::PeriodWeek, cmd::PeriodMonth},
                   [this](int id) { setPeriodType(id - cmd::PeriodBase); });
    m_commands.add(cmd::PeriodCustom, [this](int) { runCustomPeriod(); });
    m_commands.addRange(cmd::ListStyleDefault, cmd::ListStyleTree,
                        [this](int id) { setListStyle(id - cmd::ListStyleBase); });
    m_commands.add(cmd::Customize, [this](int) { customizeList(); });
    m_commands.add(cmd::FilterShowAll, [this](int) { filterShowAll(); });
    m_commands.add(cmd::FilterUnpaidOnly, [this](int) { filterUnpaidOnly(); });
    m_commands.add(cmd::FilterCustom, [this](int) { filterCustom(); });
    m_commands.addRange(cmd::ArrangeDefault, cmd::ArrangeCustom3,
                        [this](int id) { setArrangeBy(id - cmd::ArrangeDefault); });

    // The other areas register the commands they own.
    registerEntryCommands(
        m_commands,
        {&m_context, this, [this] { return selectedEntryId(); },
         [this] { return m_list ? m_list->selectedRecordIds() : QList<quint32>(); },
         [this](std::optional<quint32> id) { entrySaved(id); }, [this](int id) { postCommand(id); },
         [this] { return newEntryDay(); }, [this] { reloadView(0, 0); },
         [this](const TimeEntry& deleted) { removeSelectedRow(deleted); },
         [this] { return shownPeriod(); }});
    registerTimerCommands(m_commands,
                          {&m_context, this, m_timers, [this] { return selectedEntryId(); },
                           [this](std::optional<quint32> id) { entrySaved(id); }});
    registerSetupCommands(m_commands, m_context, this, [this] { return m_watcher; });
    registerListCommands(m_commands, m_context, this, [this] { reloadView(0, 0); });
    registerDataCommands(m_commands, m_context, this, [this] { reloadView(0, 0); });
    // The shown period, for commands that preset their range with it.
    const auto fillShownPeriod = [this](platform::SystemTime& start, platform::SystemTime& end) {
        if (m_view)
            m_view->getPeriod(start, end);
    };
    registerArchiveCommands(m_commands, m_context, this, fillShownPeriod,
                            [this] { reloadView(0, 0); });
    registerImportCommands(m_commands, m_context, this, [this] { reloadView(0, 0); });
    registerReportCommands(m_commands,
                           {&m_context, this, [this] { return shownSummaryPeriod(); },
                            [this] { return m_list ? m_list->recordIds() : QList<quint32>(); }});
    registerReportFileCommands(
        m_commands, {&m_context, this, fillShownPeriod, showReport, [this] { reloadView(0, 0); }});
    registerExpenseCommands(
        m_commands, m_context, this, [this] { return m_listFont; },
        [this] { return m_captionFont; },
        [this](ExpenseWindow& window) {
            addExpenseExportCommands(window, m_context);
            addExpenseReportCommands(window, m_context, showReport);
        });
}

SummaryPeriod MainFrame::shownSummaryPeriod() const {
    SummaryPeriod period;
    period.periodType = m_view ? m_view->type() : int(m_context.settings.view);
    if (m_view)
        m_view->getPeriod(period.start, period.end);
    return period;
}

bool MainFrame::onCommand(int id) {
    Q_EMIT commandRouted(id);
    // The notice of restored timers is said until the user looks at them.
    if ((id == cmd::Timers || id == cmd::CreateNewTimer) && m_menuBar)
        m_menuBar->setTimersNotice({});
    const bool ran = m_undo.run(m_commands, id);
    updateUndoItems();
    return ran;
}

void MainFrame::updateUndoItems() {
    if (!m_menuBar)
        return;
    const UndoHistory& history = m_undo.history();
    m_menuBar->setCommandText(cmd::Undo, history.undoText(), history.canUndo());
    m_menuBar->setCommandText(cmd::Redo, history.redoText(), history.canRedo());
}

}  // namespace tempolatch
