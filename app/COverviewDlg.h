#pragma once

#include "app/CFileDialogChooser.h"
#include "model/CItemHistory.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class CQLData;
class QBarSet;
class QChartView;
class QComboBox;
class QPushButton;

// "Plan Overview": for the chosen period, each item directly in the current division (the
// root's top level at first) as a pair of bars, the part the plan gives it and the part of the
// hours it got, the furthest behind its plan first. A division's bars make it the current one;
// "Up" goes back to the division that holds it. The division shown is the current one of the
// divisions pane; the window makes a chosen one current.
class COverviewDlg : public QDialog {
    Q_OBJECT

public:
    COverviewDlg(CQLData& plan, QWidget* parent = nullptr);

    // Who names the file a chart is saved in: the desktop's dialog unless a test answers.
    void setFileChooser(CFileChooser* chooser) { m_chooser = chooser ? chooser : &m_dialog; }

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
    QComboBox* divisionsBox() const { return m_divisions; }
    QPushButton* openButton() const { return m_open; }
    // What a click on the bars of the entry does.
    void choose(int index);

signals:
    // A division's bars were clicked, or "Up" to the one that holds the shown one: it is to
    // become the current division, whose content the overview shows.
    void divisionChosen(std::int32_t division);

private:
    void listDivisions();
    std::int32_t shownDivision() const;

    CQLData& m_plan;
    QComboBox* m_period;
    QChartView* m_view;
    QPushButton* m_copy;
    QPushButton* m_save;
    QPushButton* m_up;
    QComboBox* m_divisions;
    QPushButton* m_open;
    QBarSet* m_planned = nullptr;
    std::vector<CItemHistory::Share> m_shares;
    CFileDialogChooser m_dialog{this};
    CFileChooser* m_chooser = &m_dialog;
};
