#include "model/CContentHash.h"

#include <cstdio>

void CContentHash::add(std::string_view bytes) {
    for (const char c : bytes) {
        m_value ^= static_cast<unsigned char>(c);
        m_value *= 1099511628211ULL;
    }
}

std::string CContentHash::text() const {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(m_value));
    return digits;
}

std::string CContentHash::of(std::string_view bytes) {
    CContentHash hash;
    hash.add(bytes);
    return hash.text();
}
