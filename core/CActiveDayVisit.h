#pragma once

#include "core/CMyStringDate.h"

class CAppDates;

// A day made active for as long as the visit lasts, for work the ledger does on "the active day"
// (a timesheet cell, the timer's minutes of each day), then the day active before. A day the
// dates refuse (too old, in the future) is not entered; the dates have said why.
class CActiveDayVisit {
public:
    CActiveDayVisit(CAppDates& dates, const CMyStringDate& day);
    ~CActiveDayVisit();
    CActiveDayVisit(const CActiveDayVisit&) = delete;
    CActiveDayVisit& operator=(const CActiveDayVisit&) = delete;

    bool entered() const { return m_entered; }

private:
    CAppDates& m_dates;
    CMyStringDate m_before;
    bool m_entered;
};
