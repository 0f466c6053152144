#pragma once

#include "model/CFlatMap.h"
#include "model/CWeekSetAveraged.h"
#include "model/FloatMy.h"

#include <cstdint>

// One activity's day hours of one week, by day index (1 Sunday .. 7 Saturday, 8 the whole
// week). The two summary fields it inherits are neither used nor stored.
class CWeekSetDetailed : public CWeekSetAveraged {
public:
    CFlatMap<std::uint16_t, FloatMy> dayHours;

    // Sum of the entries for day indexes 1 to 8.
    double sumOfDays() const;

    bool operator==(const CWeekSetDetailed& other) const { return dayHours == other.dayHours; }
};
