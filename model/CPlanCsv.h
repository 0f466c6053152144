#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CQLData;

// The plan's hours as CSV, a row per recorded amount: "date,activity,hours,kind", the date as
// YYYY-MM-DD (the Sunday for a week total), the activity's full name, decimal hours and "day"
// or "week". Reading adds such rows to a plan, making the divisions and activities the names
// ask for; it also takes what spreadsheets save: semicolons with decimal commas or tabs as
// separators, YYYYMMDD dates and h:mm hours. The file itself, its hold and its saving are the
// caller's.
class CPlanCsv {
public:
    struct Problem {
        int line = 0;
        std::string text;
    };
    struct ImportResult {
        int taken = 0;
        std::vector<Problem> bad;     // rows that could not be taken
        std::vector<Problem> outside; // rows outside the kept period, skipped
        int createdItems = 0;
        // True when the plan was changed (no bad rows, or bad rows skipped on request).
        bool applied = false;
        bool noMemory = false; // the import ran out of memory; the plan is as it was
    };
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    static std::string write(const CQLData& plan);
    // Bad rows leave the plan as it was unless skipBad is set; then only they are left out.
    static ImportResult read(std::string_view text, CQLData& plan, bool skipBad,
                             const Progress& progress = {});
};
