#include "support/FixtureBundle.h"

#include <fstream>
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

}  // namespace testing_support
