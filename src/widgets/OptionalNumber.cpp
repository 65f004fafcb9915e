#include "widgets/OptionalNumber.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace tempolatch {

OptionalNumber::OptionalNumber(const QString& name, const QString& before, const QString& after,
                               Range range, int value, QWidget* parent)
    : QWidget(parent), m_on(new QCheckBox(before, this)), m_number(new QSpinBox(this)) {
    const bool on = value >= range.least && value <= range.most;
    m_on->setObjectName(name);
    m_on->setChecked(on);
    m_number->setObjectName(name + QStringLiteral("Value"));
    m_number->setRange(range.least, range.most);
    m_number->setValue(on ? value : range.suggested);
    m_number->setEnabled(on);
    connect(m_on, &QCheckBox::toggled, m_number, &QWidget::setEnabled);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_on);
    layout->addWidget(m_number);
    auto* rest = new QLabel(after.trimmed(), this);
    rest->setBuddy(m_number);
    layout->addWidget(rest);
    layout->addStretch();
}

int OptionalNumber::value() const {
    return m_on->isChecked() ? m_number->value() : 0;
}

}  // namespace tempolatch
