#include "model/CActivityItem.h"

CActivityItem::CActivityItem(std::int32_t itemId, const std::string& latestDate)
    : startDate(latestDate), id(itemId) {}
