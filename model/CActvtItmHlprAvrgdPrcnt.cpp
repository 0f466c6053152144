#include "model/CActvtItmHlprAvrgdPrcnt.h"

#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"

#include <algorithm>
#include <vector>

CActvtItmHlprAvrgdPrcnt::CActvtItmHlprAvrgdPrcnt(const CQLData& plan)
    : m_plan(plan), m_latestWeek(qlndates::weekStartText(plan.app().dates().latestDate().date())) {
    const int longest =
        std::max(plan.app().averagedWeeks(), plan.app().config().minimumStatisticsWeeks);
    for (int k = 1; k <= longest; ++k) {
        const auto week = plan.averagedWeeks.find(qlndates::weekOffset(m_latestWeek, -k));
        m_weeks.push_back(week == plan.averagedWeeks.end() ? nullptr : &week->second);
    }
}

double CActvtItmHlprAvrgdPrcnt::weekHours(int weeksBeforeLatest, std::uint16_t activity) const {
    if (weeksBeforeLatest < 1 || weeksBeforeLatest > static_cast<int>(m_weeks.size()))
        return m_plan.weekHours(qlndates::weekOffset(m_latestWeek, -weeksBeforeLatest), activity);
    const auto* week = m_weeks[static_cast<std::size_t>(weeksBeforeLatest - 1)];
    if (!week)
        return 0.0;
    const auto set = week->find(activity);
    return set == week->end() ? 0.0 : set->second.weekHours;
}

double CActvtItmHlprAvrgdPrcnt::getValue(const CActivityItem& item) const {
    return item.averagedPart;
}

void CActvtItmHlprAvrgdPrcnt::setValue(CActivityItem& item, double value) const {
    item.averagedPart = item.isDivision() ? kDivision : value;
}

double CActvtItmHlprAvrgdPrcnt::computeValue(const CActivityItem& item) const {
    const CAppCore& app = m_plan.app();
    const CQlnConfig& config = app.config();
    const std::string& latestWeek = m_latestWeek;
    // The first complete week.
    std::string start = item.startDate;
    if (!qlndates::isWeekStart(start))
        start = qlndates::weekOffset(start, 1);
    int weeks = (qlndates::daysBetween(start, latestWeek) + 2) / 7;
    if (weeks < config.minimumStatisticsWeeks)
        return kNotEnoughData;
    const int period = app.averagedWeeks();
    if (period < weeks)
        weeks = period;
    if (weeks <= 1)
        return kNotEnoughData;

    std::vector<double> hours(static_cast<std::size_t>(weeks));
    double total = 0.0;
    for (int i = 0; i < weeks; ++i) {
        // The weeks run from `weeks` weeks before the latest one up to the week before it.
        hours[static_cast<std::size_t>(i)] =
            weekHours(weeks - i, static_cast<std::uint16_t>(item.id));
        total += hours[static_cast<std::size_t>(i)];
    }
    const double perWeekAt100 = config.daysPerWeek * config.hoursPerDay;
    // Without a planned part there is no weekly plan to compare with: the actual part itself.
    if (item.timePart < tolerance::kEqual)
        return total / weeks * 100.0 / perWeekAt100;

    const double planned = perWeekAt100 * item.timePart / 100.0;
    const double m = total / planned / weeks;
    double spread = 0.0;
    for (double h : hours) {
        const double d = m - h / planned;
        spread += d * d;
    }
    spread /= weeks - 1;
    if ((m - 1.0) * (m - 1.0) < spread)
        return kWithinSpread;
    return m * item.timePart;
}
