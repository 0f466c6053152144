#include "views/CListViewOfActivityItems.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPriorityComputation.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

void CListViewOfActivityItems::fill(CHrplDoc& document) {
    CVCF1* g = grid();
    if (!g)
        return;
    CQLData& plan = document.plan();
    CAppCore& app = plan.app();
    if (!plan.findItem(app.currentDivision()) ||
        !plan.findItem(app.currentDivision())->isDivision())
        app.setCurrentDivision(CQLData::kRootId);
    document.divisionRows =
        CPriorityComputation{plan}.divisionRows(static_cast<std::uint16_t>(app.currentDivision()));
    using Kind = CRowTypeInfo::Kind;
    g->beginBatch();
    clearDataRows();
    for (const auto& [dataRow, record] : document.divisionRows) {
        const CActivityItem* item = plan.findItem(record.itemId());
        if (!item)
            continue;
        const int row = dataRow + kTitleRows;
        const bool root = item->id == CQLData::kRootId;
        const QString priority = QString::fromStdString(CPriorityComputation::priorityText(*item));
        switch (record.kind()) {
        case Kind::Activity:
            stylePlainRow(row);
            setCellText(row, 1, plantext::toDisplay(item->name));
            setCellText(row, 2, priority);
            break;
        case Kind::DivisionBegin:
            styleDivisionRow(row);
            setCellText(row, 1, plantext::toDisplay(item->name));
            setCellText(row, 2, priority);
            break;
        case Kind::CurrentDivision:
            styleCurrentDivisionRow(row);
            setCellText(row, 1,
                        root ? QStringLiteral(" ") : plantext::toDisplay(plan.fullName(*item)));
            setCellText(row, 2, root ? QStringLiteral(" ") : priority);
            break;
        case Kind::ParentDivision:
            styleParentDivisionRow(row);
            setCellText(row, 1,
                        QStringLiteral("..") + (root ? QStringLiteral(" ")
                                                     : plantext::toDisplay(plan.fullName(*item))));
            setCellText(row, 2, root ? QStringLiteral(" ") : priority);
            break;
        }
    }
    shadeFiller(static_cast<int>(document.divisionRows.size()));
    g->endBatch();
    FitRowsFrom(kTitleRows + 1);
    moveActiveCell(kTitleRows + 1, 1);
}

RowMap& CListViewOfActivityItems::rowsOf(CHrplDoc& document) const {
    return document.divisionRows;
}

void CListViewOfActivityItems::changeDivisionToRow(CHrplDoc& document, int dataRow) {
    const auto record = document.divisionRows.find(dataRow);
    if (record == document.divisionRows.end())
        return;
    CQLData& plan = document.plan();
    const CActivityItem* item = plan.findItem(record->second.itemId());
    if (!item)
        return;
    const std::int32_t division = item->isDivision() ? item->id : item->parentId;
    if (division < 0 || division == plan.app().currentDivision())
        return;
    plan.app().setCurrentDivision(division);
    fill(document);
}

void CListViewOfActivityItems::changeDivisionCommand(CHrplDoc& document) {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const auto record = document.divisionRows.find(row - kTitleRows);
    using Kind = CRowTypeInfo::Kind;
    if (record == document.divisionRows.end() || (record->second.kind() != Kind::DivisionBegin &&
                                                  record->second.kind() != Kind::ParentDivision)) {
        document.plan().app().messages().message(kChangeDivisionRefused);
        return;
    }
    changeDivisionToRow(document, row - kTitleRows);
}

void CListViewOfActivityItems::itemInfoCommand(CHrplDoc& document) {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const int dataRow = row <= kTitleRows ? 1 : row - kTitleRows;
    const auto record = document.divisionRows.find(dataRow);
    if (record != document.divisionRows.end())
        host().showItemInfo(record->second.itemId(), true);
}

void CListViewOfActivityItems::closeCommand() {
    host().showDivisionsPane(false);
}
