#include "parse/DecimalText.h"

#include <charconv>
#include <cmath>

namespace decimaltext {

double leadingValue(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1); // from_chars takes no plus sign
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        return text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    return error == std::errc{} ? value : 0.0;
}

} // namespace decimaltext
