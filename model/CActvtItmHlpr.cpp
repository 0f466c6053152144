#include "model/CActvtItmHlpr.h"

#include "model/CQLData.h"

void CActvtItmHlpr::applyBottomUp(CQLData& plan, CActivityItem& item) const {
    if (!item.isDivision()) {
        setValue(item, computeValue(item));
        return;
    }
    double sum = 0.0;
    for (CActivityItem* child : plan.contentInWalkOrder(item)) {
        applyBottomUp(plan, *child);
        sum += getValue(*child);
    }
    setValue(item, sum);
}
