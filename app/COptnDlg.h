#pragma once

#include "app/CHelpDialog.h"

class CQLNECNstrtpInf;
class QButtonGroup;
class QGroupBox;
class QCheckBox;
class QComboBox;
class QSpinBox;

// "Options ": the initial active day, how typed hours are read, the statistics period, the live
// timer's idle limit and whether the program starts at logon. The start-up choice and the idle
// limit are stored by the dialog itself on OK; the main frame stores the others.
class COptnDlg : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr const char* kChoiceValue = "srtUpSlctI";

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

    void accept() override;

private:
    QGroupBox* dayGroup(const Choices& choices);
    QGroupBox* hoursGroup(const Choices& choices);
    QGroupBox* statisticsGroup(const Choices& choices);
    QGroupBox* timerGroup();
    QGroupBox* startupBox();
    CQLNECNstrtpInf& m_startup;
    QButtonGroup* m_days;
    QCheckBox* m_decimal;
    QComboBox* m_period;
    QButtonGroup* m_startupChoices;
    QSpinBox* m_idle;
};
