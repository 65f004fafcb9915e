#include <QImage>

#include "common/TestRegistry.h"
#include "views/EntryRow.h"
#include "views/ViewIcons.h"

using namespace tempolatch;

class ViewIconsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every image of the tree list is told apart from every other at list
    // size: the groups, the four statuses and the start and end times.
    void treeImagesAreDistinct() {
        QList<QImage> images;
        QStringList names;
        for (int image = TreeImageDate; image <= TreeImageTime; ++image) {
            const QIcon icon = ViewIcons::treeIcon(image, false);
            QVERIFY2(!icon.isNull(), qPrintable(ViewIcons::treeImageName(image)));
            images.append(icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32));
            names.append(ViewIcons::treeImageName(image));
        }
        for (int a = 0; a < images.size(); ++a)
            for (int b = a + 1; b < images.size(); ++b)
                QVERIFY2(images[a] != images[b], qPrintable(names[a] + " = " + names[b]));
    }

    // Billable and the times were both a blue clock; they differ in more
    // than a few pixels now.
    void billableIsNotAClock() {
        const auto image = [](int tree) {
            return ViewIcons::treeIcon(tree, false).pixmap(16, 16).toImage().convertToFormat(
                QImage::Format_ARGB32);
        };
        const QImage billable = image(TreeImageStatus + 1);
        const QImage times = image(TreeImageTime);
        int differing = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAbs(qGray(billable.pixel(x, y)) - qGray(times.pixel(x, y))) > 60)
                    ++differing;
        QVERIFY2(differing > 40, qPrintable(QString::number(differing)));
    }
};

TEMPOLATCH_TEST(ViewIconsTest);
#include "ViewIconsTest.moc"
