#include "platform/FolderItem.h"

#include <QImage>
#include <QImageReader>

#include <filesystem>
#include <fstream>

#include "platform/QtInternal.h"
#include "platform/ResourceFork.h"
#include "platform/Services.h"
#include "platform/Wav.h"

namespace fs = std::filesystem;

namespace tk {
namespace {

constexpr std::uintmax_t kMaxSoundFile = 64u << 20;

std::vector<std::uint8_t> ReadSmallFile(const String& path, std::uintmax_t limit) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size > limit) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) return {};
    return bytes;
}

}  // namespace

void FolderItem::Need() const {
    if (nil_) throw NilObjectException("FolderItem");
}

bool FolderItem::Exists() const {
    Need();
    std::error_code ec;
    return fs::exists(path_, ec);
}

bool FolderItem::Directory() const {
    Need();
    std::error_code ec;
    return fs::is_directory(path_, ec);
}

String FolderItem::Name() const {
    Need();
    return fs::path(path_).filename().string();
}

String FolderItem::Path() const {
    Need();
    return path_;
}

FolderItem FolderItem::Parent() const {
    Need();
    const fs::path p(path_);
    if (!p.has_parent_path() || p.parent_path() == p) return FolderItem();
    return FolderItem(p.parent_path().string());
}

FolderItem FolderItem::Child(const String& name) const {
    Need();
    if (!Directory()) return FolderItem();
    // A name is one item of this folder, never a path out of it.
    if (name.empty() || name == "." || name == ".." || name.find('/') != String::npos)
        return FolderItem();
    return FolderItem((fs::path(path_) / name).string());
}

Picture FolderItem::OpenAsPicture() const {
    Need();
    std::error_code ec;
    if (!fs::is_regular_file(path_, ec)) return Picture();
    QImageReader reader(Q(path_));
    QImage img = reader.read();
    if (img.isNull()) return Picture();
    return PictureFromImage(img.convertToFormat(QImage::Format_ARGB32));
}

Sound FolderItem::OpenAsSound() const {
    Need();
    const auto bytes = ReadSmallFile(path_, kMaxSoundFile);
    if (bytes.empty()) return Sound();
    auto wav = ParseWav(bytes);
    if (!wav) return Sound();
    return Sound::FromWav(std::move(*wav));
}

std::unique_ptr<ResourceFork> FolderItem::OpenResourceFork() const {
    Need();
    return ResourceFork::OpenFile(path_);
}

FolderItem ExecutableFile() { return FolderItem(services().ExecutablePath()); }

FolderItem GetFolderItem(const String& name) {
    // executable -> MacOS -> Contents -> bundle -> the folder holding it
    fs::path p(services().ExecutablePath());
    for (int i = 0; i < 4; ++i) {
        if (!p.has_parent_path() || p.parent_path() == p) return FolderItem();
        p = p.parent_path();
    }
    return FolderItem(p.string()).Child(name);
}

}  // namespace tk
