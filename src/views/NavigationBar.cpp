#include "views/NavigationBar.h"

#include <QActionGroup>
#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "views/CustomPeriodDialog.h"
#include "views/PeriodView.h"
#include "views/ViewIcons.h"
#include "views/ViewIds.h"
#include "widgets/CommandKeys.h"

namespace tempolatch {

using platform::SystemTime;

namespace {

// The title: one line, left-aligned, cut with an ellipsis; a tap on it is
// the bar's title tap.
class BarTitle : public QWidget {
public:
    BarTitle(NavigationBar* bar) : QWidget(bar), m_bar(bar) {
        setObjectName(QStringLiteral("title"));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        setCursor(Qt::PointingHandCursor);
    }
    QSize sizeHint() const override {
        return {fontMetrics().horizontalAdvance(m_bar->titleText()), fontMetrics().height()};
    }
    QSize minimumSizeHint() const override { return {0, fontMetrics().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QString text = fontMetrics().elidedText(m_bar->titleText(), Qt::ElideRight, width());
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            m_bar->titleTapped();
    }

private:
    NavigationBar* m_bar;
};

}  // namespace

NavigationBar::NavigationBar(PeriodView* view, const QFont& captionFont, QWidget* parent)
    : QWidget(parent), m_view(view) {
    setObjectName(QStringLiteral("navigationBar"));
    setFocusPolicy(Qt::ClickFocus);
    setFont(captionFont);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 2, 3);
    layout->setSpacing(2);
    m_title = new BarTitle(this);
    layout->addWidget(m_title, 1);
    m_weekNumber = new QLabel(this);
    m_weekNumber->setObjectName(QStringLiteral("weekNumber"));
    m_weekNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(m_weekNumber);
    if (!m_view->canStep()) {
        // No buttons (the custom period): as tall as the bars with them.
        QToolButton probe;
        probe.setIcon(ViewIcons::icon(QStringLiteral("nav-today")));
        probe.setAutoRaise(true);
        m_title->setMinimumHeight(probe.sizeHint().height());
    } else {
        // From the right edge leftwards: Next, Previous, Goto Today.
        layout->addWidget(addButton(cmd::GotoToday, QStringLiteral("nav-today"), str::GotoToday));
        layout->addWidget(
            addButton(cmd::PreviousPeriod, QStringLiteral("nav-previous"), str::PreviousPeriod));
        layout->addWidget(addButton(cmd::NextPeriod, QStringLiteral("nav-next"), str::NextPeriod));
    }
    connect(m_view, &PeriodView::reloaded, this, &NavigationBar::refresh);
    refresh();
}

NavigationBar::~NavigationBar() = default;

QToolButton* NavigationBar::addButton(int command, const QString& icon, int tooltip) {
    auto* button = new QToolButton(this);
    static const QHash<int, QString> kNames = {{cmd::GotoToday, QStringLiteral("gotoToday")},
                                               {cmd::PreviousPeriod, QStringLiteral("previous")},
                                               {cmd::NextPeriod, QStringLiteral("next")}};
    button->setObjectName(kNames.value(command));
    button->setIcon(ViewIcons::icon(icon));
    button->setToolTip(resourceString(tooltip));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
    return button;
}

QString NavigationBar::titleText() const {
    return m_view->title();
}

QString NavigationBar::weekNumberText() const {
    const int week = m_view->weekNumber();
    return week > 0 ? QString::number(week) : QString();
}

void NavigationBar::refresh() {
    const QString week = weekNumberText();
    m_weekNumber->setText(week);
    m_weekNumber->setVisible(!week.isEmpty());
    m_title->updateGeometry();
    update();
    m_title->update();
}

void NavigationBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int line = qMax(1, logicalDpiY() / 96);
    painter.fillRect(0, height() - line, width(), line, palette().color(QPalette::Dark));
}

void NavigationBar::keyPressEvent(QKeyEvent* event) {
    const int type = m_view->type();
    if (type == PeriodView::Day || type == PeriodView::Week) {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                m_view->previous();
                return;
            case Qt::Key_Right:
            case Qt::Key_Down:
                m_view->next();
                return;
            default:
                break;
        }
    }
    QWidget::keyPressEvent(event);
}

bool NavigationBar::runCommand(int id) {
    if (id == cmd::GotoToday) {
        m_view->today();
    } else if (id == cmd::PreviousPeriod) {
        m_view->previous();
    } else if (id == cmd::NextPeriod) {
        m_view->next();
    } else if (id >= cmd::MonthFirst && id < cmd::MonthFirst + 12) {
        SystemTime start = m_view->start();
        start.month = quint16(id - cmd::MonthFirst + 1);
        start.day = 1;
        m_view->setPeriod(start, start);
    } else if (id >= cmd::YearFirst && id <= cmd::YearLast) {
        SystemTime start = m_view->start();
        start.year = quint16(start.year + id - 3200);
        start.day = 1;
        m_view->setPeriod(start, start);
    } else {
        return false;
    }
    return true;
}

