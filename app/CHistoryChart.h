#pragma once

#include "app/CFileDialogChooser.h"
#include "model/CArchivedHours.h"
#include "model/CItemHistory.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class CHrplDoc;
class CQLData;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class QChartView;

// An item's history as charts: its weekly hours as bars against the hours its part asks for as
// a line, and below, its priority week by week over the bands of the priority colours. The
// detailed weeks can be shown day by day.
class CHistoryChart : public QWidget {
    Q_OBJECT

public:
    explicit CHistoryChart(QWidget* parent = nullptr);

    // Draws the item's weeks up to the active week, a year back or more (from the archive of
    // the document's plan, when set); an item that is gone draws nothing.
    // A chart out of sight draws when it comes into view: the series cost a priority
    // computation a week, too much for every click in a pane.
    void show(CQLData& plan, std::int32_t itemId);
    void setDays(bool days);
    void setArchiveOf(const CHrplDoc* document) { m_document = document; }
    // How far back the weeks go: a year, two or five.
    QComboBox* yearsBox() const { return m_years; }

    const std::vector<CItemHistory::Week>& weeks() const { return m_weeks; }
    const std::vector<CItemHistory::Day>& days() const { return m_days; }
    QChartView* hoursView() const { return m_hoursView; }
    QChartView* priorityView() const { return m_priorityView; }
    QWidget* charts() const { return m_charts; }
    QCheckBox* daysBox() const { return m_daysBox; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* saveButton() const { return m_save; }
    // Who names the file a chart is saved in: the desktop's dialog unless a test answers.
    void setFileChooser(CFileChooser* chooser) { m_chooser = chooser ? chooser : &m_dialog; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void draw();
    void drawHours();
    void drawPriorities(const CQLData& plan);
    std::vector<CArchivedHours> archive() const;

    QWidget* m_charts;
    QLabel* m_title;
    QChartView* m_hoursView;
    QChartView* m_priorityView;
    QCheckBox* m_daysBox;
    QComboBox* m_years;
    const CHrplDoc* m_document = nullptr;
    QPushButton* m_copy;
    QPushButton* m_save;
    std::vector<CItemHistory::Week> m_weeks;
    std::vector<CItemHistory::Day> m_days;
    bool m_dark = false;
    CFileDialogChooser m_dialog{this};
    CFileChooser* m_chooser = &m_dialog;
    CQLData* m_plan = nullptr;
    std::int32_t m_item = -1;
    bool m_stale = false;
};
