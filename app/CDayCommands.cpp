#include "app/CDayCommands.h"

#include "app/CCalendarDlg.h"
#include "app/CChsDateDlg.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "core/CDayNavigator.h"
#include "model/CAppCore.h"

void CDayCommands::navigate(int command) {
    if (!m_frame.view())
        return;
    CDayNavigator navigator{m_frame.application().core().dates()};
    bool changed = false;
    switch (command) {
    case CMainFrame::DayBack:
        changed = navigator.dayBack();
        break;
    case CMainFrame::DayForward:
        changed = navigator.dayForward();
        break;
    case CMainFrame::WeekBack:
        changed = navigator.weekBack();
        break;
    default:
        changed = navigator.weekForward();
    }
    if (!changed)
        return;
    m_frame.activeDayShown();
}

// The program's today (QLN_TODAY when set) for the date widgets.
QDate CDayCommands::todayAsQDate() const {
    const std::chrono::year_month_day today{m_frame.application().core().dates().today().date()};
    return QDate{static_cast<int>(today.year()),
                 static_cast<int>(static_cast<unsigned>(today.month())),
                 static_cast<int>(static_cast<unsigned>(today.day()))};
}

void CDayCommands::moveActiveDay(int days) {
    if (m_frame.view())
        showActiveDay(CMyStringDate{m_frame.application().core().dates().activeDay().date() +
                                    std::chrono::days{days}});
}

// Today itself, whatever day the program starts on.
void CDayCommands::goToToday() {
    if (m_frame.view())
        showActiveDay(m_frame.application().core().dates().today());
}

void CDayCommands::showActiveDay(const CMyStringDate& day) {
    if (day.text() == m_frame.application().core().dates().activeDay().text() ||
        !CDayNavigator{m_frame.application().core().dates()}.chooseDate(day))
        return;
    m_frame.activeDayShown();
}

void CDayCommands::chooseDay() {
    if (!m_frame.view())
        return;
    CChsDateDlg dialog{todayAsQDate(), m_frame.helpAction(), &m_frame};
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QDate chosen = dialog.date();
    const CMyStringDate day{
        std::chrono::sys_days{std::chrono::year{chosen.year()} /
                              std::chrono::month{static_cast<unsigned>(chosen.month())} /
                              std::chrono::day{static_cast<unsigned>(chosen.day())}}};
    showActiveDay(day);
}

void CDayCommands::showCalendar() {
    CCalendarDlg dialog{todayAsQDate(), &m_frame};
    dialog.exec();
}
