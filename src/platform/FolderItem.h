// Files and folders. A default-made FolderItem is nil; using a nil item is
// the nil-object error.
#pragma once

#include <memory>

#include "platform/Picture.h"
#include "platform/Sound.h"
#include "platform/Types.h"

namespace tk {

class ResourceFork;

class FolderItem {
public:
    FolderItem() = default;
    explicit FolderItem(String path) : path_(std::move(path)), nil_(false) {}

    explicit operator bool() const { return !nil_; }
    bool IsNil() const { return nil_; }

    bool Exists() const;
    bool Directory() const;
    String Name() const;
    String Path() const;
    // The folder that holds this item; nil at the root.
    FolderItem Parent() const;
    // The item of that name inside this folder, which may not exist; nil
    // when this item is not an existing folder.
    FolderItem Child(const String& name) const;

    // Decoded picture (BMP, PNG), or nil.
    Picture OpenAsPicture() const;
    // Decoded WAV sound, or nil.
    Sound OpenAsSound() const;
    // The file's resources, or nil unless it parses as a resource file.
    std::unique_ptr<ResourceFork> OpenResourceFork() const;

private:
    void Need() const;
    String path_;
    bool nil_ = true;
};

// An item by name in the folder that holds the application bundle.
FolderItem GetFolderItem(const String& name);
// The running executable.
FolderItem ExecutableFile();

}  // namespace tk
