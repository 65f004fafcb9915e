#include "widgets/SwatchPicker.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace tempolatch {

namespace {

// One swatch: its colour in a frame, a thicker frame in the highlight
// colour when pressed.
class SwatchButton : public QAbstractButton {
public:
    SwatchButton(const QColor& colour, QWidget* parent) : QAbstractButton(parent), m_colour(colour) {
        setCheckable(true);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }
    QSize sizeHint() const override {
        const int side = fontMetrics().height() + 6;
        return {side, side};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
        if (isChecked() || hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(outer, 3, 3);
        }
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(m_colour);
        painter.drawRoundedRect(outer.adjusted(3, 3, -3, -3), 2, 2);
    }

private:
    QColor m_colour;
};

}  // namespace

SwatchPicker::SwatchPicker(const QList<Swatch>& swatches, int columns, QWidget* parent)
    : QWidget(parent), m_swatches(swatches), m_group(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    m_group->setExclusive(true);
    for (int i = 0; i < count(); ++i) {
        auto* button = new SwatchButton(m_swatches[i].colour, this);
        button->setObjectName(QStringLiteral("swatch%1").arg(i));
        button->setToolTip(m_swatches[i].name);
        button->setAccessibleName(m_swatches[i].name);
        m_group->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    grid->setColumnStretch(columns, 1);
    setCurrentIndex(0);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            Q_EMIT currentIndexChanged(id);
    });
}

int SwatchPicker::currentIndex() const {
    return m_group->checkedId();
}

void SwatchPicker::setCurrentIndex(int index) {
    // An index out of range shows as the first swatch.
    QAbstractButton* button = m_group->button(index);
    if (!button)
        button = m_group->button(0);
    if (button)
        button->setChecked(true);
}

QColor SwatchPicker::currentColour() const {
    const int index = currentIndex();
    return index >= 0 ? m_swatches[index].colour : QColor();
}

}  // namespace tempolatch
