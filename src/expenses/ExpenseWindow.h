#pragma once

#include <QDialog>
#include <QFont>
#include <QHash>
#include <functional>
#include <memory>
#include <optional>

#include "editing/CommandUndo.h"
#include "widgets/CommandTable.h"

class QLabel;
class QMenu;
class QMenuBar;

namespace tempolatch {

struct Context;
class EntryContextMenu;
class EntryListWidget;
class ExpenseFilter;
class ExpenseRecords;
class NavigationBar;
class PeriodView;
class SearchBox;

// Command ids of the expense window beside the main window's.
namespace cmd {
inline constexpr int NewMileageExpense = 40275;
inline constexpr int NewGeneralExpense = 40276;
inline constexpr int ExportMileageCsv = 40278;
inline constexpr int ExportGeneralCsv = 40279;
inline constexpr int ReportMileage = 40280;
inline constexpr int ReportGeneral = 40281;
}  // namespace cmd

// The expense window: the expenses of a day, week or month in the Default
// or Simple list, with its own menu bar ("New" and "Menu"), filter and
// order, over the period views, lists and navigation bar of the main
// window. Commands that have no handler are greyed.
class ExpenseWindow : public QDialog {
    Q_OBJECT
public:
    // The fonts are the main window's: the list's and the bar's caption.
    // `filter` is the one the window shows its expenses through, kept by its
    // opener from one opening to the next; without one the window has its own.
    // So is `history`, the steps Edit > Undo takes back.
    ExpenseWindow(Context& context, const QFont& listFont, const QFont& captionFont,
                  QWidget* parent = nullptr, ExpenseFilter* filter = nullptr,
                  UndoHistory* history = nullptr);
    // The list goes before the window: the Simple list keeps its columns.
    ~ExpenseWindow() override;

    // Runs the command's handler; false when it has none.
    bool onCommand(int id);
    CommandTable& commands() { return m_commands; }

    QMenuBar* commandBar() const { return m_menuBar; }
    // The action of a menu command; nullptr when the menus lack it.
    QAction* command(int id) const;
    PeriodView* periodView() const { return m_view.get(); }
    EntryListWidget* entryList() const { return m_list; }
    NavigationBar* navigationBar() const { return m_bar; }
    QLabel* totalsLine() const { return m_totals; }
    SearchBox* searchBox() const { return m_search; }

    // The context menu of an expense (record id 0: none), ready to show.
    EntryContextMenu* createContextMenu(quint32 recordId);

private:
    void registerCommands();
    void addKeys();
    void buildMenus();
    void updateUndoItems();
    void prepareMenu();
    QAction* addCommand(QMenu* menu, int id, const QString& text, bool radio = false);
    void createList();
    void replaceView(int type);
    void setPeriodType(int type);
    void setListStyle(int style);
    void setArrangeBy(int index);
    void filterChanged();
    void filterCustom();
    void reload(int selectFlag, quint32 recordId);
    void showTotals();
    void postCommand(int id);
    void showContextMenu(const QPoint& globalPos);
    quint32 selected() const;

    // The commands on expenses.
    void newExpense(int type);
    void edit(int page);
    void preview();
    void saved(std::optional<quint32> recordId, bool select);
    void mark(int id);
    void deleteSelected();
    void createCopy();
    void copyToDays();
    void markChosen(int id);
    void exportNote();

    Context& m_context;
    QFont m_listFont;
    QFont m_captionFont;
    CommandTable m_commands;
    std::unique_ptr<UndoHistory> m_ownHistory;
    CommandUndo m_undo;
    QMenuBar* m_menuBar = nullptr;
    QHash<int, QAction*> m_actions;
    QMenu* m_arrangeBy = nullptr;
    QWidget* m_viewArea = nullptr;
    EntryListWidget* m_list = nullptr;
    std::unique_ptr<ExpenseFilter> m_ownFilter;
    ExpenseFilter& m_filter;
    std::unique_ptr<ExpenseRecords> m_records;
    std::unique_ptr<PeriodView> m_view;
    NavigationBar* m_bar = nullptr;
    QLabel* m_totals = nullptr;
    SearchBox* m_search = nullptr;
};

// Registers the main window's Expenses... (40274): the expense window,
// given the main window's fonts as they are when it opens. `addCommands`
// (when set) gives each new window the handlers that live in other areas
// (exports, summaries, reports) before it is shown.
void registerExpenseCommands(CommandTable& table, Context& context, QWidget* parent,
                             std::function<QFont()> listFont, std::function<QFont()> captionFont,
                             std::function<void(ExpenseWindow&)> addCommands = {});

}  // namespace tempolatch
