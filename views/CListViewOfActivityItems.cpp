#include "views/CListViewOfActivityItems.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPriorityComputation.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

RowMap CListViewOfActivityItems::orderedRows(CHrplDoc& document,
                                             const std::vector<std::int32_t>* moved) {
    CQLData& plan = document.plan();
    CAppCore& app = plan.app();
    if (!plan.findItem(app.currentDivision()) ||
        !plan.findItem(app.currentDivision())->isDivision())
        app.setCurrentDivision(CQLData::kRootId);
    const auto division = static_cast<std::uint16_t>(app.currentDivision());
    if (!moved)
        return CPriorityComputation{plan}.divisionRows(division);
    const CPriorityComputation::Earlier earlier{document.divisionRows, *moved};
    return CPriorityComputation{plan}.divisionRows(division, &earlier);
}

std::optional<CListViewOfActivities::RowLook>
CListViewOfActivityItems::lookOf(CHrplDoc& document, const CRowTypeInfo& record) const {
    const CQLData& plan = document.plan();
    const CActivityItem* item = plan.findItem(record.itemId());
    if (!item)
        return std::nullopt;
    const bool root = item->id == CQLData::kRootId;
    const QString priority = QString::fromStdString(CPriorityComputation::priorityText(*item));
    const QString blank = QStringLiteral(" ");
    using Kind = CRowTypeInfo::Kind;
    switch (record.kind()) {
    case Kind::Activity:
        return RowLook{plantext::toDisplay(item->name), priority, 0x000000, kPlain};
    case Kind::DivisionBegin:
        return RowLook{plantext::toDisplay(item->name), priority, 0x000000, kYellow};
    case Kind::CurrentDivision:
        return RowLook{root ? blank : plantext::toDisplay(plan.fullName(*item)),
                       root ? blank : priority, kPlain, kNavy};
    case Kind::ParentDivision:
        return RowLook{QStringLiteral("..") +
                           (root ? blank : plantext::toDisplay(plan.fullName(*item))),
                       root ? blank : priority, 0x000000, kPaleBlue};
    }
    return std::nullopt;
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
