#pragma once

#include "core/CMyStringDate.h"

class CMessageSink;

// The application's four dates and the day-or-week mode. Today only ever rises; the two
// period starts are fixed once at start-up; the active day moves only through setActiveDay.
class CAppDates {
public:
    explicit CAppDates(CMessageSink& messages) : m_messages(messages) {}

    // Raises the stored today to the clock's date when the clock is later.
    const CMyStringDate& today();
    const CMyStringDate& activeDay() const { return m_activeDay; }
    const CMyStringDate& detailedStart() const { return m_detailedStart; }
    const CMyStringDate& keptStart() const { return m_keptStart; }

    // Days before the detailed period are kept as week totals: such a day is shown and typed
    // as its whole week.
    bool isBeforeDetailedPeriod(const CMyStringDate& day) const;
    // The same for a day's text, or a week's key (its Sunday's text).
    bool isBeforeDetailedPeriod(const std::string& dayText) const;
    bool activeWeekShown() const { return isBeforeDetailedPeriod(m_activeDay); }

    // The latest date seen, without consulting the clock.
    const CMyStringDate& latestDate() const { return m_today; }

    // Start-up: today from the clock, the period starts from it.
    void startFromClock(int detailedWeeks, int keptWeeks, double daysPerWeek);

    // Shows the refusal message and returns false for a day outside the kept period or in
    // the future.
    bool validateActiveDay(const CMyStringDate& day);
    bool setActiveDay(const CMyStringDate& day);

    bool dayMode() const { return m_dayMode; }
    void setDayMode(bool dayMode) { m_dayMode = dayMode; }

private:
    CMessageSink& m_messages;
    CMyStringDate m_today;
    CMyStringDate m_activeDay;
    CMyStringDate m_detailedStart;
    CMyStringDate m_keptStart;
    bool m_dayMode = true;
};
