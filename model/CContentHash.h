#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The name of a version of a plan: a 64-bit FNV-1a hash of its bytes, as 16 hex digits. It
// tells the versions of one plan apart; it is no defence against someone who forges a file.
class CContentHash {
public:
    void add(std::string_view bytes);
    std::string text() const;
    static std::string of(std::string_view bytes);

private:
    std::uint64_t m_value = 14695981039346656037ULL;
};
