#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QScreen>
#include <QVBoxLayout>

#include "app/AboutDialog.h"
#include "app/CommandIds.h"
#include "app/DataUpgradeDialog.h"
#include "app/EntryContextMenu.h"
#include "app/HelpWindow.h"
#include "app/MenuBar.h"
#include "app/MenuState.h"
#include "editing/EntryTimer.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/OptionsSheet.h"
#include "settings/Settings.h"
#include "settings/SettingsFonts.h"
#include "store/RecordStore.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

Settings& settings() {
    return Settings::instance();
}

}  // namespace

MainFrame::MainFrame() {
    initResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(resourceString(str::AppName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tempolatch.svg")));

    m_viewArea = new QWidget(this);
    m_viewArea->setObjectName(QStringLiteral("viewArea"));
    auto* layout = new QVBoxLayout(m_viewArea);
    layout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(m_viewArea);

    // Ctrl+Q closes as the close command does; F1 opens the help.
    auto* closeKey = new QAction(this);
    closeKey->setObjectName(QStringLiteral("closeAccelerator"));
    closeKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(closeKey, &QAction::triggered, this, [this] { onCommand(cmd::Close); });
    addAction(closeKey);
    auto* helpKey = new QAction(this);
    helpKey->setObjectName(QStringLiteral("helpKey"));
    helpKey->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpKey, &QAction::triggered, this,
            [] { HelpWindow::showTopic(QStringLiteral("Main_Contents")); });
    addAction(helpKey);

    QSize size(720, 540);
    if (const QScreen* s = screen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size);
}

MainFrame::~MainFrame() {
    // A start that failed at the store saves nothing: the stored settings
    // version must still say that older data awaits its repair.
    if (m_created)
        settings().save();
}

bool MainFrame::create() {
    Settings& s = settings();
    s.load();
    s.setFlag(OwnerBlockOnInvoices, true);
    buildMenuBar();

    RecordStore& store = RecordStore::instance();
    if (!store.openAll(this)) {
        platform::Ui::instance().message(resourceString(str::UnableToOpenDatabase),
                                         platform::MessageIcon::Stop, this);
        return false;
    }
    m_created = true;

    // Entries written by versions before 261 are repaired once, before
    // anything reads them.
    runDataUpgradeIfNeeded(this);

    m_captionFont = createFont(QStringLiteral("Tahoma"), 80, true, false);
    loadEntryFilter();
    m_listFont = createListFont(s, false);
    createListAndView();
    return true;
}

void MainFrame::loadEntryFilter() {
    // The view's entry filter is read from the settings key here.
}

void MainFrame::createListAndView() {
    // The list of the current list style and the period view of the current
    // period type fill the view area; they read and show the entries of the
    // period themselves.
}

void MainFrame::reloadView(int /*selectFlag*/, quint32 /*recordId*/) {
    // Rereads the current period; with the select flag set the entry with
    // that record id is selected.
}

void MainFrame::sortList() {
    // The current list orders its rows by the arrange-by setting.
}

quint32 MainFrame::selectedEntryId() const {
    // No list, no selection.
    return 0;
}

std::optional<int> MainFrame::entryStatus(quint32 recordId) const {
    RecordStore& store = RecordStore::instance();
    if (recordId == 0 || !store.isOpen())
        return std::nullopt;
    TimeEntryDatabase& entries = store.entries();
    TimeEntry entry;
    if (entries.seekRecord(recordId) != recordId ||
        readEntry(entries, entry) != RecordDatabase::Read)
        return std::nullopt;
    return int(entry.status);
}

int MainFrame::clientCount() const {
    RecordStore& store = RecordStore::instance();
    if (!store.isOpen())
        return 0;
    return std::max(0, store.clientStructure().clients.recordCount());
}

void MainFrame::buildMenuBar() {
    if (m_menuBar) {
        // The old bar may be the sender of the command that got us here.
        removeToolBar(m_menuBar);
        m_menuBar->hide();
        m_menuBar->deleteLater();
    }
    const bool softKeys = settings().hasFlag(SoftKeyMenus);
    m_menuBar = new MenuBar(softKeys ? MenuBar::Kind::SoftKeys : MenuBar::Kind::Classic, this);
    addToolBar(softKeys ? Qt::BottomToolBarArea : Qt::TopToolBarArea, m_menuBar);
    connect(m_menuBar, &MenuBar::commandTriggered, this, &MainFrame::onCommand);
    connect(m_menuBar, &MenuBar::popupAboutToShow, this, &MainFrame::preparePopup);
    updateTimersIndicator();
}

void MainFrame::preparePopup(int buttonId) {
    if (buttonId == cmd::ViewButton || buttonId == cmd::MenuButton)
        m_menuBar->applyViewState(viewMenuState(settings()));
    if (buttonId == cmd::ToolsButton || buttonId == cmd::MenuButton)
        m_menuBar->setClientSummaryEnabled(clientSummaryEnabled(clientCount()));
}

void MainFrame::updateTimersIndicator() {
    if (m_menuBar)
        m_menuBar->setTimersInUse(EntryTimerTable::instance().countInUse());
}

void MainFrame::entryTapped() {
    const int id = tapCommand(settings());
    QMetaObject::invokeMethod(
        this, [this, id] { onCommand(id); }, Qt::QueuedConnection);
}

EntryContextMenu* MainFrame::createEntryContextMenu(quint32 recordId) {
    auto* menu = new EntryContextMenu(entryStatus(recordId), this);
    connect(menu, &EntryContextMenu::commandTriggered, this, &MainFrame::onCommand);
    return menu;
}

void MainFrame::showEntryContextMenu(const QPoint& globalPos) {
    std::unique_ptr<EntryContextMenu> menu(createEntryContextMenu(selectedEntryId()));
    menu->exec(globalPos);
}

void MainFrame::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (mustAskBeforeClose(settings(), EntryTimerTable::instance())) {
        bringToFront();
        if (!platform::Ui::instance().question(resourceString(str::TimersRunningCloseQuestion),
                                               this)) {
            event->ignore();
            return;
        }
    }
    event->accept();
    if (HelpWindow* help = HelpWindow::current())
        help->close();
    Q_EMIT closed();
}

