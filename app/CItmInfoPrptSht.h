#pragma once

#include <QDialog>

#include <functional>

class CHistoryChart;
class CITmInfoPrptPg;
class CItemInfo;
class CQLData;
class CSttstcsPge;
class QTabWidget;

// "Activity Item Info": the info page, the statistics page and the history chart of one item.
// Filled by the panes; the memo is stored into the plan on the user's word.
class CItmInfoPrptSht : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kStoreQuestion = "Would you like to store the just modified memo?";

    CItmInfoPrptSht(CQLData& plan, std::function<void(const QString&)> showHelp,
                    QWidget* parent = nullptr);

    // Shows the record for the item, without a question.
    void fill(const CItemInfo& info, int item);
    // The same when another item is activated: a modified memo may be stored first.
    void refill(const CItemInfo& info, int item);
    void storeMemo();
    void closeFromInfoPage();
    void closeFromStatisticsPage();
    void setModeless(bool modeless) { m_modeless = modeless; }

    CITmInfoPrptPg* infoPage() const { return m_info; }
    CSttstcsPge* statisticsPage() const { return m_statistics; }
    CHistoryChart* historyPage() const { return m_history; }
    static constexpr int kHistoryPage = 2;
    // Draws the shown item's history again (hours or parts changed, or the active day).
    void refreshHistory();
    QTabWidget* tabs() const { return m_tabs; }

protected:
    // F1 shows the topic of the page in front.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showPageHelp(int page) const;
    void copy(const CItemInfo& info, int item);
    void closeSheet();

    CQLData& m_plan;
    CITmInfoPrptPg* m_info;
    CSttstcsPge* m_statistics;
    CHistoryChart* m_history;
    QTabWidget* m_tabs;
    std::function<void(const QString&)> m_showHelp;
    bool m_modeless = true;
};
