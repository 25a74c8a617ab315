// The resources of a resource file (a resource fork held as a file's data):
// pictures read by resource id.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Picture.h"
#include "platform/Types.h"

namespace tk {

class ResourceFork {
public:
    // Nil unless the bytes parse as a resource file.
    static std::unique_ptr<ResourceFork> FromBytes(std::vector<std::uint8_t> bytes);
    static std::unique_ptr<ResourceFork> OpenFile(const String& path);
    ~ResourceFork();

    // The decoded 'PICT' resource of that id, or nil where there is no such
    // id or its data is not a picture this reader can decode.
    Picture GetPicture(Int32 id) const;
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
