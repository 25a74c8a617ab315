#include "platform/ResourceFork.h"

namespace tk {

struct ResourceFork::Impl {};

ResourceFork::ResourceFork(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ResourceFork::~ResourceFork() = default;

std::unique_ptr<ResourceFork> ResourceFork::FromBytes(std::vector<std::uint8_t>) { return nullptr; }
std::unique_ptr<ResourceFork> ResourceFork::OpenFile(const String&) { return nullptr; }
Picture ResourceFork::GetPicture(Int32) const { return Picture(); }
void ResourceFork::Close() {}

}  // namespace tk
