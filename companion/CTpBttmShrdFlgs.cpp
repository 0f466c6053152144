#include "companion/CTpBttmShrdFlgs.h"

#include "companion/CNamedMutex.h"

#include <cctype>
#include <climits>
#include <string>

namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The value after one tag: from after the next "/>" up to the next "<", trimmed, leading
// digits read as a decimal number (no digits read as 0).
bool tagValue(std::string_view text, std::string_view tag, long long& value) {
    const std::size_t at = text.find(tag);
    if (at == std::string_view::npos)
        return false;
    const std::size_t close = text.find("/>", at);
    if (close == std::string_view::npos || close + 2 >= text.size())
        return false;
    const std::size_t begin = close + 2;
    const std::size_t end = text.find('<', begin);
    if (end == std::string_view::npos)
        return false;
    std::string_view raw = text.substr(begin, end - begin);
    while (!raw.empty() && isBlank(raw.front()))
        raw.remove_prefix(1);
    while (!raw.empty() && isBlank(raw.back()))
        raw.remove_suffix(1);
    if (raw.empty())
        return false;
    bool negative = false;
    if (raw.front() == '-' || raw.front() == '+') {
        negative = raw.front() == '-';
        raw.remove_prefix(1);
    }
    value = 0;
    for (const char c : raw) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return false; // no offset of a mapped block is that large
    }
    if (negative)
        value = -value;
    return true;
}

} // namespace

bool CTpBttmShrdFlgs::parseTags(std::string_view text, std::size_t blockSize, Offsets& offsets) {
    long long values[3] = {};
    const std::string_view tags[3] = {"<qlnPos/>", "<ecnPos/>", "<AltTab/>"};
    for (int i = 0; i < 3; ++i) {
        if (!tagValue(text, tags[i], values[i]))
            return false;
        if (values[i] < 0 || static_cast<unsigned long long>(values[i]) >= blockSize)
            return false;
    }
    offsets = {static_cast<std::int32_t>(values[0]), static_cast<std::int32_t>(values[1]),
               static_cast<std::int32_t>(values[2])};
    return true;
}

CTpBttmShrdFlgs::CTpBttmShrdFlgs(const Offsets& offsets, bool ownIsProgram, unsigned char* base,
                                 CNamedMutex& mutex)
    : m_ownOffset(ownIsProgram ? offsets.program : offsets.companion),
      m_partnerOffset(ownIsProgram ? offsets.companion : offsets.program),
      m_takeoverOffset(offsets.takeover), m_base(base), m_mutex(mutex) {}

bool CTpBttmShrdFlgs::read(std::int32_t offset) const {
    return m_mutex.accessWithin(kAccessWaitMs,
                                [&] { return m_base[offset] == static_cast<unsigned char>(kOn); });
}

void CTpBttmShrdFlgs::write(std::int32_t offset, bool on) {
    m_mutex.accessWithin(kAccessWaitMs,
                         [&] { m_base[offset] = static_cast<unsigned char>(on ? kOn : kOff); });
}
