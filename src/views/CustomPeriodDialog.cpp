#include "views/CustomPeriodDialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "platform/Clock.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "views/PeriodView.h"
#include "widgets/DatePicker.h"

namespace tempolatch {

using platform::SystemTime;

namespace {

SystemTime fromDate(const QDate& date) {
    return periodmath::dateOnly(SystemTime{quint16(date.year()), quint16(date.month()), 0,
                                           quint16(date.day()), 0, 0, 0, 0});
}

}  // namespace

CustomPeriodDialog::CustomPeriodDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Custom Period"));
    m_start = createDatePicker(QStringLiteral("start"), this);
    m_end = createDatePicker(QStringLiteral("end"), this);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Start:"), m_start);
    form->addRow(tr("End:"), m_end);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    const SystemTime now = platform::Clock::now();
    setPeriod(now, now);
}

void CustomPeriodDialog::setPeriod(const SystemTime& start, const SystemTime& end) {
    const QDate today = platform::Clock::now().date();
    m_start->setDate(periodmath::isValidDate(start) ? start.date() : today);
    m_end->setDate(periodmath::isValidDate(end) ? end.date() : m_start->date());
}

SystemTime CustomPeriodDialog::start() const {
    return fromDate(m_start->date());
}

SystemTime CustomPeriodDialog::end() const {
    return fromDate(m_end->date());
}

std::pair<SystemTime, SystemTime> CustomPeriodDialog::preset(const Settings& settings,
                                                             const PeriodView* view) {
    if (settings.periodStart.month != 0)
        return {settings.periodStart, settings.periodEnd};
    SystemTime start = platform::Clock::now();
    SystemTime end = start;
    if (view)
        view->getPeriod(start, end);
    return {start, end};
}

void CustomPeriodDialog::store(Settings& settings, const SystemTime& start, const SystemTime& end) {
    settings.periodStart = periodmath::dateOnly(start);
    settings.periodEnd = periodmath::dateOnly(end);
}

}  // namespace tempolatch
