#pragma once

#include <QFont>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "editing/CommandUndo.h"
#include "platform/FileTime.h"
#include "records/EntryFilter.h"
#include "reports/Summaries.h"
#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"
#include "widgets/CommandTable.h"

class QAction;
class QKeySequence;
class QLabel;

namespace tempolatch {

struct Context;
class MenuBar;
class Settings;
class EntryContextMenu;
class EntryListWidget;
class NavigationBar;
class PeriodView;
class QuickEntryBar;
class SearchBox;
class StoreWatcher;
class TimeEntry;
class TimeEntryRecords;
class TimerKeeper;
class TimerStrip;
class TimerTray;

// The main window: its menu bar, the command routing, the view area with the
// period view and the entry list, and the close question.
class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Works with the context's store, settings and message boxes; the
    // context outlives the window.
    explicit MainFrame(Context& context);
    // Saves the settings, unless the start failed before the store opened.
    ~MainFrame() override;

    // Loads the settings, builds the menu bar, opens the store (message 90
    // and false when it cannot be opened), repairs data of older versions,
    // then sets up fonts, filter, list and period view.
    bool create();

    // Every command of the window arrives here, whatever sent it, and runs
    // its handler; false when the command has none (its items are greyed).
    bool onCommand(int id);
    // The handlers of the window's commands, registered by the areas that
    // own them. Register before the bars are built: they grey what has none.
    CommandTable& commands() { return m_commands; }

    MenuBar* commandBar() const { return m_menuBar; }
    QWidget* viewArea() const { return m_viewArea; }
    // The period view and the entry list of the view area.
    PeriodView* periodView() const { return m_view.get(); }
    EntryListWidget* entryList() const { return m_list; }
    NavigationBar* navigationBar() const { return m_bar; }
    // The quick entry line and the search box above the list.
    QuickEntryBar* quickEntry() const { return m_quickEntry; }
    SearchBox* searchBox() const { return m_search; }
    StoreWatcher* storeWatcher() const { return m_watcher; }

    // Checks and greys the items of a popup that is about to open
    // (40031 View, 40006 Tools, 117 the soft-key Menu).
    void preparePopup(int buttonId);
    // After any change of the timer table.
    void updateTimersIndicator();
    // The timers' tick and their keeping in the profile.
    TimerKeeper* timers() const { return m_timers; }
    EntryTimerTable& timerTable() { return m_timerTable; }
    TimerTray* timerTray() const { return m_tray; }
    TimerStrip* timerStrip() const { return m_strip; }

    // An entry of the Default list was tapped: Preview or Edit, by the
    // item-tap option, once the list has finished with the tap.
    void entryTapped();
    // The context menu of an entry (record id 0: none), built and ready to
    // show; its commands come here.
    EntryContextMenu* createEntryContextMenu(quint32 recordId);
    // The context menu of the selected entry at a screen point.
    void showEntryContextMenu(const QPoint& globalPos);

    // A later start of the program asked for this window.
    void bringToFront();
    // Offers to restore, load or import a file of ours (empty: nothing).
    void openDataFile(const QString& path);

Q_SIGNALS:
    void commandRouted(int id);
    // The window was closed for good; the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The strip of running timers above the list, and the title that shows them.
    void createTimerStrip();
    void placeTimerStrip();
    // The quick entry line and the search box, above the list.
    void createEntryTools();
    void searchFor(const QString& words);
    // What becomes of the timers in use at quit; nullopt: the user stays.
    std::optional<TimerKeeper::AtQuit> askAboutTimers();
    void registerCommands();
    // The period the view shows, with its type, for the summaries and exports.
    SummaryPeriod shownSummaryPeriod() const;
    // Runs a command once the current one has returned.
    void postCommand(int id);
    void buildMenuBar();
    void addKeyboardShortcuts();
    // A key that puts the focus in one of the lines above the list.
    void focusKey(const QKeySequence& keys, const QString& name,
                  const std::function<void()>& focus);
    // Edit > Undo and Redo with the names of their steps.
    void updateUndoItems();
    void loadEntryFilter();
    void createListAndView();
    void reloadView(int selectFlag, quint32 recordId);
    // After the entry editor: reload and select the saved entry.
    void entrySaved(std::optional<quint32> recordId);
    // The period's totals in the status line, after every load.
    void showTotals();
    // A line naming the filter in effect, with Show All; hidden without one.
    void showFilterLine();
    platform::SystemTime newEntryDay() const;
    void sortList();
    quint32 selectedEntryId() const;
    void removeSelectedRow(const TimeEntry& deleted);
    std::pair<platform::SystemTime, platform::SystemTime> shownPeriod() const;
    std::optional<int> entryStatus(quint32 recordId) const;
    int clientCount() const;

    void setListStyle(int style);
    void setPeriodType(int type);
    void runCustomPeriod();
    void setArrangeBy(int index);
    void customizeList();
    void filterShowAll();
    void filterUnpaidOnly();
    void filterCustom();
    void destroyListAndView();
    void replaceView(int type);
    void runOptions();
    // Opens the store the profile was just connected to; when it cannot
    // be opened, goes back to `previous` (a server's address, or empty for
    // the file), saying why.
    void openChosenStore(const QString& previous);
    void showAbout();
    // Timers a killed or crashed run left behind come back, said once.
    void restoreTimers();

    Settings& settings() const;

    Context& m_context;
    // What the view shows of the period; kept in the registry.
    EntryFilter m_filter;
    // The four timer slots; the keeper saves and restores them.
    EntryTimerTable m_timerTable;
    bool m_created = false;
    CommandTable m_commands;
    // The steps of the session that Edit > Undo takes back.
    UndoHistory m_undoHistory;
    CommandUndo m_undo;
    MenuBar* m_menuBar = nullptr;
    QWidget* m_viewArea = nullptr;
    QFont m_listFont;
    QFont m_captionFont;
    EntryListWidget* m_list = nullptr;
    std::unique_ptr<TimeEntryRecords> m_records;
    std::unique_ptr<PeriodView> m_view;
    NavigationBar* m_bar = nullptr;
    QLabel* m_totals = nullptr;
    QLabel* m_filterLine = nullptr;
    StoreWatcher* m_watcher = nullptr;
    TimerKeeper* m_timers = nullptr;
    TimerTray* m_tray = nullptr;
    TimerStrip* m_strip = nullptr;
    QuickEntryBar* m_quickEntry = nullptr;
    SearchBox* m_search = nullptr;
};

}  // namespace tempolatch
