#include "model/CItemHistory.h"

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CPriorityComputation.h"
#include "model/CQLData.h"

#include <algorithm>

namespace {

double weekHoursOf(const CQLData& plan, const std::string& week,
                   const std::vector<std::uint16_t>& activities) {
    const auto found = plan.averagedWeeks.find(week);
    if (found == plan.averagedWeeks.end())
        return 0;
    double hours = 0;
    for (std::uint16_t id : activities) {
        const auto set = found->second.find(id);
        if (set != found->second.end() && set->second.weekHours > 0)
            hours += set->second.weekHours;
    }
    return hours;
}

} // namespace

std::vector<CItemHistory::Week> CItemHistory::weeks(CQLData& plan, std::int32_t itemId, int count) {
    const CActivityItem* item = plan.findItem(itemId);
    if (!item || count <= 0)
        return {};
    const CAppDates& dates = plan.app().dates();
    const std::string last = qlndates::weekStartText(dates.activeDay().date());
    const std::string kept = qlndates::weekStartText(dates.keptStart().date());
    std::string first = qlndates::weekOffset(last, -(count - 1));
    first = std::max(first, kept);
    const std::vector<std::uint16_t> activities =
        item->isDivision() ? plan.activitiesOf(*item)
                           : std::vector<std::uint16_t>{static_cast<std::uint16_t>(itemId)};
    const CQlnConfig& config = plan.app().config();
    const double planned = config.daysPerWeek * item->timePart * config.hoursPerDay / 100.0;
    CPriorityComputation priorities{plan};
    std::vector<Week> series;
    for (std::string week = first; week <= last; week = qlndates::weekOffset(week, 1)) {
        const std::chrono::sys_days end =
            std::min(CMyStringDate::parse(qlndates::addDays(week, 6)), dates.latestDate().date());
        priorities.computePrioritiesAsOf(end);
        series.push_back({week, weekHoursOf(plan, week, activities), planned, item->priority});
    }
    priorities.computeCurrentPriorities();
    return series;
}
