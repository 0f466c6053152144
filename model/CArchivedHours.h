#pragma once

#include <cstdint>
#include <string>

// Hours of one activity that left the plan's periods: a day's hours, or a week's total when
// the plan kept no days for it. The name is the activity's path cell as the export writes it,
// as the activity was named when the row was written.
//
// A Deleted row says that the plan let the deleted activity of this identifier go for good:
// the rows of the identifier dated before it are that activity's, under the row's name; its
// date is the first day the plan then kept, so that an activity given the identifier later
// never has hours before it.
struct CArchivedHours {
    enum class Kind { Day, Week, Deleted };

    std::string date; // YYYYMMDD; the Sunday for a week total
    std::string name;
    double hours = 0;
    Kind kind = Kind::Day;
    std::uint16_t id = 0;

    bool isWeek() const { return kind == Kind::Week; }
    bool isDeleted() const { return kind == Kind::Deleted; }
    bool operator==(const CArchivedHours&) const = default;
};
