#pragma once

#include "model/CActvtItmHlpr.h"
#include "model/CFlatMap.h"
#include "model/CWeekSetAveraged.h"

#include <cstdint>
#include <string>
#include <vector>

// The actual time part an activity received, averaged over the complete weeks of the chosen
// period, or a marker: -1 not enough data, -2 within the weekly spread of the plan, -3 for a
// division.
class CActvtItmHlprAvrgdPrcnt : public CActvtItmHlpr {
public:
    static constexpr double kNotEnoughData = -1.0;
    static constexpr double kWithinSpread = -2.0;
    static constexpr double kDivision = -3.0;

    explicit CActvtItmHlprAvrgdPrcnt(const CQLData& plan);

    double getValue(const CActivityItem& item) const override;
    void setValue(CActivityItem& item, double value) const override;
    double computeValue(const CActivityItem& item) const override;

private:
    double weekHours(int weeksBeforeLatest, std::uint16_t activity) const;

    const CQLData& m_plan;
    std::string m_latestWeek;
    // The summaries of the complete weeks before the latest one, most recent first, looked up
    // once for all activities (null where a week has none).
    std::vector<const CFlatMap<std::uint16_t, CWeekSetAveraged>*> m_weeks;
};
