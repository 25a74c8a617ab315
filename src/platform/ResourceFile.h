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

inline constexpr std::size_t kResourceHeaderSize = 16;

// Where a resource file's data area and map lie.
struct ResourceHeader {
    std::uint32_t dataOffset = 0;
    std::uint32_t mapOffset = 0;
    std::uint32_t dataLength = 0;
    std::uint32_t mapLength = 0;
};

// One reference of the map, before its data has been looked at.
struct ResourceRef {
    std::uint32_t type = 0;
    std::int16_t id = 0;
    std::uint32_t at = 0;  // of the resource's length word, from the start of the data
};

// The header at the start of a file of fileSize bytes: nothing unless the
// data area and the map lie inside the file and the map can hold its fixed
// fields.
std::optional<ResourceHeader> ParseResourceHeader(std::span<const std::uint8_t> header,
                                                  std::uint64_t fileSize);
// The references of a map (its mapLength bytes), in map order: nothing
// unless the type list and every reference list lie inside the map.
std::optional<std::vector<ResourceRef>> ParseResourceMap(std::span<const std::uint8_t> map);
// Whether a length word at `at`, and then `length` bytes after it, lie
// inside a data area of dataLength bytes.
bool ResourceLengthWordFits(std::uint32_t at, std::uint32_t dataLength);
bool ResourceDataFits(std::uint32_t at, std::uint32_t length, std::uint32_t dataLength);

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
