#pragma once

// One activity's summary of one week: the hours spent in it and the reduced hours of all
// earlier weeks.
class CWeekSetAveraged {
public:
    double weekHours = 0;
    double carriedHours = 0;

    bool operator==(const CWeekSetAveraged&) const = default;
};
