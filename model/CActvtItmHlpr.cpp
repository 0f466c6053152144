#include "model/CActvtItmHlpr.h"

#include "model/CQLData.h"

#include <vector>

void CActvtItmHlpr::applyBottomUp(CQLData& plan, CActivityItem& item) const {
    if (!item.isDivision()) {
        setValue(item, computeValue(item));
        return;
    }
    std::vector<CActivityItem*> activities;
    std::vector<CActivityItem*> divisions;
    for (const IntegerMy& child : item.children) {
        CActivityItem* found = plan.findItem(child.value());
        if (!found)
            break;
        (found->isDivision() ? divisions : activities).push_back(found);
    }
    double sum = 0.0;
    for (CActivityItem* activity : activities) {
        applyBottomUp(plan, *activity);
        sum += getValue(*activity);
    }
    for (CActivityItem* division : divisions) {
        applyBottomUp(plan, *division);
        sum += getValue(*division);
    }
    setValue(item, sum);
}
