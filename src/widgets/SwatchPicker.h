#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

class QButtonGroup;

namespace tempolatch {

// A colour chosen from swatches: a grid of small buttons, each filled with
// its colour, one of them pressed. Index 0 may be a "Default" swatch (drawn
// with its colour and named so in its tooltip).
class SwatchPicker : public QWidget {
    Q_OBJECT
public:
    struct Swatch {
        QColor colour;
        QString name;  // the tooltip
    };

    SwatchPicker(const QList<Swatch>& swatches, int columns, QWidget* parent = nullptr);

    int count() const { return int(m_swatches.size()); }
    int currentIndex() const;
    // An index out of range chooses the first swatch.
    void setCurrentIndex(int index);
    QColor currentColour() const;

Q_SIGNALS:
    void currentIndexChanged(int index);

private:
    QList<Swatch> m_swatches;
    QButtonGroup* m_group;
};

}  // namespace tempolatch
