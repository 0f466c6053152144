#pragma once

#include "app/CChartExport.h"
#include "model/CItemHistory.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class CQLData;
class QBarSet;
class QChartView;
class QComboBox;
class QPushButton;

// "Plan Overview": for the chosen period, each item directly in the current division (the
// root's top level at first) as a pair of bars, the part the plan gives it and the part of the
// hours it got, the furthest behind its plan first. A division's bars make it the current one;
// "Up" goes back to the division that holds it.
class COverviewDlg : public QDialog {
    Q_OBJECT

public:
    COverviewDlg(CQLData& plan, QWidget* parent = nullptr);

    // The division whose content is shown; the frame passes the divisions pane's.
    std::function<std::int32_t()> currentDivision;
    // A click on a division's bars.
    std::function<void(std::int32_t)> chooseDivision;
    CChartExport::ChooseFile chooseFile;

    void refresh();
    // The periods offered: 4, 13 and 52 weeks.
    int weeks() const;
    const std::vector<CItemHistory::Share>& shares() const { return m_shares; }
    QComboBox* periodBox() const { return m_period; }
    QChartView* view() const { return m_view; }
    QBarSet* plannedSet() const { return m_planned; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* upButton() const { return m_up; }
    // What a click on the bars of the entry does.
    void choose(int index);

private:
    CQLData& m_plan;
    QComboBox* m_period;
    QChartView* m_view;
    QPushButton* m_copy;
    QPushButton* m_save;
    QPushButton* m_up;
    QBarSet* m_planned = nullptr;
    std::vector<CItemHistory::Share> m_shares;
};
