#pragma once

#include "model/CFlatMap.h"
#include "model/IntegerMy.h"

#include <cstdint>
#include <string>
#include <vector>

// One node of the plan: an activity when it has no children, a division when it has some.
// The stored fields are memo, partUnit, timePart, name, parentId, id and children; the rest
// are results of the ledger and priority computations, filled before anything shows them.
class CActivityItem {
public:
    static constexpr const char* kNewItemName = "_NewItem";

    CActivityItem(std::int32_t itemId, const std::string& latestDate);

    bool isDivision() const { return !children.empty(); }
    // What takes hours: no children, and not the root (identifier 0), which is the plan's
    // division even while it holds nothing.
    bool takesHours() const { return children.empty() && id != 0; }
    bool isDetached() const { return id != 0 && parentId == -1; }

    double plannedHours = 0;
    std::string startDate;
    double hoursToSpend = 0;
    std::string memo;
    std::int32_t partUnit = 2;
    double availableHours = 0;
    double activeWeekHours = 0;
    double priority = 0;
    double reducedHoursSpent = 0;
    double spentToPlannedRatio = 0;
    CFlatMap<std::uint16_t, double> activeWeekDayHours;
    double activeWeekReducedHours = 0;
    double timePart = 0;
    double averagedPart = -3.0;
    std::string name{kNewItemName};
    std::int32_t parentId = -1;
    std::int32_t id = -1;
    std::vector<IntegerMy> children;
};
