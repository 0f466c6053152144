#include "core/CActiveDayVisit.h"

#include "core/CAppDates.h"

CActiveDayVisit::CActiveDayVisit(CAppDates& dates, const CMyStringDate& day)
    : m_dates(dates), m_before(dates.activeDay()), m_entered(dates.setActiveDay(day)) {}

CActiveDayVisit::~CActiveDayVisit() {
    if (m_entered)
        m_dates.setActiveDay(m_before);
}
