#include "model/CWeekSetDetailed.h"

double CWeekSetDetailed::sumOfDays() const {
    double sum = 0.0;
    for (auto it = dayHours.lower_bound(1); it != dayHours.end() && it->first <= 8; ++it)
        sum += it->second.value();
    return sum;
}
