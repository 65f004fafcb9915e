#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "views/CustomPeriodDialog.h"
#include "views/CustomizeDefaultView.h"
#include "views/NavigationBar.h"
#include "views/PeriodView.h"
#include "views/TreeListOptions.h"
#include "views/ViewCustomization.h"
#include "views/ViewIds.h"
#include "widgets/SwatchPicker.h"

using namespace tempolatch;
using platform::SystemTime;

namespace {

using test::day;

// Runs `action` on the modal dialog that is about to open.
template <typename Dialog, typename Action>
void whenDialogOpens(Action action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        action(dialog);
    });
}

}  // namespace

class NavigationBarTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void buttonsAndKeys() {
        auto view = PeriodView::make(PeriodView::Week, m_env->settings());
        NavigationBar bar(view.get(), QFont());
        auto* next = bar.findChild<QToolButton*>(QStringLiteral("next"));
        auto* previous = bar.findChild<QToolButton*>(QStringLiteral("previous"));
        auto* today = bar.findChild<QToolButton*>(QStringLiteral("gotoToday"));
        QVERIFY(next && previous && today);
        QCOMPARE(next->toolTip(), QStringLiteral("Next Period"));
        QCOMPARE(previous->toolTip(), QStringLiteral("Previous Period"));
        QCOMPARE(today->toolTip(), QStringLiteral("Goto Today"));
        QCOMPARE(bar.titleText(), QStringLiteral("Week Of Dec 6, 2026"));

        next->click();
        QCOMPARE(view->start(), day(2026, 12, 13));
        QCOMPARE(bar.titleText(), QStringLiteral("Week Of Dec 13, 2026"));
        QTest::keyClick(&bar, Qt::Key_Left);
        QTest::keyClick(&bar, Qt::Key_Up);
        QCOMPARE(view->start(), day(2026, 11, 29));
        QTest::keyClick(&bar, Qt::Key_Down);
        QCOMPARE(view->start(), day(2026, 12, 6));
        previous->click();
        today->click();
        QCOMPARE(view->start(), day(2026, 12, 6));

