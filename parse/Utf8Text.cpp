#include "parse/Utf8Text.h"

namespace utf8text {

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        unsigned minimum = 0;
        unsigned code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1, minimum = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2, minimum = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3, minimum = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(follow) >= bytes.size())
            return false;
        for (int k = 1; k <= follow; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(follow) + 1;
    }
    return true;
}

std::string asUtf8(const std::string& bytes) {
    if (isValidUtf8(bytes))
        return bytes;
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            text += byte;
            continue;
        }
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

} // namespace utf8text