void NavigationBar::titleTapped() {
    switch (m_view->type()) {
        case PeriodView::Day:
        case PeriodView::Week:
            showCalendar();
            break;
        case PeriodView::Month:
            showMonthMenu();
            break;
        default:
            editCustomPeriod();
            break;
    }
}

void NavigationBar::showCalendar() {
    if (m_calendar && m_calendar->isVisible()) {
        m_calendar->window()->hide();
        return;
    }
    if (!m_calendar) {
        // A pop-up in a raised frame: a tap anywhere else closes it.
        auto* popup = new QFrame(this, Qt::Popup);
        popup->setObjectName(QStringLiteral("calendarPopup"));
        popup->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        popup->setLineWidth(1);
        m_calendar = new QCalendarWidget(popup);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->setLocale(platform::Locale::current());
        auto* frameLayout = new QVBoxLayout(popup);
        frameLayout->setContentsMargins(2, 2, 2, 2);
        frameLayout->addWidget(m_calendar);
        m_calendar->setMinimumSize(m_calendar->minimumSizeHint().expandedTo(QSize(168, 153)));
        auto choose = [this](const QDate& date) {
            m_calendar->window()->hide();
            const SystemTime day = periodmath::dateOnly(SystemTime{
                quint16(date.year()), quint16(date.month()), 0, quint16(date.day()), 0, 0, 0, 0});
            m_view->setPeriod(day, day);
        };
        connect(m_calendar, &QCalendarWidget::clicked, this, choose);
        connect(m_calendar, &QCalendarWidget::activated, this, choose);
    }
    const Settings& settings = m_view->settings();
    m_calendar->setFirstDayOfWeek(settings.hasFlag(WeekStartsMonday) ? Qt::Monday : Qt::Sunday);
    m_calendar->setVerticalHeaderFormat(settings.hasFlag(ShowWeekNumbers)
                                            ? QCalendarWidget::ISOWeekNumbers
                                            : QCalendarWidget::NoVerticalHeader);
    m_calendar->setSelectedDate(m_view->start().date());
    QWidget* popup = m_calendar->window();
    popup->adjustSize();
    popup->move(mapToGlobal(QPoint(m_title->x(), height())));
    popup->show();
    m_calendar->setFocus();
}

QMenu* NavigationBar::createMonthMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("monthMenu"));
    const SystemTime start = m_view->start();
    auto addChoice = [menu](const QString& text, int id, QActionGroup* group, bool checked) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        action->setCheckable(true);
        action->setChecked(checked);
        action->setActionGroup(group);
    };
    auto* months = new QActionGroup(menu);
    const QLocale locale = platform::Locale::current();
    for (int m = 1; m <= 12; ++m)
        addChoice(locale.standaloneMonthName(m, QLocale::LongFormat), cmd::MonthFirst + m - 1,
                  months, m == start.month);
    menu->addSeparator();
    auto* years = new QActionGroup(menu);
    for (int id = cmd::YearFirst; id <= cmd::YearLast; ++id) {
        const int year = start.year + id - 3200;
        addChoice(QString::asprintf("%d", year), id, years, year == start.year);
    }
    menu->addSeparator();
    menu->addAction(resourceString(str::GotoToday))->setData(cmd::GotoToday);
    return menu;
}

void NavigationBar::showMonthMenu() {
    std::unique_ptr<QMenu> menu(createMonthMenu(this));
    const QAction* chosen = menu->exec(mapToGlobal(QPoint(m_title->x(), height())));
    if (chosen)
        runCommand(chosen->data().toInt());
}

void NavigationBar::editCustomPeriod() {
    CustomPeriodDialog dialog(this);
    SystemTime start, end;
    m_view->getPeriod(start, end);
    dialog.setPeriod(start, end);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CustomPeriodDialog::store(m_view->settings(), dialog.start(), dialog.end());
    m_view->setPeriod(dialog.start(), dialog.end());
}

void addPeriodKeys(CommandTable& table) {
    using K = QKeySequence;
    addCommandKeys(table, {{cmd::PreviousPeriod,
                            {K(Qt::CTRL | Qt::Key_Left), K(Qt::ALT | Qt::Key_Left)},
                            "Previous period"},
                           {cmd::NextPeriod,
                            {K(Qt::CTRL | Qt::Key_Right), K(Qt::ALT | Qt::Key_Right)},
                            "Next period"},
                           {cmd::GotoToday, {K(Qt::CTRL | Qt::Key_T)}, "Today"}});
}

}  // namespace tempolatch