void MainFrame::setListStyle(int style) {
    settings().listStyle = quint32(style);
    createListAndView();
}

void MainFrame::setPeriodType(int type) {
    // A custom period is chosen in its own dialog, which the period view
    // brings; the fixed periods only change the type.
    if (type < 1 || type > 3)
        return;
    settings().view = quint32(type);
    createListAndView();
}

void MainFrame::setArrangeBy(int index) {
    settings().sort = quint16(index);
    sortList();
}

void MainFrame::runOptions() {
    const OptionsOutcome outcome = runOptionsSheet(settings(), this);
    // Saved and rebuilt even when cancelled: the sheet may have been
    // opened after changes of the view that are not stored yet.
    settings().save();
    m_listFont = createListFont(settings(), false);
    createListAndView();
    if (outcome.softKeysChanged)
        buildMenuBar();
}

void MainFrame::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainFrame::onCommand(int id) {
    Q_EMIT commandRouted(id);
    switch (id) {
        case cmd::Ok:
        case cmd::Close:
            QMetaObject::invokeMethod(
                this, [this] { close(); }, Qt::QueuedConnection);
            return;
        case cmd::About:
            showAbout();
            return;
        case cmd::Options:
            runOptions();
            return;
        case cmd::PeriodDay:
        case cmd::PeriodWeek:
        case cmd::PeriodMonth:
        case cmd::PeriodCustom:
            setPeriodType(id - cmd::PeriodBase);
            return;
        case cmd::ListStyleDefault:
        case cmd::ListStyleSimple:
        case cmd::ListStyleTree:
            setListStyle(id - cmd::ListStyleBase);
            return;
        case cmd::ArrangeDefault:
        case cmd::ArrangeClient:
        case cmd::ArrangeProject:
        case cmd::ArrangePhase:
        case cmd::ArrangeTask:
        case cmd::ArrangeBillTo:
        case cmd::ArrangeCustom1:
        case cmd::ArrangeCustom2:
        case cmd::ArrangeCustom3:
            setArrangeBy(id - cmd::ArrangeDefault);
            return;

        // Entries: new, edit, preview, copy, notes, timers, marking, deleting.
        case cmd::New:
        case cmd::EditSelected:
        case cmd::Edit:
        case cmd::OpenEntryById:
        case cmd::Preview:
        case cmd::EditNote:
        case cmd::ExportNote:
        case cmd::CreateCopy:
        case cmd::Copy:
        case cmd::CreateNewTimer:
        case cmd::Timers:
        case cmd::MarkAsBilled:
        case cmd::MarkAsPaid:
        case cmd::Delete:
        // The view: customising the list and filtering.
        case cmd::Customize:
        case cmd::FilterShowAll:
        case cmd::FilterUnpaidOnly:
        case cmd::FilterCustom:
        // Reports, summaries, expenses and exports.
        case cmd::ReportGroupBy:
        case cmd::ReportTabular:
        case cmd::ReportInvoice:
        case cmd::ClientSummary:
        case cmd::QuickSummary:
        case cmd::Expenses:
        case cmd::ExportCsv:
        case cmd::ExportXml:
        // Keeping the data: backups, archives, removal.
        case cmd::BackupCreate:
        case cmd::BackupRestore:
        case cmd::ArchiveEntries:
        case cmd::ArchiveLoad:
        case cmd::RemoveAllData:
        // The client structure and the bulk commands.
        case cmd::SetupClients:
        case cmd::SetupRates:
        case cmd::EditDropLists:
        case cmd::ReplaceFieldText:
        case cmd::MarkBilledEntries:
        case cmd::MarkPaidEntries:
            // Each of these opens its own window or runs its operation here,
            // then reloads the view when something changed.
            return;
        default:
            return;
    }
}

}  // namespace tempolatch
