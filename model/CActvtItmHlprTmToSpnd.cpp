#include "model/CActvtItmHlprTmToSpnd.h"

#include "model/CActivityItem.h"

double CActvtItmHlprTmToSpnd::getValue(const CActivityItem& item) const {
    return item.hoursToSpend;
}

void CActvtItmHlprTmToSpnd::setValue(CActivityItem& item, double value) const {
    item.hoursToSpend = value;
}

double CActvtItmHlprTmToSpnd::computeValue(const CActivityItem& item) const {
    const double left = item.plannedHours - item.reducedHoursSpent;
    return left > 0 ? left : 0.0;
}
