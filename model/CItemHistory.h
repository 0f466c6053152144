#pragma once

#include "model/CArchivedHours.h"

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

    struct Day {
        std::string day; // YYYYMMDD
        double hours = 0;
        double plannedHours = 0;
    };
    struct Share {
        std::int32_t id = -1;
        std::string name;
        double plannedPart = 0; // per cent of all planned time
        double actualPart = 0;  // per cent of all hours spent in the period
    };

    // Up to count weeks back to the active day's week, the oldest first: from the item's start
    // (its first hours) within the kept period, and before it the archive's weeks of the
    // item's activities, whose priority is NaN. The plan's current priorities are computed
    // again afterwards.
    static std::vector<Week> weeks(CQLData& plan, std::int32_t itemId, int count,
                                   const std::vector<CArchivedHours>& archive = {});
    // The days of the detailed period from the item's start up to the active week's end, the
    // oldest first.
    static std::vector<Day> days(const CQLData& plan, std::int32_t itemId);
    // The items directly in a division over the weeks up to the active one: the part the plan
    // gives each and the part of all hours it got, the furthest behind its plan first.
    static std::vector<Share> shares(const CQLData& plan, std::int32_t divisionId, int weeks);

private:
    static std::vector<Week> olderWeeks(const CQLData& plan,
                                        const std::vector<CArchivedHours>& archive,
                                        const std::vector<std::uint16_t>& activities,
                                        const std::string& first, const std::string& kept);
};
