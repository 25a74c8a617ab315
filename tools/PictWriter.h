// Writing pictures as version 2 'PICT' resources and gathering resources
// into a resource file (header at 0, data at 256, map after the data).
#pragma once

#include <QImage>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pictwriter {

enum class Encoding {
    Auto,     // indexed when the image has at most 256 colours, else direct
    Indexed,  // PackBitsRect with an 8-bit colour table
    Direct,   // DirectBitsRect, 32-bit, packType 4
};

// One bitmap opcode showing the whole image (alpha is dropped). Empty for a
// null image, a side over 4095 pixels, or Indexed with over 256 colours.
std::vector<std::uint8_t> EncodePict(const QImage& image, Encoding encoding = Encoding::Auto);

// PackBits of one row.
std::vector<std::uint8_t> PackBits(std::span<const std::uint8_t> row);

struct Resource {
    char type[4];
    std::int16_t id;
    std::vector<std::uint8_t> data;
};

// The resources grouped by type, in the order given within a type. Empty
// if the data area would outgrow the map's 24-bit offsets.
std::vector<std::uint8_t> BuildResourceFile(const std::vector<Resource>& resources);

bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace pictwriter
