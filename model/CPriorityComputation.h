#pragma once

#include "model/CFlatMap.h"
#include "model/CRowTypeInfo.h"
#include "model/CWeekSetAveraged.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CWeekSetAveraged;

class CActivityItem;
class CQLData;

// The current priorities: how far each activity lags behind its planned part, with older
// weeks counting less, and the hours it still needs; divisions get the sums of their content.
// Also the two orders the priority panes list them in.
class CPriorityComputation {
public:
    explicit CPriorityComputation(CQLData& plan) : m_plan(plan) {}

    void computeCurrentPriorities();
    // After only this activity's hours changed in today's week since the last computation for
    // today: the activity and its divisions are computed again, the rest stands. Otherwise
    // (false) every priority is computed.
    bool updateForHoursOf(std::int32_t activityId);
    // The priorities as they stood at the end of that day: its week's summaries, and the days
    // each item was available up to it.
    void computePrioritiesAsOf(std::chrono::sys_days day);
    // Weighted days from the earlier date to the later one.
    double reducedDayCount(const std::string& later, const std::string& earlier) const;

    // Rows as they were ordered before only the `moved` items' priorities changed. Where that
    // holds, the other rows keep their order and each moved item is put where a sort puts it,
    // which is the sort's order without the sort; where it does not, the rows are sorted.
    struct Earlier {
        const RowMap& rows;
        const std::vector<std::int32_t>& moved;
    };

    // All activities, highest priority first (equal priorities: the later one in walk order).
    std::vector<std::uint16_t> activityPriorityOrder(const Earlier* earlier = nullptr) const;
    // Sub-divisions, then activities, each highest priority first (equal: later child first).
    std::vector<std::uint16_t> divisionContentOrder(const CActivityItem& division,
                                                    const Earlier* earlier = nullptr) const;

    RowMap activityRows(const Earlier* earlier = nullptr) const;
    // Above the content of a division other than the root: its parent and the division itself.
    RowMap divisionRows(std::uint16_t currentDivision, const Earlier* earlier = nullptr) const;

    static std::string priorityText(const CActivityItem& item);
    static std::string hoursToSpendText(const CActivityItem& item);

private:
    void startAsOf(std::chrono::sys_days day);
    void sumSpentAndAvailable(CActivityItem& item);
    static void sumSpentAndAvailable(CActivityItem& division,
                                     const std::vector<CActivityItem*>& content);
    double availableDays(const std::string& startDate);
    double sumPlanned(CActivityItem& item);
    void setRatioAndPriority(CActivityItem& item);
    void setOwnRatioAndPriority(CActivityItem& item) const;
    std::vector<std::uint16_t>
    byPriority(const std::vector<const CActivityItem*>& items, const Earlier* earlier = nullptr,
               CRowTypeInfo::Kind kind = CRowTypeInfo::Kind::Activity) const;
    static std::optional<std::vector<std::uint16_t>>
    reordered(const std::vector<const CActivityItem*>& items,
              const std::vector<std::uint16_t>& earlier, const std::vector<std::int32_t>& moved);

    CQLData& m_plan;
    // Set for one computation: the current week's summaries, the latest date, and the
    // weighted day counts by start date (many activities share a start date).
    const CFlatMap<std::uint16_t, CWeekSetAveraged>* m_currentWeek = nullptr;
    std::chrono::sys_days m_latest{};
    std::unordered_map<std::string, double> m_dayCounts;
};
