#pragma once

#include "model/CArchivedHours.h"
#include "model/CGoneActivities.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class CQLData;

// The hours of a period, from a plan and the archive of the weeks it no longer keeps. A day
// counts where it falls; a week known only as a total counts where its Sunday falls. The
// plan speaks for the weeks it keeps (with the archive's days for a week whose total they
// make up), the archive for the weeks before.
class CPeriodHours {
public:
    // first and last: YYYYMMDD, both included.
    CPeriodHours(const CQLData& plan, const std::vector<CArchivedHours>& archive, std::string first,
                 std::string last);

    // The hours of each item of the plan, live or deleted, by identifier (activities only).
    const std::unordered_map<std::uint16_t, double>& ofItems() const { return m_items; }
    // Archived hours of deleted activities the plan let go, by their last name (a path cell).
    const std::map<std::string, double>& ofGone() const { return m_gone; }

private:
    struct ArchivedWeek {
        int week = 0; // the Sunday's day number
        std::vector<const CArchivedHours*> rows;
    };
    // An activity's week: the identifier above the Sunday's day number.
    static std::uint64_t keyOf(std::uint16_t id, int week);
    static int dayNumber(const std::string& date);
    static int weekOfDay(int day);
    static std::string textOf(int day);
    bool inside(const std::string& date) const { return date >= m_first && date <= m_last; }
    void addPlanWeeks();
    void addPlanWeek(const std::string& week);
    bool addArchivedDays(std::uint16_t id, const std::string& week, double total);
    void addArchivedWeek(const ArchivedWeek& group);
    void addArchiveRow(const CArchivedHours& row);

    const CQLData& m_plan;
    std::string m_first;
    std::string m_last;
    int m_planStart; // the first week the plan keeps
    // The archive's rows in the period, by activity and week.
    std::unordered_map<std::uint64_t, ArchivedWeek> m_archivedWeeks;
    CGoneActivities m_goneActivities;
    std::unordered_map<std::uint16_t, double> m_items;
    std::map<std::string, double> m_gone;
};
