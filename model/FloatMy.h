#pragma once

// One wrapped double, as the ledger keeps day amounts.
class FloatMy {
public:
    FloatMy() = default;
    explicit FloatMy(double value) : m_value(value) {}

    double value() const { return m_value; }
    void setValue(double value) { m_value = value; }

    bool operator==(const FloatMy&) const = default;

private:
    double m_value = 0.0;
};
