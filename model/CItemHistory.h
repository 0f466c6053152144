#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CQLData;

// An item's weeks: the hours spent in it (a division: in its content), the hours its time
// part asks for in a week, and its priority as it stood at each week's end (or today, for the
// current week). The numbers behind the history chart and `qlntool history`.
class CItemHistory {
public:
    struct Week {
        std::string week; // the Sunday, YYYYMMDD
        double hours = 0;
        double plannedHours = 0;
        double priority = 0;
    };

    // Up to count weeks back to the active day's week, within the kept period, the oldest
    // first. The plan's current priorities are computed again afterwards.
    static std::vector<Week> weeks(CQLData& plan, std::int32_t itemId, int count);
};
