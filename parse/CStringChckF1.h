#pragma once

#include <string>

// The check applied to every text that goes into a cell or becomes a name: cells hold at most
// 254 characters, and a typed text loses its surrounding blanks; a text of blanks only is
// refused.
class CStringChckF1 {
public:
    static constexpr std::size_t kMaxCellText = 254;
    static constexpr const char* kErrorMarker = "_Error";

    // The text cut to the cell limit.
    static std::string cellText(const std::string& text);
    // The typed text trimmed and cut; kErrorMarker when nothing is left.
    static std::string typedText(const std::string& text);
    static bool isError(const std::string& checked) { return checked == kErrorMarker; }
};
