#include "model/CStatistics.h"

#include "core/Tolerance.h"
#include "model/CActvtItmHlprAvrgdPrcnt.h"
#include "model/CAppCore.h"
#include "model/CPriorityComputation.h"
#include "model/CQLData.h"
#include "parse/NumberFormat.h"

namespace {

std::string periodCaption(int periodIndex) {
    const char* period = periodIndex == 1 ? "Year" : periodIndex == 2 ? "Month" : "Quarter";
    return std::string("Actual Time Part Averaged over Last ") + period;
}

std::string inUnit(double percent, int unit, const CQlnConfig& config) {
    const numberformat::TimeFactors factors{config.hoursPerDay, config.daysPerWeek,
                                            config.daysPerMonth};
    return numberformat::formatTimePart(percent, unit, factors) + numberformat::unitLabel(unit);
}

} // namespace

void CStatistics::computeAveragedParts() {
    if (CActivityItem* root = m_plan.root())
        CActvtItmHlprAvrgdPrcnt{m_plan}.applyBottomUp(m_plan, *root);
}

const CItemInfo& CStatistics::fillItemInfo(std::int32_t itemId) {
    CItemInfo& info = m_plan.itemInfo;
    const CActivityItem* item = m_plan.findItem(itemId);
    if (!item)
        return info;
    const CQlnConfig& config = m_plan.app().config();
    info.averagingCaption = periodCaption(m_plan.app().averagingPeriodIndex());
    info.itemName = m_plan.fullName(*item);
    info.hoursRemaining = CPriorityComputation::hoursToSpendText(*item);
    info.reducedHoursSpent = numberformat::formatHoursMinutes(item->activeWeekReducedHours, 2);
    info.memo = item->memo;
    info.plannedTimePart = inUnit(item->timePart, item->partUnit, config);

    const double averaged = item->averagedPart;
    if (item->isDivision()) {
        info.averagingCaption = kDivisionCaption;
        info.actualAveragedPart = kDivisionValue;
        info.actualToPlannedRatio = kDivisionValue;
    } else if (averaged > -2 && averaged < 0) {
        info.actualAveragedPart = kNotEnoughData;
        info.actualToPlannedRatio = kNotEnoughData;
    } else if (averaged > -3 && averaged < -1) {
        info.actualAveragedPart = kAsPlanned;
        info.actualToPlannedRatio = kAsPlannedRatio;
    } else {
        info.actualAveragedPart = inUnit(averaged, item->partUnit, config);
        info.actualToPlannedRatio =
            item->timePart < tolerance::kEqual
                ? kVeryLarge
                : numberformat::formatDecimal(averaged * 100.0 / item->timePart, 0) + " %";
    }
    return info;
}
