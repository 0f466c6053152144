#include "app/CNextActivity.h"

#include "core/QlnClock.h"
#include "model/CPriorityComputation.h"
#include "model/CQLData.h"
#include "views/PlanText.h"

#include <algorithm>
#include <cmath>

std::optional<CNextActivity> CNextActivity::of(CQLData& plan) {
    if (!plan.root())
        return std::nullopt;
    const std::vector<std::uint16_t> order = CPriorityComputation{plan}.activityPriorityOrder();
    const CActivityItem* next = order.empty() ? nullptr : plan.findItem(order.front());
    if (!next)
        return std::nullopt;
    return CNextActivity{next->id, plantext::toDisplay(plan.fullName(*next)),
                         std::llround(std::max(0.0, next->hoursToSpend) * 60)};
}

QString CNextActivity::hoursText() const {
    return QString::fromStdString(qlnclock::hoursMinutes(minutesToPlan));
}
