#pragma once

#include <QDate>

class CMainFrame;
class CMyStringDate;

// The commands that move the active day: a day or a week back or forward, today, a chosen
// date; and the calendar. The window's buttons, panes and charts follow the day they reach.
class CDayCommands {
public:
    explicit CDayCommands(CMainFrame& frame) : m_frame(frame) {}

    // A toolbar command: Day or Week Back or Forward.
    void navigate(int command);
    void chooseDay();
    // A week back or forward (days -7 or 7).
    void moveActiveDay(int days);
    void goToToday();
    // A chosen day as the active day, when the dates take it.
    void showActiveDay(const CMyStringDate& day);
    void showCalendar();

private:
    QDate todayAsQDate() const;

    CMainFrame& m_frame;
};
