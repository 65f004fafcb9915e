#pragma once

#include <QWidget>

class QCheckBox;
class QSpinBox;

namespace tempolatch {

// An option that is off or a number in a range, on one line: a check box
// with the text before the number, the number, and the text after it. The
// number is offered only while the box is checked.
class OptionalNumber : public QWidget {
    Q_OBJECT
public:
    struct Range {
        int least = 1;
        int most = 99;
        int suggested = 1;  // shown when the option is off
    };

    // `name` names the check box ("name") and the number ("nameValue").
    OptionalNumber(const QString& name, const QString& before, const QString& after, Range range,
                   int value, QWidget* parent = nullptr);

    // The number, or 0 when the option is off.
    int value() const;

private:
    QCheckBox* m_on;
    QSpinBox* m_number;
};

}  // namespace tempolatch
