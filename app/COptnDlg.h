#pragma once

#include "app/CHelpDialog.h"

class CQLNECNstrtpInf;
class QButtonGroup;
class QGroupBox;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

// "Options ": the initial active day, how typed hours are read, the statistics period, the live
// timer's idle limit and whether the program starts at logon; on a page of their own, the
// reminders. The start-up choice, the idle limit and the reminders are stored by the dialog
// itself on OK; the main frame stores the others.
class COptnDlg : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr const char* kChoiceValue = "srtUpSlctI";
    static constexpr const char* kNoIdleSource =
        "This desktop does not tell how long it has been idle:\nthe timer cannot ask about "
        "time away,\nand no reminder comes when you return.";

    struct Choices {
        int initialActiveDay = 0;
        int averagingPeriod = 0;
        bool decimalHours = false;
    };

    COptnDlg(const Choices& choices, CQLNECNstrtpInf& startup, ShowHelp showHelp,
             QWidget* parent = nullptr);

    int initialActiveDay() const;
    bool decimalHours() const;
    QCheckBox* decimalBox() const { return m_decimal; }
    int averagingPeriod() const;
    int startupChoice() const;
    // The live timer's idle limit in minutes (0: never ask); stored by the dialog on OK.
    int idleMinutes() const;
    QSpinBox* idleBox() const { return m_idle; }
    QButtonGroup* dayGroup() const { return m_days; }
    QButtonGroup* startupGroup() const { return m_startupChoices; }
    QComboBox* periodBox() const { return m_period; }
    QTabWidget* pages() const { return m_pages; }
    // Minute of the day (-1: no daily reminder) and the long timer's limit (0: none).
    int dailyReminderMinute() const;
    int longTimerMinutes() const;
    QCheckBox* dailyBox() const { return m_daily; }
    QTimeEdit* dailyTime() const { return m_dailyTime; }
    QCheckBox* longTimerBox() const { return m_longTimer; }
    QTimeEdit* longTimerTime() const { return m_longTimerTime; }

    void accept() override;

private:
    QGroupBox* dayGroup(const Choices& choices);
    QGroupBox* hoursGroup(const Choices& choices);
    QGroupBox* statisticsGroup(const Choices& choices);
    QGroupBox* timerGroup();
    QGroupBox* startupBox();
    QWidget* remindersPage();
    QHBoxLayout* checkedTime(QCheckBox* box, QTimeEdit* time, bool checked);
    CQLNECNstrtpInf& m_startup;
    QButtonGroup* m_days;
    QCheckBox* m_decimal;
    QComboBox* m_period;
    QButtonGroup* m_startupChoices;
    QSpinBox* m_idle;
    QTabWidget* m_pages;
    QCheckBox* m_daily;
    QTimeEdit* m_dailyTime;
    QCheckBox* m_longTimer;
    QTimeEdit* m_longTimerTime;
};
