#pragma once

#include "model/CItemInfo.h"

#include <cstdint>

class CQLData;

// The averaged actual parts of every activity and the texts of the item info sheet.
class CStatistics {
public:
    static constexpr const char* kDivisionCaption =
        "No Statistics because for a Division It Might be Misleading.";
    static constexpr const char* kDivisionValue = "No Statistics (Division)";
    static constexpr const char* kNotEnoughData = "Not Enough Data Yet";
    static constexpr const char* kAsPlanned = "~ Planned Time Part";
    static constexpr const char* kAsPlannedRatio = "~ 100%";
    static constexpr const char* kVeryLarge = "Very large";

    explicit CStatistics(CQLData& plan) : m_plan(plan) {}

    void computeAveragedParts();
    // Composes the texts for the item into the plan's item info record and returns them;
    // the priorities and averaged parts must be computed first.
    const CItemInfo& fillItemInfo(std::int32_t itemId);

private:
    CQLData& m_plan;
};
