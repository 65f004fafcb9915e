#pragma once

#include <QProxyStyle>

class QApplication;

namespace tempolatch {

// One look for every window: Qt's Fusion in the desktop's own palette,
// buttons of message boxes and dialogs without stock icons, and read-only
// boxes on the window's colour so that they do not look like places to
// type in.
class DesktopStyle : public QProxyStyle {
public:
    DesktopStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

    // Puts the style on the application, keeping the desktop's palette.
    static void apply(QApplication& app);
};

}  // namespace tempolatch
