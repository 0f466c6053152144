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

void CListViewOfActivities::computeRows(CHrplDoc& document) {
    rowsOf(document) = orderedRows(document, nullptr);
}

RowMap CListViewOfActivities::orderedRows(CHrplDoc& document,
                                          const std::vector<std::int32_t>* moved) {
    if (!moved)
        return CPriorityComputation{document.plan()}.activityRows();
    const CPriorityComputation::Earlier earlier{document.activityRows, *moved};
    return CPriorityComputation{document.plan()}.activityRows(&earlier);
}

std::optional<CListViewOfActivities::RowLook>
CListViewOfActivities::lookOf(CHrplDoc& document, const CRowTypeInfo& record) const {
    const CQLData& plan = document.plan();
    const CActivityItem* item = plan.findItem(record.itemId());
    if (!item)
        return std::nullopt;
    const CQlnConfig& config = plan.app().config();
    return RowLook{plantext::toDisplay(plan.fullName(*item)),
                   QString::fromStdString(CPriorityComputation::priorityText(*item)), 0x000000,
                   priorityFill(item->priority, config.lowThreshold, config.middleThreshold,
                                config.highThreshold)};
}

void CListViewOfActivities::writeLook(int row, const RowLook& look) {
    styleDataRow(row, look.textColour, look.fillColour);
    setCellText(row, 1, look.name);
    setCellText(row, 2, look.priority);
}

void CListViewOfActivities::writeAllRows(CHrplDoc& document) {
    CVCF1* g = grid();
    m_filledFrom = &document;
    g->beginBatch();
    clearDataRows();
    deferDataRows(static_cast<int>(rowsOf(document).size()));
    g->endBatch();
    FitRowsFrom(kTitleRows + 1);
    afterFill();
}

void CListViewOfActivities::writeDeferredRow(int row) {
    if (!m_filledFrom)
        return;
    const RowMap& rows = rowsOf(*m_filledFrom);
    const auto record = rows.find(row - kTitleRows);
    if (record != rows.end())
        if (const std::optional<RowLook> look = lookOf(*m_filledFrom, record->second))
            writeLook(row, *look);
    shadeFillerRows(row, row, static_cast<int>(rows.size()));
}

void CListViewOfActivities::fill(CHrplDoc& document) {
    if (!grid())
        return;
    computeRows(document);
    writeAllRows(document);
}

void CListViewOfActivities::refresh(CHrplDoc& document, const std::vector<std::int32_t>* moved) {
    CVCF1* g = grid();
    if (!g)
        return;
    RowMap earlier = orderedRows(document, moved);
    rowsOf(document).swap(earlier);
    const RowMap& rows = rowsOf(document);
    if (rows.size() != earlier.size()) {
        writeAllRows(document);
        return;
    }
    // Only a row that shows another item or a moved one can differ from what it shows.
    const auto unchanged = [&](const auto& row, const auto& was) {
        return moved && row.second == was.second &&
               std::ranges::find(*moved, row.second.itemId()) == moved->end();
    };
    std::vector<int> renamed;
    for (auto was = earlier.begin(); const auto& entry : rows) {
        const auto& [dataRow, record] = entry;
        const int row = dataRow + kTitleRows;
        // A row still to be written is written from the rows as they are then.
        if (unchanged(entry, *was++) || isDeferred(row))
            continue;
        const std::optional<RowLook> look = lookOf(document, record);
        if (!look) {
            writeAllRows(document); // a row without its item: as a fill leaves it
            return;
        }
        const CCellFormat shown = g->formatAt(row, 1);
        if (shown.textColour != look->textColour || shown.fillColour != look->fillColour) {
            styleDataRow(row, look->textColour, look->fillColour);
            shadeFillerRows(row, row, static_cast<int>(rows.size()));
        }
        if (g->cellText(row, 1) != checkedText(look->name)) {
            setCellText(row, 1, look->name);
            // Fitted from the look a cleared row has, as in a fill.
            selectCell(row, 1);
            g->setSelectionAlignment(CCellFormat::General, false, 2);
            renamed.push_back(row);
        }
        if (g->cellText(row, 2) != checkedText(look->priority))
            setCellText(row, 2, look->priority);
    }
    fitRows(renamed);
    afterFill();
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
    if (!leadsTheSheet())
        return;
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const auto record = rowsOf(document).find(row - kTitleRows);
    if (record != rowsOf(document).end() && record->second.kind() == CRowTypeInfo::Kind::Activity)
        host().followSelection(record->second.itemId());
}

void CListViewOfActivities::itemInfoCommand(CHrplDoc& document) {
    if (const std::int32_t item = activeItem(document); item >= 0)
        host().showItemInfo(static_cast<std::uint16_t>(item), false);
}

std::int32_t CListViewOfActivities::activeItem(CHrplDoc& document) const {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const auto record = rowsOf(document).find(row - kTitleRows);
    return record == rowsOf(document).end() ? -1 : record->second.itemId();
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
