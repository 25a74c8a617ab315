#include "support/FixtureBundle.h"

#include <fstream>
#include <iterator>
#include <random>

#include "support/FakeServices.h"

namespace fs = std::filesystem;

namespace testing_support {

FixtureBundle::FixtureBundle(const std::string& name) : name_(name) {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("tickmoor-fixture-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(Bundle() / "Contents" / "MacOS");
    fs::create_directories(Resources());
    std::ofstream(Executable()) << "";
}

FixtureBundle::~FixtureBundle() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void FixtureBundle::Copy(std::initializer_list<const char*> files) {
    for (const char* f : files)
        fs::copy_file(fs::path(BundleResources()) / f, Resources() / f, fs::copy_options::overwrite_existing);
}

void FixtureBundle::CopyAll() {
    for (const auto& e : fs::directory_iterator(BundleResources()))
        fs::copy_file(e.path(), Resources() / e.path().filename(), fs::copy_options::overwrite_existing);
}

void FixtureBundle::Remove(const char* file) { fs::remove(Resources() / file); }

void FixtureBundle::Write(const char* file, const std::string& bytes) {
    std::ofstream(Resources() / file, std::ios::binary) << bytes;
}

std::string FixtureBundle::Read(const char* file) const {
    std::ifstream in(Resources() / file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void FixtureBundle::BreakPictureIds(const char* file) {
    std::string b = Read(file);
    for (std::size_t ref : PictureReferences(b)) b[ref] = static_cast<char>(0x70);
    Write(file, b);
}

namespace {
std::uint32_t Be32(const std::string& b, std::size_t at) {
    return (std::uint32_t(std::uint8_t(b.at(at))) << 24) | (std::uint8_t(b.at(at + 1)) << 16) |
           (std::uint8_t(b.at(at + 2)) << 8) | std::uint8_t(b.at(at + 3));
}
std::uint16_t Be16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>((std::uint8_t(b.at(at)) << 8) | std::uint8_t(b.at(at + 1)));
}
}  // namespace

std::vector<std::size_t> PictureReferences(const std::string& b) {
    const std::size_t map = Be32(b, 4);
    const std::size_t types = map + Be16(b, map + 24);
    const int typeCount = Be16(b, types) + 1;
    std::vector<std::size_t> out;
    for (int t = 0; t < typeCount; ++t) {
        const std::size_t item = types + 2 + 8 * t;
        if (b.compare(item, 4, "PICT") != 0) continue;
        const int count = Be16(b, item + 4) + 1;
        const std::size_t refs = types + Be16(b, item + 6);
        for (int i = 0; i < count; ++i) out.push_back(refs + 12 * i);
    }
    return out;
}

std::size_t PictureDataOffset(const std::string& b, std::size_t ref) {
    return Be32(b, 0) + (Be32(b, ref + 4) & 0xFFFFFF);
}

}  // namespace testing_support
