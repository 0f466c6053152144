#include "model/CActvtItmHlpr.h"

#include "model/CQLData.h"

void CActvtItmHlpr::applyBottomUp(CQLData& plan, CActivityItem& item) const {
    if (!item.isDivision()) {
        setValue(item, computeValue(item));
        return;
    }
    const std::vector<CActivityItem*> content = plan.contentInWalkOrder(item);
    for (CActivityItem* child : content)
        applyBottomUp(plan, *child);
    sumContent(item, content);
}

void CActvtItmHlpr::sumContent(CActivityItem& division,
                               const std::vector<CActivityItem*>& content) const {
    double sum = 0.0;
    for (const CActivityItem* child : content)
        sum += getValue(*child);
    setValue(division, sum);
}
