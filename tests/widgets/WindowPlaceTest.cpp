#include <QDebug>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "widgets/WindowPlace.h"

using namespace tempolatch;

namespace {

const QString kWindowKey = QStringLiteral("Software\\Tempolatch\\Window");

QRect availableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A dialog that keeps its place as `name`, shown at `place` and closed.
void leaveDialogAt(const QString& name, const QRect& place) {
    QDialog dialog;
    keepWindowPlace(&dialog, test::TestEnvironment::current().registry(), name);
    dialog.show();
    dialog.setGeometry(place);
    dialog.reject();
}

}  // namespace

class WindowPlaceTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // Places just inside, just across each edge, and larger than the area.
    void placesAreFittedInsideTheArea_data() {
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("inside") << QRect(10, 20, 300, 200) << QRect(10, 20, 300, 200);
        QTest::newRow("filling the area") << QRect(0, 0, 800, 600) << QRect(0, 0, 800, 600);
        QTest::newRow("one past the right") << QRect(501, 0, 300, 200) << QRect(500, 0, 300, 200);
        QTest::newRow("one past the bottom") << QRect(0, 401, 300, 200) << QRect(0, 400, 300, 200);
        QTest::newRow("left of the area") << QRect(-1, 5, 300, 200) << QRect(0, 5, 300, 200);
        QTest::newRow("above the area") << QRect(5, -40, 300, 200) << QRect(5, 0, 300, 200);
        QTest::newRow("one wider") << QRect(0, 0, 801, 200) << QRect(0, 0, 800, 200);
        QTest::newRow("on a second screen") << QRect(1920, 100, 1200, 900) << QRect(0, 0, 800, 600);
        QTest::newRow("empty") << QRect() << QRect();
    }
    void placesAreFittedInsideTheArea() {
        QFETCH(QRect, place);
        QFETCH(QRect, fitted);
        QCOMPARE(fittedPlace(place, QRect(0, 0, 800, 600)), fitted);
    }

    // Left on a larger screen, or on this one beyond its edges: the dialog
    // comes back inside this screen's area, frame and all; a place that
    // fits comes back as it was left.
    void aDialogComesBackInsideTheScreen_data() {
        QTest::addColumn<QRect>("left");
        QTest::addColumn<bool>("onThisScreen");  // else only the last place on any screen
        const QRect area = availableArea();
        const QRect fits(area.left() + 30, area.top() + 40, 320, 240);
        const QRect large(area.left() + 200, area.top() + 100, area.width() + 600,
                          area.height() + 400);
        QTest::newRow("fits, this screen") << fits << true;
        QTest::newRow("fits, another screen") << fits << false;
        QTest::newRow("larger, this screen") << large << true;
        QTest::newRow("larger, another screen") << large << false;
    }
    void aDialogComesBackInsideTheScreen() {
        QFETCH(QRect, left);
        QFETCH(bool, onThisScreen);
        const QString name = QStringLiteral("Sample");
        leaveDialogAt(name, left);
        const QString screenValue = windowPlaceName(name, QGuiApplication::primaryScreen());
        QVERIFY(m_env->registry().readBytes(kWindowKey, screenValue));
        if (!onThisScreen)
            QVERIFY(m_env->registry().deleteValue(kWindowKey, screenValue));

        QDialog again;
        keepWindowPlace(&again, m_env->registry(), name);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        // With its frame.
        QVERIFY2(availableArea().contains(again.frameGeometry()),
                 qPrintable(QDebug::toString(again.frameGeometry())));
        if (availableArea().contains(left))
            QCOMPARE(again.geometry(), left);
    }

    // Each name keeps its own place; a name never left keeps its own size.
    void eachWindowKeepsItsOwnPlace() {
        const QRect area = availableArea();
        leaveDialogAt(QStringLiteral("First"),
                      QRect(area.topLeft() + QPoint(10, 10), QSize(300, 200)));
        leaveDialogAt(QStringLiteral("Second"),
                      QRect(area.topLeft() + QPoint(50, 60), QSize(250, 180)));
        QDialog first;
        QVERIFY(restoreWindowPlace(&first, m_env->registry(), QStringLiteral("First")));
        QCOMPARE(first.geometry().size(), QSize(300, 200));
        QDialog second;
        QVERIFY(restoreWindowPlace(&second, m_env->registry(), QStringLiteral("Second")));
        QCOMPARE(second.geometry().topLeft(), area.topLeft() + QPoint(50, 60));
        QDialog never;
        never.resize(222, 111);
        QVERIFY(!restoreWindowPlace(&never, m_env->registry(), QStringLiteral("Never")));
        QCOMPARE(never.size(), QSize(222, 111));
    }
};

TEMPOLATCH_TEST(WindowPlaceTest);
#include "WindowPlaceTest.moc"
