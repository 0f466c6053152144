#pragma once

// Parts and hours closer than this count as equal: the files keep them in single precision,
// and a sum of parts that reaches 100 within it counts as 100.
namespace tolerance {

inline constexpr double kEqual = 0.0001;

} // namespace tolerance
