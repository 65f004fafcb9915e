#include "widgets/DesktopStyle.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleFactory>
#include <QStyleOption>

namespace tempolatch {

DesktopStyle::DesktopStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int DesktopStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void DesktopStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    const auto* edit = qobject_cast<const QLineEdit*>(widget);
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element == PE_PanelLineEdit && edit && edit->isReadOnly() && frame) {
        QStyleOptionFrame readOnly(*frame);
        readOnly.palette.setBrush(QPalette::Base, option->palette.window());
        QProxyStyle::drawPrimitive(element, &readOnly, painter, widget);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void DesktopStyle::apply(QApplication& app) {
    // The palette the desktop gave before the style replaces its own.
    const QPalette desktop = QApplication::palette();
    QApplication::setStyle(new DesktopStyle);
    app.setPalette(desktop);
}

}  // namespace tempolatch
