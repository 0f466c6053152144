#pragma once

#include "model/CActvtItmHlpr.h"

// Hours that remain to be spent: planned minus spent, never negative for an activity.
class CActvtItmHlprTmToSpnd : public CActvtItmHlpr {
public:
    double getValue(const CActivityItem& item) const override;
    void setValue(CActivityItem& item, double value) const override;
    double computeValue(const CActivityItem& item) const override;
};
