// Basic vocabulary of the toolkit layer: the value types and the runtime
// helpers that windows and modules are written in.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tk {

using Int32 = std::int32_t;
using String = std::string;  // UTF-8

// An RGB colour, as &hRRGGBB.
struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color RGB(int r, int g, int b) {
    return Color{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                 static_cast<std::uint8_t>(b)};
}
constexpr Color HexColor(std::uint32_t rrggbb) {
    return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

// The error raised when the program uses something that is not there (a
// missing menu item, a folder item that was never found). It ends the
// program through the unhandled-error report.
class NilObjectException : public std::runtime_error {
public:
    explicit NilObjectException(const String& what)
        : std::runtime_error("NilObjectException: " + what) {}
};

// Decimal text of a number.
String Str(Int32 value);
// Code of the first character of a string (0 for the empty string).
Int32 Asc(const String& s);
// One-character string of a code (UTF-8 for codes above 127).
String Chr(Int32 code);
// Double to Int32: truncates toward zero; values outside the Int32 range
// (and NaN) saturate instead of being undefined.
Int32 CInt32(double value);

}  // namespace tk
