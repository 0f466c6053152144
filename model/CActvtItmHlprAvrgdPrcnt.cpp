#include "model/CActvtItmHlprAvrgdPrcnt.h"

#include "app/CAppCore.h"
#include "app/QlnDates.h"
#include "model/CQLData.h"

#include <vector>

double CActvtItmHlprAvrgdPrcnt::getValue(const CActivityItem& item) const {
    return item.averagedPart;
}

void CActvtItmHlprAvrgdPrcnt::setValue(CActivityItem& item, double value) const {
    item.averagedPart = item.isDivision() ? kDivision : value;
}

double CActvtItmHlprAvrgdPrcnt::computeValue(const CActivityItem& item) const {
    const CAppCore& app = m_plan.app();
    const CQlnConfig& config = app.config();
    const std::string latestWeek =
        qlndates::weekStartText(app.dates().latestDate().date());
    // The first complete week.
    std::string start = item.startDate;
    if (!qlndates::isWeekStart(start))
        start = qlndates::weekOffset(start, 1);
    int weeks = (qlndates::daysBetween(start, latestWeek) + 2) / 7;
    if (weeks < config.minimumStatisticsWeeks)
        return kNotEnoughData;
    const int period = app.averagedWeeks();
    if (period < weeks) {
        weeks = period;
        start = qlndates::weekOffset(latestWeek, -period);
    }
    if (weeks <= 1)
        return kNotEnoughData;

    std::vector<double> hours(static_cast<std::size_t>(weeks));
    double total = 0.0;
    for (int i = 0; i < weeks; ++i) {
        hours[static_cast<std::size_t>(i)] =
            m_plan.weekHours(qlndates::weekOffset(start, i), static_cast<std::uint16_t>(item.id));
        total += hours[static_cast<std::size_t>(i)];
    }
    const double perWeekAt100 = config.daysPerWeek * config.hoursPerDay;
    // Without a planned part there is no weekly plan to compare with: the actual part itself.
    if (item.timePart < CAppCore::kTolerance)
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
