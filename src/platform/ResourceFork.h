// The resources of a resource file (a resource fork held as a file's data):
// pictures read by resource id.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/Picture.h"
#include "platform/Types.h"

namespace tk {

// Where a streamed resource file's bytes come from: the file itself, or any
// other bytes the streamed reader is to read the same way.
class ResourceSource {
public:
    virtual ~ResourceSource() = default;
    // Fixed when the source is made.
    virtual std::uint64_t Size() const = 0;
    // Exactly out.size() bytes from offset, or false (a file may have
    // shrunk since it was opened).
    virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class ResourceFork {
public:
    // Nil unless the bytes parse as a resource file.
    static std::unique_ptr<ResourceFork> FromBytes(std::vector<std::uint8_t> bytes);
    // Streamed: the header and the map are read now, a resource's bytes
    // only when it is asked for. Nil unless the header and the map parse.
    static std::unique_ptr<ResourceFork> OpenFile(const String& path);
    static std::unique_ptr<ResourceFork> OpenSource(std::unique_ptr<ResourceSource> source);
    ~ResourceFork();

    // The decoded 'PICT' resource of that id, or nil where there is no such
    // id or its data is not a picture this reader can decode.
    Picture GetPicture(Int32 id) const;
    // The same resource's bytes as stored, or nothing where there is no
    // such id.
    std::optional<std::vector<std::uint8_t>> PictureData(Int32 id) const;
    // The ids of the 'PICT' resources, ascending; none after Close.
    std::vector<Int32> PictureIds() const;
    // Releases the file's bytes; every picture asked for afterwards is nil.
    void Close();

    struct Impl;

private:
    explicit ResourceFork(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace tk
