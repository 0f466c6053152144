#include "tools/PlanReport.h"

#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPlanEditor.h"
#include "model/CPriorityComputation.h"
#include "model/CStatistics.h"
#include "parse/NumberFormat.h"
#include "parse/Utf8Text.h"
#include "tools/CJsonWriter.h"

#include <string>
#include <vector>

namespace {

void field(CJsonWriter& out, const char* name, const std::string& text) {
    out.key(name);
    out.string(utf8text::asUtf8(text));
}

void field(CJsonWriter& out, const char* name, double value) {
    out.key(name);
    out.number(value);
}

void integerField(CJsonWriter& out, const char* name, std::int64_t value) {
    out.key(name);
    out.integer(value);
}

void writeItem(CJsonWriter& out, const CQLData& plan, const CActivityItem& item) {
    out.beginObject();
    integerField(out, "id", item.id);
    integerField(out, "parentId", item.parentId);
    field(out, "name", item.name);
    field(out, "displayName", CQLData::displayName(item));
    field(out, "fullName", plan.fullName(item));
    out.key("division");
    out.boolean(item.isDivision());
    field(out, "timePart", item.timePart);
    integerField(out, "partUnit", item.partUnit);
    field(out, "startDate", item.startDate);
    field(out, "reducedHoursSpent", item.reducedHoursSpent);
    field(out, "availableHours", item.availableHours);
    field(out, "plannedHours", item.plannedHours);
    field(out, "spentToPlannedRatio", item.spentToPlannedRatio);
    field(out, "priority", item.priority);
    field(out, "hoursToSpend", item.hoursToSpend);
    field(out, "averagedPart", item.averagedPart);
    field(out, "activeWeekHours", item.activeWeekHours);
    field(out, "activeWeekReducedHours", item.activeWeekReducedHours);
    field(out, "priorityText", CPriorityComputation::priorityText(item));
    field(out, "hoursToSpendText", CPriorityComputation::hoursToSpendText(item));
    field(out, "timePartText", numberformat::formatDecimal(item.timePart, 2));
    out.endObject();
}

template <typename Ids> void writeIds(CJsonWriter& out, const Ids& ids) {
    out.beginArray();
    for (const auto id : ids)
        out.integer(id);
    out.endArray();
}

// Each division's content in the order of the divisions pane, keyed by the division.
void writeDivisionOrders(CJsonWriter& out, const CQLData& plan,
                         const CPriorityComputation& priorities, const RowMap& rows) {
    std::vector<std::uint16_t> divisions;
    if (plan.findItem(CQLData::kRootId)->isDivision())
        divisions.push_back(CQLData::kRootId);
    for (const auto& [row, info] : rows)
        if (info.kind() == CRowTypeInfo::Kind::DivisionBegin)
            divisions.push_back(info.itemId());
    out.beginObject();
    for (std::uint16_t id : divisions) {
        out.key(std::to_string(id));
        writeIds(out, priorities.divisionContentOrder(*plan.findItem(id)));
    }
    out.endObject();
}

void writeDetached(CJsonWriter& out, const CPlanEditor& editor) {
    out.beginArray();
    for (const CPlanEditor::RestoreCandidate& candidate : editor.restoreCandidates()) {
        out.beginObject();
        integerField(out, "id", candidate.id);
        field(out, "name", candidate.name);
        field(out, "lastDate", candidate.lastDate);
        out.endObject();
    }
    out.endArray();
}

} // namespace

void writePlanReport(CHrplDoc& doc, CJsonWriter& out) {
    CQLData& plan = doc.plan();
    CAppDates& dates = plan.app().dates();
    plan.ensureRoot();
    // The row layout sorts the tree by name and is the walk order with each division where
    // its rows begin.
    doc.inputRows = plan.buildRowLayout();
    CPriorityComputation priorities{plan};
    priorities.computeCurrentPriorities();
    CStatistics{plan}.computeAveragedParts();

    out.beginObject();
    field(out, "today", dates.today().text());
    field(out, "activeDay", dates.activeDay().text());
    field(out, "detailedStart", dates.detailedStart().text());
    field(out, "keptStart", dates.keptStart().text());
    out.key("items");
    out.beginArray();
    writeItem(out, plan, *plan.root());
    for (const auto& [row, info] : doc.inputRows)
        if (const CActivityItem* item = plan.findItem(info.itemId()))
            writeItem(out, plan, *item);
    out.endArray();
    out.key("activityOrder");
    writeIds(out, priorities.activityPriorityOrder());
    out.key("divisionOrder");
    writeDivisionOrders(out, plan, priorities, doc.inputRows);
    out.key("detached");
    writeDetached(out, CPlanEditor{plan});
    out.endObject();
}
