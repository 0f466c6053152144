#pragma once

#include <cstdint>

// One wrapped 32-bit integer; in the plan it holds a child's identifier.
class IntegerMy {
public:
    IntegerMy() = default;
    explicit IntegerMy(std::int32_t value) : m_value(value) {}

    std::int32_t value() const { return m_value; }
    void setValue(std::int32_t value) { m_value = value; }

    bool operator==(const IntegerMy&) const = default;

private:
    std::int32_t m_value = 0;
};
