#include "tools/PlanReport.h"

#include "app/CAppCore.h"
#include "model/CHrplDoc.h"
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
        {"activeWeekHours", number(item.activeWeekHours)},
        {"activeWeekReducedHours", number(item.activeWeekReducedHours)},
        {"timePartText", numberformat::formatDecimal(item.timePart, 2)},
    };
}

} // namespace

nlohmann::ordered_json planReport(CHrplDoc& doc) {
    CQLData& plan = doc.plan();
    CAppDates& dates = plan.app().dates();
    Json items = Json::array();
    if (const CActivityItem* root = plan.root())
        items.push_back(itemJson(plan, *root));
    // The row layout already is the walk order with each division where its rows begin.
    doc.inputRows = plan.buildRowLayout();
    for (const auto& [row, info] : doc.inputRows)
        if (const CActivityItem* item = plan.findItem(info.itemId()))
            items.push_back(itemJson(plan, *item));
    return Json{
        {"today", dates.today().text()},
        {"activeDay", dates.activeDay().text()},
        {"detailedStart", dates.detailedStart().text()},
        {"keptStart", dates.keptStart().text()},
        {"items", items},
    };
}
