#include "core/CDayNavigator.h"

#include "core/CAppDates.h"
#include "core/QlnDates.h"

bool CDayNavigator::moveBy(int days) {
    const CMyStringDate day{m_dates.activeDay().date() + std::chrono::days{days}};
    return m_dates.validateActiveDay(day) && m_dates.setActiveDay(day);
}

bool CDayNavigator::dayForward() {
    return moveBy(1);
}

bool CDayNavigator::dayBack() {
    if (!moveBy(-1))
        return false;
    if (m_dates.activeWeekShown() && m_dates.dayMode()) {
        m_dates.setDayMode(false);
        m_dates.setActiveDay(CMyStringDate{qlndates::weekStart(m_dates.activeDay().date())});
    }
    return true;
}

bool CDayNavigator::weekBack() {
    return moveBy(-7);
}

bool CDayNavigator::weekForward() {
    if (!moveBy(7))
        return false;
    if (!m_dates.activeWeekShown() && !m_dates.dayMode()) {
        m_dates.setDayMode(true);
        m_dates.setActiveDay(m_dates.detailedStart());
    }
    return true;
}

bool CDayNavigator::chooseDate(const CMyStringDate& day) {
    if (!m_dates.validateActiveDay(day))
        return false;
    const bool before = m_dates.isBeforeDetailedPeriod(CMyStringDate{day.date()});
    if (before && m_dates.dayMode())
        m_dates.setDayMode(false);
    else if (!before && !m_dates.dayMode())
        m_dates.setDayMode(true);
    return m_dates.setActiveDay(day);
}
