#include "platform/ResourceFork.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

#include "platform/Pict.h"
#include "platform/ResourceFile.h"

namespace tk {
namespace {

// The two card files are a few megabytes; anything this large is not one.
constexpr std::uintmax_t kMaxResourceFile = 64u << 20;

std::optional<std::vector<std::uint8_t>> ReadFile(const String& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxResourceFile) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) return std::nullopt;
    return bytes;
}

}  // namespace

struct ResourceFork::Impl {
    std::optional<ResourceFile> file;  // empty once closed
};

ResourceFork::ResourceFork(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ResourceFork::~ResourceFork() = default;

std::unique_ptr<ResourceFork> ResourceFork::FromBytes(std::vector<std::uint8_t> bytes) {
    auto file = ResourceFile::Parse(std::move(bytes));
    if (!file) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->file = std::move(file);
    return std::unique_ptr<ResourceFork>(new ResourceFork(std::move(impl)));
}

std::unique_ptr<ResourceFork> ResourceFork::OpenFile(const String& path) {
    auto bytes = ReadFile(path);
    if (!bytes) return nullptr;
    return FromBytes(std::move(*bytes));
}

Picture ResourceFork::GetPicture(Int32 id) const {
    if (!impl_->file || id < std::numeric_limits<std::int16_t>::min() ||
        id > std::numeric_limits<std::int16_t>::max())
        return Picture();
    const auto data = impl_->file->Find(kPictType, static_cast<std::int16_t>(id));
    if (!data) return Picture();
    auto image = DecodePict(*data);
    if (!image) return Picture();
    return Picture::FromPixels(image->width, image->height, std::move(image->argb));
}

std::vector<Int32> ResourceFork::PictureIds() const {
    std::vector<Int32> ids;
    if (!impl_->file) return ids;
    for (const auto& e : impl_->file->Entries())
        if (e.type == kPictType) ids.push_back(e.id);
    return ids;
}

void ResourceFork::Close() { impl_->file.reset(); }

}  // namespace tk
