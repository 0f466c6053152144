#include "model/CPlanCheck.h"

#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

bool CPlanCheck::treeIsWellFormed(const CQLData& plan) {
    for (const auto& [key, item] : plan.items)
        if (item->id != key)
            return false;
    if (!plan.findItem(CQLData::kRootId))
        return true; // the ledger check refuses a plan without a root
    // Every item is reached at most once from the root and the detached items: no cycle, no
    // item listed twice, no child that names nothing, no runaway depth for the walks down.
    std::vector<bool> seen(0x10000, false);
    std::vector<std::pair<const CActivityItem*, int>> pending;
    for (const auto& [id, item] : plan.items)
        if (id == CQLData::kRootId || item->parentId < 0) {
            seen[static_cast<std::uint16_t>(id)] = true;
            pending.emplace_back(item.get(), 0);
        }
    while (!pending.empty()) {
        const auto [item, depth] = pending.back();
        pending.pop_back();
        if (depth > kMaxDepth)
            return false;
        for (const IntegerMy& child : item->children) {
            const CActivityItem* found = plan.findItem(child.value());
            if (!found || seen[static_cast<std::uint16_t>(found->id)])
                return false;
            seen[static_cast<std::uint16_t>(found->id)] = true;
            pending.emplace_back(found, depth + 1);
        }
    }
    return parentChainsEnd(plan);
}

// The walks up (full names, divisions of an item) end at the root or a detached item.
bool CPlanCheck::parentChainsEnd(const CQLData& plan) {
    for (const auto& entry : plan.items) {
        const CActivityItem* at = entry.second.get();
        for (int steps = 0; at && at->parentId >= 0 && at->id != CQLData::kRootId; ++steps) {
            if (steps > kMaxDepth)
                return false;
            at = plan.findItem(at->parentId);
        }
    }
    return true;
}

bool CPlanCheck::detachedUnlisted(const CQLData& plan) {
    std::set<std::int32_t> listed;
    for (const auto& entry : plan.items)
        for (const IntegerMy& child : entry.second->children)
            listed.insert(child.value());
    for (const auto& [id, item] : plan.items)
        if (item->parentId < 0 && listed.count(id))
            return false;
    return true;
}

bool CPlanCheck::ledgerConsistent(const CQLData& plan) {
    const CActivityItem* root = plan.findItem(CQLData::kRootId);
    if (!root)
        return false;
    // In id order, as the weeks keep their sets: each week is then walked once.
    std::vector<std::uint16_t> activities = plan.activitiesOf(*root);
    std::sort(activities.begin(), activities.end());
    for (const auto& [key, week] : plan.detailedWeeks) {
        const auto summaries = plan.averagedWeeks.find(key);
        if (summaries == plan.averagedWeeks.end())
            return false;
        auto set = week.begin();
        auto summary = summaries->second.begin();
        for (std::uint16_t id : activities) {
            set = std::find_if(set, week.end(), [id](const auto& s) { return s.first >= id; });
            summary = std::find_if(summary, summaries->second.end(),
                                   [id](const auto& s) { return s.first >= id; });
            const bool hasSet = set != week.end() && set->first == id;
            const bool hasSummary = summary != summaries->second.end() && summary->first == id;
            const double days = hasSet ? set->second.sumOfDays() : 0.0;
            const double total = hasSummary ? summary->second.weekHours : 0.0;
            // Week totals are kept in single precision; large totals need its relative margin.
            const double allowed = tolerance::kEqual + std::fabs(days) * 1.2e-7;
            if (!(std::fabs(days - total) <= allowed))
                return false;
        }
    }
    return true;
}

std::string CPlanCheck::problem(const CQLData& plan) {
    if (!treeIsWellFormed(plan))
        return "its tree lists an item that does not exist, lists an item twice, loops or is "
               "nested deeper than " +
               std::to_string(kMaxDepth) + " levels";
    if (!detachedUnlisted(plan))
        return "a deleted item is still listed in a division";
    if (!ledgerConsistent(plan))
        return "its week totals do not match their days";
    return {};
}
