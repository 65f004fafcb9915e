#include "views/PeriodView.h"

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "views/CustomView.h"
#include "views/DayView.h"
#include "views/EntryList.h"
#include "views/MonthView.h"
#include "views/PeriodRecords.h"
#include "views/WeekView.h"

namespace tempolatch {

using platform::SystemTime;

EntryList::~EntryList() = default;
PeriodRecords::~PeriodRecords() = default;

PeriodView::PeriodView() = default;
PeriodView::~PeriodView() = default;

std::unique_ptr<PeriodView> PeriodView::make(int type, Settings& settings) {
    std::unique_ptr<PeriodView> view;
    switch (type) {
        case Day:
            view = std::make_unique<DayView>();
            break;
        case Month:
            view = std::make_unique<MonthView>();
            break;
        case Custom:
            view = std::make_unique<CustomView>();
            break;
        default:
            view = std::make_unique<WeekView>();
            break;
    }
    view->m_settings = &settings;
    const SystemTime now = platform::Clock::now();
    view->assign(now, now);
    return view;
}

void PeriodView::carriedPeriod(const PeriodView* old, int type, SystemTime& start,
                               SystemTime& end) {
    start = end = platform::Clock::now();
    if (!old)
        return;
    old->getPeriod(start, end);
    if (old->type() == type)
        start = end = old->shownDay();
}

void PeriodView::attach(EntryList* list, PeriodRecords* records) {
    m_list = list;
    m_records = records;
}

void PeriodView::getPeriod(SystemTime& start, SystemTime& end) const {
    start = m_start;
    end = periodEnd();
}

bool PeriodView::contains(platform::FileTime instant) const {
    const auto first = platform::toFileTime(m_start);
    const auto last = platform::toFileTime(periodEnd());
    return first && last && first->ticks <= instant.ticks && instant.ticks <= last->ticks;
}

SystemTime PeriodView::shownDay() const {
    const SystemTime today = periodmath::dateOnly(platform::Clock::now());
    const auto now = platform::toFileTime(today);
    if (now && contains(*now))
        return today;
    const auto first = platform::toFileTime(m_start);
    const auto last = platform::toFileTime(periodEnd());
    if (!first || !last)
        return m_start;
    const int days = int((last->ticks - first->ticks) / platform::FileTime::TicksPerDay);
    return periodmath::addDays(m_start, days / 2);
}

void PeriodView::setPeriod(const SystemTime& start, const SystemTime& end) {
    // A period that names no real day (settings never set, damaged values)
    // falls back to today rather than loading nothing or everything.
    const SystemTime now = platform::Clock::now();
    const SystemTime from = periodmath::isValidDate(start) ? start : now;
    const SystemTime to = periodmath::isValidDate(end) ? end : from;
    assign(from, to);
    reload(0, 0);
}

SystemTime PeriodView::stepped(const SystemTime& from, int direction) const {
    return periodmath::addDays(from, direction);
}

void PeriodView::previous() {
    if (!canStep())
        return;
    const SystemTime s = stepped(-1);
    assign(s, s);
    reload(0, 0);
}

void PeriodView::next() {
    if (!canStep())
        return;
    const SystemTime s = stepped(+1);
    assign(s, s);
    reload(0, 0);
}

void PeriodView::today() {
    if (!canStep())
        return;
    const SystemTime now = platform::Clock::now();
    assign(now, now);
    reload(0, 0);
}

void PeriodView::reload(int selectFlag, quint32 recordId) {
    if (m_list) {
        m_list->setRedraw(false);
        m_list->rememberSelection();
        m_list->deleteAll();
        m_list->setTotals(m_records && m_records->addsUp(), m_settings->hoursFormat);
        load(selectFlag == 1, recordId);
        if (m_records)
            m_list->sort(m_records->arrangeBy());
        m_list->restoreSelection();
        m_list->setRedraw(true);
    }
    Q_EMIT reloaded();
}

void PeriodView::load(bool select, quint32 recordId) {
    const auto startTime = platform::toFileTime(m_start);
    const auto endTime = platform::toFileTime(m_loadEnd);
    if (!m_records || !startTime || !endTime)
        return;
    const RowContext context{m_list->style(), type() == Day};
    m_records->beginLoad();
    m_records->walk(*startTime, *endTime, [&](quint32 id, const platform::PropertyList& props) {
        m_records->addRecord(props, id, select && id == recordId, context, *m_list);
        return true;
    });
}

QString PeriodView::dayTitleFormat() {
    QString format = platform::Locale::longDateFormat();
    // A long format with quoted text does not shorten well.
    if (format.contains(QLatin1Char('\'')))
        return platform::Locale::shortDateFormat();
    return format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
}

QString PeriodView::rangeTitleFormat() {
    if (platform::Locale::longDateFormat().contains(QLatin1Char('\'')))
        return platform::Locale::shortDateFormat();
    QString format = dayTitleFormat();
    format.remove(QStringLiteral("dddd"));
    const QString trimmed = QStringLiteral(", ");
    qsizetype from = 0;
    while (from < format.size() && trimmed.contains(format.at(from)))
        ++from;
    qsizetype to = format.size();
    while (to > from && trimmed.contains(format.at(to - 1)))
        --to;
    return format.mid(from, to - from);
}

}  // namespace tempolatch
