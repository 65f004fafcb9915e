// Build tool: draws the program's SVG icon into a square PNG of the given
// size, so that the fixed-size icons always match the scalable one.
//   tempolatch-icon-render IN.svg SIZE OUT.png
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: tempolatch-icon-render IN.svg SIZE OUT.png\n", stderr);
        return 2;
    }
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!ok || size < 1 || size > 4096 || !renderer.isValid()) {
        std::fprintf(stderr, "tempolatch-icon-render: cannot draw %s at %s px\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "tempolatch-icon-render: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
