// Parsing a resource file (a resource fork held as a file's data) in memory.
// No Qt: also used by the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tk {

constexpr std::uint32_t FourCC(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

inline constexpr std::uint32_t kPictType = FourCC("PICT");

struct ResourceEntry {
    std::uint32_t type = 0;
    std::int16_t id = 0;
    std::size_t offset = 0;  // of the resource's bytes in the file, past its length word
    std::size_t length = 0;
};

class ResourceFile {
public:
    // Nothing unless the header, the map, the type list and the reference
    // lists all lie inside the bytes. A resource whose data does not fit the
    // data area is left out; where an id repeats within a type, the first
    // reference counts.
    static std::optional<ResourceFile> Parse(std::vector<std::uint8_t> bytes);

    // The bytes of one resource, or nothing.
    std::optional<std::span<const std::uint8_t>> Find(std::uint32_t type, std::int16_t id) const;
    // Ordered by type, then id.
    const std::vector<ResourceEntry>& Entries() const { return entries_; }

private:
    ResourceFile() = default;
    std::vector<std::uint8_t> bytes_;
    std::vector<ResourceEntry> entries_;
};

}  // namespace tk
