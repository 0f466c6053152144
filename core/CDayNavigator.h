#pragma once

class CAppDates;
class CMyStringDate;

// Moves the active day by a day or a week, or to a chosen day, switching between day mode and
// week mode at the start of the detailed period. Every new day passes the validation first; a
// refused one changes nothing. True when the active day changed.
class CDayNavigator {
public:
    explicit CDayNavigator(CAppDates& dates) : m_dates(dates) {}

    bool dayForward();
    bool dayBack();
    bool weekBack();
    bool weekForward();
    bool chooseDate(const CMyStringDate& day);

private:
    bool moveBy(int days);

    CAppDates& m_dates;
};
