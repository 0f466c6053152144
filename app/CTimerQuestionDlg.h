#pragma once

#include "app/CTimerControl.h"

#include <QDialog>

class QDateTimeEdit;
class QPushButton;

// The question about a timer whose time is in doubt: keep it running, add its time up to now
// or up to a time the user gives, or drop it. Left in any other way (Escape, the window's close
// button, the end of the session) it keeps the timer running as it is.
class CTimerQuestionDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kKeepRunning = "Keep running";
    static constexpr const char* kStopNow = "Stop now and add the time";
    static constexpr const char* kAddUntil = "Add the time until";
    static constexpr const char* kDiscard = "Discard";

    CTimerQuestionDlg(const CTimerControl::Question& question, QWidget* parent = nullptr);
    CTimerControl::Answer answer() const { return m_answer; }
    QPushButton* button(const char* text) const;
    QDateTimeEdit* untilEdit() const { return m_until; }

    static CTimerControl::Answer ask(const CTimerControl::Question& question, QWidget* parent);

private:
    QPushButton* addButton(const char* text, CTimerControl::Choice choice, bool shown);

    QDateTimeEdit* m_until = nullptr;
    CTimerControl::Answer m_answer;
};
