#include "platform/Types.h"

#include <cmath>
#include <limits>

namespace tk {

String Str(Int32 value) { return std::to_string(value); }

Int32 Asc(const String& s) {
    if (s.empty()) return 0;
    const auto c0 = static_cast<unsigned char>(s[0]);
    if (c0 < 0x80 || s.size() < 2) return c0;
    // Decode one UTF-8 sequence; a malformed one gives its first byte.
    int len = (c0 & 0xE0) == 0xC0 ? 2 : (c0 & 0xF0) == 0xE0 ? 3 : (c0 & 0xF8) == 0xF0 ? 4 : 1;
    if (len == 1 || static_cast<int>(s.size()) < len) return c0;
    Int32 code = c0 & (0x7F >> len);
    for (int i = 1; i < len; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) != 0x80) return c0;
        code = (code << 6) | (c & 0x3F);
    }
    return code;
}

String Chr(Int32 code) {
    String out;
    const auto c = static_cast<std::uint32_t>(code);
    if (code < 0 || c > 0x10FFFF) return out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

Int32 CInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<Int32>::max()))
        return std::numeric_limits<Int32>::max();
    if (value <= static_cast<double>(std::numeric_limits<Int32>::min()))
        return std::numeric_limits<Int32>::min();
    return static_cast<Int32>(value);  // truncation toward zero
}

}  // namespace tk
