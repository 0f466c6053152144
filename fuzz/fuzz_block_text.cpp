// The shared block's tag text, as another process may write it: an accepted text never names
// a byte outside the block.

#include "companion/CTpBttmShrdFlgs.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t blockSize = data[0] + 1u;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CTpBttmShrdFlgs::Offsets offsets;
    if (!CTpBttmShrdFlgs::parseTags(text, blockSize, offsets))
        return 0;
    for (const std::int32_t offset : {offsets.program, offsets.companion, offsets.takeover})
        if (offset < 0 || static_cast<std::size_t>(offset) >= blockSize)
            __builtin_trap();
    return 0;
}
