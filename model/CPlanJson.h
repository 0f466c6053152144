#pragma once

#include <string>
#include <string_view>
#include <vector>

class CQLData;

// The whole plan as JSON: every item with its stored fields (detached ones included), the
// week summaries and the day hours, and the reserved text, so that reading it back gives the
// same plan. The form is described in the README.
class CPlanJson {
public:
    static std::string write(const CQLData& plan);
    // Fills an empty plan; false with the reason when the text is not such a plan, hours of an
    // identifier that names no item among them. Weeks outside the kept period up to today's
    // are left out, as a load would drop them, and listed in `leftOut` (their Sundays).
    static bool read(std::string_view text, CQLData& plan, std::string& error,
                     std::vector<std::string>* leftOut = nullptr);
    // "2 weeks outside the kept period were left out: 20241201, 20241208."; "" for none.
    static std::string leftOutText(const std::vector<std::string>& weeks);
};
