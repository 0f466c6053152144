#pragma once

#include <string>
#include <string_view>

class CQLData;

// The whole plan as JSON: every item with its stored fields (detached ones included), the
// week summaries and the day hours, and the reserved text, so that reading it back gives the
// same plan. The form is described in the README.
class CPlanJson {
public:
    static std::string write(const CQLData& plan);
    // Fills an empty plan; false with the reason when the text is not such a plan.
    static bool read(std::string_view text, CQLData& plan, std::string& error);
};
