#include <QCalendarWidget>
#include <QDateEdit>
#include <QLayout>

#include "common/TestRegistry.h"
#include "widgets/DatePicker.h"

using namespace tempolatch;

class DatePickerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The calendar drops down in a frame of the palette's dark colour, with
    // the calendar inside it; framing twice draws one frame.
    void calendarDropsDownInAFrame_data() {
        QTest::addColumn<int>("how");  // 0 the picker, 1 any date box, 2 framed twice
        QTest::newRow("date picker") << 0;
        QTest::newRow("date box") << 1;
        QTest::newRow("framed twice") << 2;
    }
    void calendarDropsDownInAFrame() {
        QFETCH(int, how);
        QWidget window;
        QDateEdit* edit = how == 0 ? createDatePicker(QStringLiteral("day"), &window)
                                   : new QDateEdit(&window);
        if (how > 0)
            useFramedCalendar(edit);
        if (how == 2)
            useFramedCalendar(edit);
        QVERIFY(edit->calendarPopup());
        QCalendarWidget* calendar = edit->calendarWidget();
        QWidget* popup = calendar->parentWidget();
        QVERIFY(popup && popup->isWindow());
        QPalette palette = popup->palette();
        palette.setColor(QPalette::Dark, QColor(10, 20, 30));
        popup->setPalette(palette);
        QVERIFY(popup->layout());
        popup->layout()->activate();
        popup->resize(popup->sizeHint());
        QCOMPARE(calendar->geometry().topLeft(), QPoint(1, 1));
        const QImage image = popup->grab().toImage();
        const int middle = image.height() / 2;
        QCOMPARE(image.pixelColor(0, middle), QColor(10, 20, 30));
        QCOMPARE(image.pixelColor(image.width() - 1, middle), QColor(10, 20, 30));
    }
};

TEMPOLATCH_TEST(DatePickerTest);
#include "DatePickerTest.moc"
