#include "views/CListViewOfActivities.h"

#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPriorityComputation.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

void CListViewOfActivities::SetupGrid() {
    setGridShape(3, kTitleRows);
    if (grid())
        grid()->setReadOnly(true);
}

void CListViewOfActivities::BuildTitle() {
    CVCF1* g = grid();
    if (!g)
        return;
    setCellText(1, 1, paneTitle());
    setCellText(2, 1, QStringLiteral("Activities"));
    setCellText(2, 2, QStringLiteral("Priorities"));
    styleInactiveTitle(1);
    frameTitleRow(2);
    styleHeadingRow(2, 3);
    g->fitRowHeights(1, 1, 2, 2);
    appendColumn(CColumnShtInfo{10, {}, false, 1.0, QStringLiteral("xxActive Day: ")});
    appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("xPriorities")});
    appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("x")});
    FitColumnsToWidth();
    moveActiveCell(1, 1);
}

RowMap& CListViewOfActivities::rowsOf(CHrplDoc& document) const {
    return document.activityRows;
}

std::uint32_t CListViewOfActivities::priorityFill(double x, double low, double middle,
                                                  double high) {
    if (x > high)
        return kPinkPriority;
    if (x > middle)
        return kOrangePriority;
    if (x <= low)
        return kGreenPriority;
    return kPlain;
}

void CListViewOfActivities::fill(CHrplDoc& document) {
    CVCF1* g = grid();
    if (!g)
        return;
    CQLData& plan = document.plan();
    const CQlnConfig& config = plan.app().config();
    document.activityRows = CPriorityComputation{plan}.activityRows();
    g->beginBatch();
    clearDataRows();
    for (const auto& [dataRow, record] : document.activityRows) {
        const int row = dataRow + kTitleRows;
        const CActivityItem* item = plan.findItem(record.itemId());
        const double priority = item ? item->priority : 50.0;
        stylePriorityRow(row, priorityFill(priority, config.lowThreshold, config.middleThreshold,
                                           config.highThreshold));
        if (!item)
            continue;
        setCellText(row, 1, plantext::toDisplay(plan.fullName(*item)));
        setCellText(row, 2, QString::fromStdString(CPriorityComputation::priorityText(*item)));
    }
    shadeFiller(static_cast<int>(document.activityRows.size()));
    g->endBatch();
    FitRowsFrom(kTitleRows + 1);
    g->scrollToTop(); // what to work on next is at the top
}

CPaneHost& CListViewOfActivities::host() const {
    static CPaneHost unanswered;
    return m_host ? *m_host : unanswered;
}

void CListViewOfActivities::onSelectionChanged(CHrplDoc& document) {
    CVCF1* g = grid();
    if (!g || selectionBusy())
        return;
    leaveTitleRows();
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const auto record = rowsOf(document).find(row - kTitleRows);
    if (record != rowsOf(document).end() && record->second.kind() == CRowTypeInfo::Kind::Activity)
        host().followSelection(record->second.itemId());
}

void CListViewOfActivities::itemInfoCommand(CHrplDoc& document) {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const auto record = document.activityRows.find(row - kTitleRows);
    if (record != document.activityRows.end())
        host().showItemInfo(record->second.itemId(), false);
}

void CListViewOfActivities::divisionViewCommand(CHrplDoc& document,
                                                CListViewOfActivities& divisionsPane) {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    CQLData& plan = document.plan();
    std::int32_t division = CQLData::kRootId;
    const auto record = document.activityRows.find(row - kTitleRows);
    if (row > kTitleRows && record != document.activityRows.end())
        if (const CActivityItem* item = plan.findItem(record->second.itemId()))
            if (item->parentId >= 0)
                division = item->parentId;
    plan.app().setCurrentDivision(division);
    host().showDivisionsPane(true);
    divisionsPane.fill(document);
}
