#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class CQLData;

// Hands out free item identifiers in rising order. Built once, it serves a whole batch of new
// items without rescanning the plan for each one.
class CIdentifierPool {
public:
    explicit CIdentifierPool(const CQLData& plan);

    // The first identifier from 1 that no item has; none when the space is full or when that
    // identifier is still named by a parent or child link (taking it would adopt them).
    std::optional<std::uint16_t> next();

private:
    std::vector<bool> m_taken;      // an item has it
    std::vector<bool> m_referenced; // a link names it
    std::uint32_t m_cursor = 1;
};
