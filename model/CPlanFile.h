#pragma once

#include <functional>
#include <string>
#include <string_view>

class CQLData;

// The bytes of a plan file: the reserved text, the items, then the detailed and the averaged
// week maps, as one object archive.
class CPlanFile {
public:
    static std::string write(const CQLData& plan);
    // Hands the bytes to append a piece at a time; false when append refused one.
    static bool write(const CQLData& plan, const std::function<bool(std::string_view)>& append);
    // Fills an empty plan; throws CArchiveError when the bytes are not a plan.
    static void read(std::string_view bytes, CQLData& plan);
};