        // The Month bar has the buttons but not the keys; the custom bar has neither.
        auto month = PeriodView::make(PeriodView::Month, m_env->settings());
        NavigationBar monthBar(month.get(), QFont());
        QTest::keyClick(&monthBar, Qt::Key_Right);
        QCOMPARE(month->start(), day(2026, 12, 1));
        QVERIFY(monthBar.findChild<QToolButton*>(QStringLiteral("next")));
        auto custom = PeriodView::make(PeriodView::Custom, m_env->settings());
        NavigationBar customBar(custom.get(), QFont());
        QVERIFY(customBar.findChildren<QToolButton*>().isEmpty());
        // Without buttons it is still as tall as the others.
        QCOMPARE(customBar.sizeHint().height(), bar.sizeHint().height());
        QCOMPARE(customBar.sizeHint().height(), monthBar.sizeHint().height());
    }

    void weekNumberAndCalendar() {
        m_env->settings().setFlag(WeekStartsMonday, true);
        auto view = PeriodView::make(PeriodView::Week, m_env->settings());
        NavigationBar bar(view.get(), QFont());
        bar.show();
        auto* week = bar.findChild<QLabel*>(QStringLiteral("weekNumber"));
        QVERIFY(week);
        QVERIFY(week->isHidden());
        m_env->settings().setFlag(ShowWeekNumbers, true);
        view->reload(0, 0);
        QCOMPARE(week->text(), QStringLiteral("50"));
        QVERIFY(!week->isHidden());

        bar.titleTapped();
        QCalendarWidget* calendar = bar.calendar();
        QVERIFY(calendar && calendar->isVisible());
        // The pop-up is a raised frame around the calendar.
        auto* popup = qobject_cast<QFrame*>(calendar->window());
        QVERIFY(popup && popup != static_cast<QWidget*>(calendar));
        QCOMPARE(popup->frameShape(), QFrame::StyledPanel);
        QVERIFY(popup->frameWidth() > 0);
        QCOMPARE(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
        QCOMPARE(calendar->firstDayOfWeek(), Qt::Monday);
        QCOMPARE(calendar->selectedDate(), QDate(2026, 12, 7));
        Q_EMIT calendar->clicked(QDate(2027, 2, 18));
        QVERIFY(!calendar->isVisible());
        QCOMPARE(view->start(), day(2027, 2, 15));
        QCOMPARE(week->text(), QStringLiteral("7"));
    }

    void monthMenu() {
        auto view = PeriodView::make(PeriodView::Month, m_env->settings());
        NavigationBar bar(view.get(), QFont());
        std::unique_ptr<QMenu> menu(bar.createMonthMenu(nullptr));
        QStringList texts;
        QList<int> checked;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            texts.append(action->text());
            if (action->isChecked())
                checked.append(action->data().toInt());
        }
        QCOMPARE(texts.size(), 12 + 8 + 1);
        QCOMPARE(texts.first(), QStringLiteral("January"));
        QCOMPARE(texts.mid(12, 8).first(), QStringLiteral("2023"));
        QCOMPARE(texts.mid(12, 8).last(), QStringLiteral("2030"));
        QCOMPARE(texts.last(), QStringLiteral("Goto Today"));
        QCOMPARE(checked, (QList<int>{3111, 3200}));

        QVERIFY(bar.runCommand(3103));
        QCOMPARE(view->start(), day(2026, 4, 1));
        QVERIFY(bar.runCommand(3197));
        QCOMPARE(view->start(), day(2023, 4, 1));
        QVERIFY(bar.runCommand(3204));
        QCOMPARE(view->start(), day(2027, 4, 1));
        QCOMPARE(bar.titleText(), QStringLiteral("April 2027"));
        QVERIFY(bar.runCommand(cmd::GotoToday));
        QCOMPARE(view->start(), day(2026, 12, 1));
        QVERIFY(!bar.runCommand(3300));
    }

    void customTitleOpensThePeriodDialog() {
        auto view = PeriodView::make(PeriodView::Custom, m_env->settings());
        view->setPeriod(day(2026, 11, 1), day(2026, 11, 30));
        NavigationBar bar(view.get(), QFont());
        whenDialogOpens<CustomPeriodDialog>([](CustomPeriodDialog* dialog) {
            auto* start = dialog->findChild<QDateEdit*>(QStringLiteral("start"));
            auto* end = dialog->findChild<QDateEdit*>(QStringLiteral("end"));
            QCOMPARE(start->date(), QDate(2026, 11, 1));
            QCOMPARE(end->date(), QDate(2026, 11, 30));
            start->setDate(QDate(2026, 10, 5));
            end->setDate(QDate(2026, 10, 9));
            dialog->accept();
        });
        bar.titleTapped();
        QCOMPARE(bar.titleText(), QStringLiteral("Oct 5, 2026 - Oct 9, 2026"));
        QCOMPARE(m_env->settings().periodStart, day(2026, 10, 5));
        QCOMPARE(m_env->settings().periodEnd, day(2026, 10, 9));
    }

    void customPeriodPreset() {
        Settings settings;
        auto view = PeriodView::make(PeriodView::Month, m_env->settings());
        auto [start, end] = CustomPeriodDialog::preset(settings, view.get());
        QCOMPARE(start, day(2026, 12, 1));
        QCOMPARE(end.date(), QDate(2026, 12, 31));
        CustomPeriodDialog::store(settings, day(2026, 1, 2), day(2026, 1, 9));
        std::tie(start, end) = CustomPeriodDialog::preset(settings, view.get());
        QCOMPARE(start, day(2026, 1, 2));
        QCOMPARE(end, day(2026, 1, 9));
    }

    void customizeDefaultView() {
        Settings settings;
        settings.viewCust = {1, 0x103, 5, 0, 99, 35};
        CustomizeDefaultView sheet(settings);
        auto* mode = sheet.findChild<QComboBox*>(QStringLiteral("entryTime"));
        auto* client = sheet.findChild<QCheckBox*>(QStringLiteral("showClientName"));
        auto* icon = sheet.findChild<QCheckBox*>(QStringLiteral("showStatusIcon"));
        auto* billed = sheet.findChild<SwatchPicker*>(QStringLiteral("billedColour"));
        auto* billable = sheet.findChild<SwatchPicker*>(QStringLiteral("billableColour"));
        QVERIFY(mode && client && icon && billed && billable);
        QCOMPARE(mode->count(), 3);
        QCOMPARE(mode->itemText(2), QStringLiteral("Start, End"));
        QCOMPARE(mode->currentIndex(), 1);
        QVERIFY(client->isChecked() && icon->isChecked());
        QCOMPARE(billed->count(), 36);
        QCOMPARE(billed->currentIndex(), 0);  // an unknown index shows as the default
        mode->setCurrentIndex(2);
        client->setChecked(false);
        // A click on a swatch chooses it.
        auto* swatch = billable->findChild<QAbstractButton*>(QStringLiteral("swatch12"));
        QVERIFY(swatch);
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(billable->currentIndex(), 12);
        QCOMPARE(billable->currentColour(), QColor::fromRgb(*ViewCustomization::paletteRgb(12)));
        sheet.accept();
        QCOMPARE(settings.viewCust, (std::array<quint32, 6>{2, 0x102, 5, 12, 0, 35}));

        Settings untouched;
        CustomizeDefaultView cancelled(untouched);
        cancelled.findChild<QComboBox*>(QStringLiteral("entryTime"))->setCurrentIndex(2);
        cancelled.reject();
        QCOMPARE(untouched.viewCust, Settings().viewCust);
    }

    void treeListOptions() {
        Settings settings;
        settings.treeOptions = 0x100 | 0x1F;
        TreeListOptions dialog(settings);
        dialog.findChild<QCheckBox*>(QStringLiteral("showProject"))->setChecked(false);
        dialog.findChild<QCheckBox*>(QStringLiteral("showAmount"))->setChecked(false);
        dialog.accept();
        QCOMPARE(settings.treeOptions, 0x100u | 0x0Du);
    }
};

TEMPOLATCH_TEST(NavigationBarTest);
#include "NavigationBarTest.moc"
