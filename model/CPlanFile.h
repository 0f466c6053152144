#pragma once

#include <string>
#include <string_view>

class CQLData;

// The bytes of a plan file: the reserved text, the items, then the detailed and the averaged
// week maps, as one object archive.
class CPlanFile {
public:
    static std::string write(const CQLData& plan);
    // Fills an empty plan; throws CArchiveError when the bytes are not a plan.
    static void read(std::string_view bytes, CQLData& plan);
};
