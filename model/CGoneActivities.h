#pragma once

#include "model/CArchivedHours.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

// The deleted activities a plan has let go for good, from the archive's Deleted rows: an
// identifier freed so may name a new activity since, and the rows before its Deleted row are
// the old one's.
class CGoneActivities {
public:
    explicit CGoneActivities(const std::vector<CArchivedHours>& archive);

    // The Deleted row of the activity a row was for; null when the row is its identifier's.
    const CArchivedHours* ownerOf(const CArchivedHours& row) const;

private:
    std::unordered_map<std::uint16_t, std::vector<const CArchivedHours*>> m_marks; // by date
};
