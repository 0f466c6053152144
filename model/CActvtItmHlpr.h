#pragma once

#include <vector>

class CActivityItem;
class CQLData;

// A per-item value computed for activities and summed up through divisions. Subclasses say
// which field it is and how an activity's value is computed; the bottom-up driver is shared.
class CActvtItmHlpr {
public:
    virtual double getValue(const CActivityItem& item) const = 0;
    virtual void setValue(CActivityItem& item, double value) const = 0;
    virtual double computeValue(const CActivityItem& item) const = 0;
    virtual ~CActvtItmHlpr() = default;

    // An activity gets its computed value; a division the sum of its content's values,
    // activities first, then sub-divisions. A missing child ends its division's walk.
    void applyBottomUp(CQLData& plan, CActivityItem& item) const;
    // A division's value from its content's, already set.
    void sumContent(CActivityItem& division, const std::vector<CActivityItem*>& content) const;
};
