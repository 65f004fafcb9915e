#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "common/TestRegistry.h"
#include "widgets/DesktopStyle.h"

using namespace tempolatch;

class DesktopStyleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The buttons of dialogs and message boxes carry their words only.
    void dialogButtonsHaveNoStockIcons_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("OK") << int(QDialogButtonBox::Ok);
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel);
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes);
        QTest::newRow("No") << int(QDialogButtonBox::No);
        QTest::newRow("Close") << int(QDialogButtonBox::Close);
    }
    void dialogButtonsHaveNoStockIcons() {
        QFETCH(int, button);
        DesktopStyle style;
        QDialogButtonBox box;
        box.setStyle(&style);
        QPushButton* pushed = box.addButton(QDialogButtonBox::StandardButton(button));
        QVERIFY(pushed);
        QVERIFY(pushed->icon().isNull());
        QVERIFY(style.baseStyle()->objectName().compare(QLatin1String("fusion"),
                                                         Qt::CaseInsensitive) == 0);
    }

    // A read-only box is filled with the window's colour, one to type in
    // with the base colour.
    void readOnlyBoxesLookReadOnly_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("editable") << false;
        QTest::newRow("read-only") << true;
    }
    void readOnlyBoxesLookReadOnly() {
        QFETCH(bool, readOnly);
        DesktopStyle style;
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(255, 255, 255));
        palette.setColor(QPalette::Window, QColor(220, 200, 160));
        QLineEdit edit;
        edit.setStyle(&style);
        edit.setPalette(palette);
        edit.setReadOnly(readOnly);
        edit.resize(120, 30);
        const QImage image = edit.grab().toImage();
        const QColor inside = image.pixelColor(image.width() / 2, image.height() / 2);
        QCOMPARE(inside, readOnly ? palette.color(QPalette::Window) : palette.color(QPalette::Base));
        // Either way the box keeps its frame: a line darker than both.
        const QColor edge = image.pixelColor(0, image.height() / 2).lightness() <
                                    image.pixelColor(1, image.height() / 2).lightness()
                                ? image.pixelColor(0, image.height() / 2)
                                : image.pixelColor(1, image.height() / 2);
        QVERIFY(edge.lightness() < palette.color(QPalette::Window).lightness());
    }
};

TEMPOLATCH_TEST(DesktopStyleTest);
#include "DesktopStyleTest.moc"
