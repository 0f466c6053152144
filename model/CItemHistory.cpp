#include "model/CItemHistory.h"

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CGoneActivities.h"
#include "model/CHoursArchive.h"
#include "model/CPriorityComputation.h"
#include "model/CQLData.h"

#include <algorithm>
#include <limits>
#include <map>

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

std::vector<std::uint16_t> activitiesUnder(const CQLData& plan, const CActivityItem& item) {
    return item.isDivision() ? plan.activitiesOf(item)
                             : std::vector<std::uint16_t>{static_cast<std::uint16_t>(item.id)};
}

// The item's first day: its earliest activity's start (the first day with hours, or the latest
// day when none has any). Before it nothing was planned, so nothing is shown.
std::string startOf(const CQLData& plan, const std::vector<std::uint16_t>& activities) {
    std::string start = plan.app().dates().latestDate().text();
    for (std::uint16_t id : activities)
        if (const CActivityItem* activity = plan.findItem(id))
            start = std::min(start, activity->startDate);
    return start;
}

} // namespace

std::vector<CItemHistory::Week> CItemHistory::weeks(CQLData& plan, std::int32_t itemId, int count,
                                                    const std::vector<CArchivedHours>& archive) {
    const CActivityItem* item = plan.findItem(itemId);
    if (!item || count <= 0)
        return {};
    const CAppDates& dates = plan.app().dates();
    const std::string last = qlndates::weekStartText(dates.activeDay().date());
    const std::string kept = qlndates::weekStartText(dates.keptStart().date());
    const std::vector<std::uint16_t> activities = activitiesUnder(plan, *item);
    const std::string wanted = qlndates::weekOffset(last, -(count - 1));
    std::vector<Week> series = olderWeeks(plan, archive, activities, wanted, kept);
    const std::string started =
        qlndates::weekStartText(CMyStringDate::parse(startOf(plan, activities)));
    const std::string first = std::max({wanted, kept, series.empty() ? started : std::string{}});
    const CQlnConfig& config = plan.app().config();
    const double planned = config.daysPerWeek * item->timePart * config.hoursPerDay / 100.0;
    for (Week& week : series)
        week.plannedHours = planned;
    CPriorityComputation priorities{plan};
    for (std::string week = first; week <= last; week = qlndates::weekOffset(week, 1)) {
        const std::chrono::sys_days end =
            std::min(CMyStringDate::parse(qlndates::addDays(week, 6)), dates.latestDate().date());
        priorities.computePrioritiesAsOf(end);
        series.push_back({week, weekHoursOf(plan, week, activities), planned, item->priority});
    }
    priorities.computeCurrentPriorities();
    return series;
}

// The archive's weeks from `first` to the plan's first: every week from the earliest with
// hours of the activities, without a priority (the plan cannot compute one so far back).
std::vector<CItemHistory::Week>
CItemHistory::olderWeeks(const CQLData& plan, const std::vector<CArchivedHours>& archive,
                         const std::vector<std::uint16_t>& activities, const std::string& first,
                         const std::string& kept) {
    std::vector<bool> wanted(0x10000, false);
    for (const std::uint16_t id : activities)
        wanted[id] = true;
    const CGoneActivities gone{archive};
    std::map<std::string, double> hours;
    for (const CArchivedHours& row : archive) {
        if (row.isDeleted() || !wanted[row.id] || row.date < first || !plan.findItem(row.id) ||
            gone.ownerOf(row))
            continue;
        if (const std::string week = CHoursArchive::weekOf(row); week >= first && week < kept)
            hours[week] += row.hours;
    }
    std::vector<Week> series;
    if (hours.empty())
        return series;
    for (std::string week = hours.begin()->first; week < kept; week = qlndates::weekOffset(week, 1))
        series.push_back({week, hours.count(week) ? hours[week] : 0.0, 0,
                          std::numeric_limits<double>::quiet_NaN()});
    return series;
}

std::vector<CItemHistory::Day> CItemHistory::days(const CQLData& plan, std::int32_t itemId) {
    const CActivityItem* item = plan.findItem(itemId);
    if (!item)
        return {};
    const CAppDates& dates = plan.app().dates();
    const std::vector<std::uint16_t> activities = activitiesUnder(plan, *item);
    const CQlnConfig& config = plan.app().config();
    const double planned = item->timePart * config.hoursPerDay / 100.0;
    const std::string last =
        qlndates::addDays(qlndates::weekStartText(dates.activeDay().date()), 6);
    std::vector<Day> series;
    for (std::string day = std::max(dates.detailedStart().text(), startOf(plan, activities));
         day <= last; day = qlndates::addDays(day, 1)) {
        const std::chrono::sys_days date = CMyStringDate::parse(day);
        const std::string week = qlndates::weekStartText(date);
        double hours = 0;
        for (std::uint16_t id : activities)
            hours += plan.dayHours(week, id, qlndates::dayOfWeek(date));
        series.push_back({day, hours, planned});
    }
    return series;
}

std::vector<CItemHistory::Share> CItemHistory::shares(const CQLData& plan, std::int32_t divisionId,
                                                      int weeks) {
    const CActivityItem* division = plan.findItem(divisionId);
    const CActivityItem* root = plan.findItem(CQLData::kRootId);
    if (!division || !root || weeks <= 0)
        return {};
    const CAppDates& dates = plan.app().dates();
    const std::string last = qlndates::weekStartText(dates.activeDay().date());
    const std::string first = std::max(qlndates::weekOffset(last, -(weeks - 1)),
                                       qlndates::weekStartText(dates.keptStart().date()));
    const auto hoursOver = [&](const std::vector<std::uint16_t>& activities) {
        double hours = 0;
        for (std::string week = first; week <= last; week = qlndates::weekOffset(week, 1))
            hours += weekHoursOf(plan, week, activities);
        return hours;
    };
    const double all = hoursOver(plan.activitiesOf(*root));
    std::vector<Share> shares;
    for (const IntegerMy& child : division->children) {
        const CActivityItem* item = plan.findItem(child.value());
        if (!item)
            continue;
        const double hours = hoursOver(activitiesUnder(plan, *item));
        shares.push_back({item->id, CQLData::displayName(*item), item->timePart,
                          all > 0 ? hours * 100.0 / all : 0.0});
    }
    std::stable_sort(shares.begin(), shares.end(), [](const Share& a, const Share& b) {
        return a.plannedPart - a.actualPart > b.plannedPart - b.actualPart;
    });
    return shares;
}
