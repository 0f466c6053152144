#include "tools/PlanReport.h"

#include "app/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPlanEditor.h"
#include "model/CPriorityComputation.h"
#include "model/CStatistics.h"
#include "parse/NumberFormat.h"

#include <cmath>

namespace {

using Json = nlohmann::ordered_json;

// Doubles print in their shortest round-trip form; a value that is not finite is null.
Json number(double value) {
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

Json itemJson(const CQLData& plan, const CActivityItem& item) {
    return Json{
        {"id", item.id},
        {"parentId", item.parentId},
        {"name", item.name},
        {"displayName", CQLData::displayName(item)},
        {"fullName", plan.fullName(item)},
        {"division", item.isDivision()},
        {"timePart", number(item.timePart)},
        {"partUnit", item.partUnit},
        {"startDate", item.startDate},
        {"reducedHoursSpent", number(item.reducedHoursSpent)},
        {"availableHours", number(item.availableHours)},
        {"plannedHours", number(item.plannedHours)},
        {"spentToPlannedRatio", number(item.spentToPlannedRatio)},
        {"priority", number(item.priority)},
        {"hoursToSpend", number(item.hoursToSpend)},
        {"averagedPart", number(item.averagedPart)},
        {"activeWeekHours", number(item.activeWeekHours)},
        {"activeWeekReducedHours", number(item.activeWeekReducedHours)},
        {"priorityText", CPriorityComputation::priorityText(item)},
        {"hoursToSpendText", CPriorityComputation::hoursToSpendText(item)},
        {"timePartText", numberformat::formatDecimal(item.timePart, 2)},
    };
}

// Each division's content in the order of the divisions pane, keyed by the division.
Json divisionOrders(const CQLData& plan, const CPriorityComputation& priorities,
                    const RowMap& rows) {
    Json orders = Json::object();
    std::vector<std::uint16_t> divisions;
    if (plan.findItem(CQLData::kRootId)->isDivision())
        divisions.push_back(CQLData::kRootId);
    for (const auto& [row, info] : rows)
        if (info.kind() == CRowTypeInfo::Kind::DivisionBegin)
            divisions.push_back(info.itemId());
    for (std::uint16_t id : divisions)
        orders[std::to_string(id)] = priorities.divisionContentOrder(*plan.findItem(id));
    return orders;
}

Json detachedItems(const CPlanEditor& editor) {
    Json detached = Json::array();
    for (const CPlanEditor::RestoreCandidate& candidate : editor.restoreCandidates())
        detached.push_back(
            Json{{"id", candidate.id}, {"name", candidate.name}, {"lastDate", candidate.lastDate}});
    return detached;
}

} // namespace

nlohmann::ordered_json planReport(CHrplDoc& doc) {
    CQLData& plan = doc.plan();
    CAppDates& dates = plan.app().dates();
    plan.ensureRoot();
    // The row layout sorts the tree by name and is the walk order with each division where
    // its rows begin.
    doc.inputRows = plan.buildRowLayout();
    CPriorityComputation priorities{plan};
    priorities.computeCurrentPriorities();
    CStatistics{plan}.computeAveragedParts();

    Json items = Json::array();
    items.push_back(itemJson(plan, *plan.root()));
    for (const auto& [row, info] : doc.inputRows)
        if (const CActivityItem* item = plan.findItem(info.itemId()))
            items.push_back(itemJson(plan, *item));
    return Json{
        {"today", dates.today().text()},
        {"activeDay", dates.activeDay().text()},
        {"detailedStart", dates.detailedStart().text()},
        {"keptStart", dates.keptStart().text()},
        {"items", items},
        {"activityOrder", priorities.activityPriorityOrder()},
        {"divisionOrder", divisionOrders(plan, priorities, doc.inputRows)},
        {"detached", detachedItems(CPlanEditor{plan})},
    };
}
