#pragma once

#include <QCalendarWidget>
#include <QFont>
#include <QPointer>
#include <QWidget>

class QLabel;
class QMenu;
class QToolButton;

namespace tempolatch {

class CommandTable;
class PeriodView;

// The keys of the bar's period commands: Ctrl or Alt+Left and Right, Ctrl+T.
void addPeriodKeys(CommandTable& table);

// The bar across the top of a period view: the period's title, the week
// number, and Goto Today, Previous Period and Next Period. Tapping the
// title opens a calendar (Day, Week), the month menu (Month) or the custom
// period dialog (Custom).
class NavigationBar : public QWidget {
    Q_OBJECT

public:
    NavigationBar(PeriodView* view, const QFont& captionFont, QWidget* parent = nullptr);
    ~NavigationBar() override;

    PeriodView* view() const { return m_view; }
    QString titleText() const;
    QString weekNumberText() const;

    // Commands 110-112 and those of the month menu.
    bool runCommand(int id);
    // The month menu as it would open now; the caller owns it.
    QMenu* createMonthMenu(QWidget* parent);
    // The drop-down calendar, once the title of a Day or Week bar was tapped.
    QCalendarWidget* calendar() const { return m_calendar; }

public Q_SLOTS:
    void titleTapped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void showCalendar();
    void showMonthMenu();
    void editCustomPeriod();
    QToolButton* addButton(int command, const QString& icon, int tooltip);

    PeriodView* m_view;
    QWidget* m_title;
    QLabel* m_weekNumber;
    QPointer<QCalendarWidget> m_calendar;
};

}  // namespace tempolatch
