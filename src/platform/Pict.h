// Decoding the version 2 PICT pictures the clock cards are stored as: one
// or more 8-bit indexed (PackBitsRect) or 32-bit direct (DirectBitsRect)
// pixel maps. No Qt: also used by the fuzzer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tk {

struct PictImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB, row by row, opaque
};

// Largest frame or pixel map side accepted.
inline constexpr int kMaxPictSide = 4096;

// A 'PICT' resource (no 512-byte file header). Nothing for anything outside
// the subset: another version, an opcode it does not know, a pixel map it
// cannot draw unscaled, rows that do not unpack to their exact length, or
// bytes that end before the end opcode. Parts of the picture no pixel map
// covers are white.
std::optional<PictImage> DecodePict(std::span<const std::uint8_t> pict);

// PackBits: true when `in` unpacks to exactly out.size() bytes. Never writes
// past `out` nor reads past `in`; a run that would overflow `out` fails.
bool UnpackBits(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

}  // namespace tk
