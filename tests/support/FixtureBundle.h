// A bundle made in a temporary folder, with only the files a test asks for
// copied from the built one.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

class FixtureBundle {
public:
    // name: the bundle's folder name ("Tickmoor.app", or another to rename it).
    explicit FixtureBundle(const std::string& name = "Tickmoor.app");
    ~FixtureBundle();
    FixtureBundle(const FixtureBundle&) = delete;
    FixtureBundle& operator=(const FixtureBundle&) = delete;

    std::filesystem::path Root() const { return root_; }
    std::filesystem::path Bundle() const { return root_ / name_; }
    std::filesystem::path Resources() const { return Bundle() / "Contents" / "Resources"; }
    std::string Executable() const { return (Bundle() / "Contents" / "MacOS" / "Tickmoor").string(); }

    // Copies these files of the built bundle's Resources folder.
    void Copy(std::initializer_list<const char*> files);
    void CopyAll();
    void Remove(const char* file);
    // Writes a file of these bytes into Resources.
    void Write(const char* file, const std::string& bytes);
    std::string Read(const char* file) const;
    // Renumbers every picture of a card file so that no card's id is found.
    void BreakPictureIds(const char* file);

private:
    std::filesystem::path root_;
    std::string name_;
};

// Where each 'PICT' reference-list entry of a resource file's bytes stands,
// and where the length word of the data it names stands.
std::vector<std::size_t> PictureReferences(const std::string& bytes);
std::size_t PictureDataOffset(const std::string& bytes, std::size_t ref);

}  // namespace testing_support
