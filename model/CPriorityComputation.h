#pragma once

#include "model/CFlatMap.h"
#include "model/CRowTypeInfo.h"
#include "model/CWeekSetAveraged.h"

#include <chrono>
#include <cstdint>
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
    // The priorities as they stood at the end of that day: its week's summaries, and the days
    // each item was available up to it.
    void computePrioritiesAsOf(std::chrono::sys_days day);
    // Weighted days from the earlier date to the later one.
    double reducedDayCount(const std::string& later, const std::string& earlier) const;

    // All activities, highest priority first (equal priorities: the later one in walk order).
    std::vector<std::uint16_t> activityPriorityOrder() const;
    // Sub-divisions, then activities, each highest priority first (equal: later child first).
    std::vector<std::uint16_t> divisionContentOrder(const CActivityItem& division) const;

    RowMap activityRows() const;
    // Above the content of a division other than the root: its parent and the division itself.
    RowMap divisionRows(std::uint16_t currentDivision) const;

    static std::string priorityText(const CActivityItem& item);
    static std::string hoursToSpendText(const CActivityItem& item);

private:
    void sumSpentAndAvailable(CActivityItem& item);
    double availableDays(const std::string& startDate);
    double sumPlanned(CActivityItem& item);
    void setRatioAndPriority(CActivityItem& item);
    std::vector<std::uint16_t> byPriority(const std::vector<const CActivityItem*>& items) const;

    CQLData& m_plan;
    // Set for one computation: the current week's summaries, the latest date, and the
    // weighted day counts by start date (many activities share a start date).
    const CFlatMap<std::uint16_t, CWeekSetAveraged>* m_currentWeek = nullptr;
    std::chrono::sys_days m_latest{};
    std::unordered_map<std::string, double> m_dayCounts;
};
