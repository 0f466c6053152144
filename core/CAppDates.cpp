#include "core/CAppDates.h"

#include "core/CMessageSink.h"
#include "core/QlnDates.h"

namespace {

const char* const kTooOld = "Use a date not less than an year before today, please.";
const char* const kFuture =
    "Sorry, an active day cannot belong to the future that has not come yet.";
const char* const kNotRelevant =
    "The dates less than an year ago are considered to be not relevant, and it is impossible "
    "to work with them in this program.";

} // namespace

const CMyStringDate& CAppDates::today() {
    const CMyStringDate clock{qlndates::currentLocalDate()};
    if (clock.text() > m_today.text())
        m_today = clock;
    return m_today;
}

void CAppDates::startFromClock(int detailedWeeks, int keptWeeks, double daysPerWeek) {
    m_today = CMyStringDate{qlndates::currentLocalDate()};
    const int week = static_cast<int>(daysPerWeek);
    const auto now = m_today.date();
    m_detailedStart.setDate(qlndates::weekStart(now, -(detailedWeeks + 1) * week));
    m_keptStart.setDate(qlndates::weekStart(now, -(keptWeeks + 1) * week));
    m_activeDay = m_today;
}

bool CAppDates::validateActiveDay(const CMyStringDate& newDay) {
    // A text that is no calendar date counts as 1 January 1900, which is always too old.
    const CMyStringDate day{newDay.date()};
    if (day.text() < m_keptStart.text()) {
        m_messages.message(kTooOld);
        return false;
    }
    if (day.text() > today().text()) {
        m_messages.message(kFuture);
        return false;
    }
    return true;
}

bool CAppDates::setActiveDay(const CMyStringDate& newDay) {
    const CMyStringDate day{newDay.date()};
    if (m_keptStart.date() > day.date()) {
        m_messages.message(kNotRelevant);
        return false;
    }
    if (day.date() > qlndates::currentLocalDate()) {
        m_messages.message(kFuture);
        return false;
    }
    m_activeDay = day;
    return true;
}

bool CAppDates::isBeforeDetailedPeriod(const CMyStringDate& day) const {
    return isBeforeDetailedPeriod(day.text());
}

bool CAppDates::isBeforeDetailedPeriod(const std::string& dayText) const {
    return dayText < m_detailedStart.text();
}
