#pragma once

#include <string_view>

// Reads numbers written with "." as the decimal point whatever the user's locale, so that a
// comma locale never turns 1.2 into 1.
namespace decimaltext {

// The number at the start of the text, as strtod would read it in the "C" locale; 0 when
// the text does not start with one.
double leadingValue(std::string_view text);

} // namespace decimaltext
