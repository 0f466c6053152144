#include "model/CGoneActivities.h"

#include <algorithm>

CGoneActivities::CGoneActivities(const std::vector<CArchivedHours>& archive) {
    for (const CArchivedHours& row : archive)
        if (row.isDeleted())
            m_marks[row.id].push_back(&row);
    for (auto& [id, marks] : m_marks)
        std::sort(marks.begin(), marks.end(), [](const CArchivedHours* a, const CArchivedHours* b) {
            return a->date < b->date;
        });
}

// The first activity let go after the row's date.
const CArchivedHours* CGoneActivities::ownerOf(const CArchivedHours& row) const {
    const auto marks = m_marks.find(row.id);
    if (marks == m_marks.end())
        return nullptr;
    for (const CArchivedHours* mark : marks->second)
        if (mark->date > row.date)
            return mark;
    return nullptr;
}
