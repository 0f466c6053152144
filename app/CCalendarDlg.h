#pragma once

#include <QDialog>

class QCalendarWidget;

// "Calendar": a month calendar to look at, and Close.
class CCalendarDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCalendarDlg(const QDate& today, QWidget* parent = nullptr);
    QCalendarWidget* calendar() const { return m_calendar; }

private:
    QCalendarWidget* m_calendar;
};
