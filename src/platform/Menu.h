// The menu-bar model: one tree of items shared by every window's menu bar.
#pragma once

#include <memory>
#include <vector>

#include "platform/Types.h"

namespace tk {

class MenuItem {
public:
    MenuItem() = default;
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    String Name;
    String Text;
    String KeyboardShortcut;  // "Cmd+Q" form; Cmd is Ctrl here
    bool AutoEnable = true;
    bool Enabled = true;

    void Append(std::unique_ptr<MenuItem> item);
    // The direct child of that name, or null.
    MenuItem* Child(const String& name) const;
    // The item of that name anywhere below this one (this one included).
    MenuItem* Find(const String& name);
    const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }

    template <class Fn>
    void ForEach(Fn&& fn) {
        fn(*this);
        for (auto& i : items_) i->ForEach(fn);
    }

private:
    std::vector<std::unique_ptr<MenuItem>> items_;
};

class AppleMenuItem : public MenuItem {};
class QuitMenuItem : public MenuItem {};

class MenuBar : public MenuItem {};

}  // namespace tk
