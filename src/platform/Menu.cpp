#include "platform/Menu.h"

namespace tk {

void MenuItem::Append(std::unique_ptr<MenuItem> item) {
    if (item) items_.push_back(std::move(item));
}

MenuItem* MenuItem::Child(const String& name) const {
    for (const auto& i : items_)
        if (i->Name == name) return i.get();
    return nullptr;
}

MenuItem* MenuItem::Find(const String& name) {
    if (Name == name) return this;
    for (auto& i : items_)
        if (MenuItem* hit = i->Find(name)) return hit;
    return nullptr;
}

}  // namespace tk
