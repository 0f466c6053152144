#pragma once

#include <string>

// The texts that the item info sheet shows for one item, composed by the statistics.
class CItemInfo {
public:
    virtual ~CItemInfo() = default;

    std::string actualToPlannedRatio;
    std::string actualAveragedPart;
    std::string averagingCaption;
    std::string itemName{" "};
    std::string plannedTimePart;
    std::string hoursRemaining;
    std::string reducedHoursSpent;
    std::string memo;
};
