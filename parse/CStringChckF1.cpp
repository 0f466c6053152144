#include "parse/CStringChckF1.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::string CStringChckF1::cellText(const std::string& text) {
    if (text.size() <= kMaxCellText)
        return text;
    // Never cut inside a UTF-8 sequence.
    std::size_t cut = kMaxCellText;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

std::string CStringChckF1::typedText(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    if (first == last)
        return kErrorMarker;
    return cellText(text.substr(first, last - first));
}
