// The menu-bar model, one tree of items shared by every window's menu bar,
// and what choosing an item does.
#pragma once

#include <functional>
#include <memory>
#include <utility>
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

// Handlers bound to menu items' Names: the application's for the whole run,
// a window's for as long as it is open.
class MenuHandlers {
public:
    void Add(const String& itemName, std::function<bool()> handler);
    // The first handler bound to that Name, or null.
    const std::function<bool()>* Find(const String& itemName) const;

private:
    std::vector<std::pair<String, std::function<bool()>>> handlers_;
};

// What a menu choice does: the enabling pass, then, if the item is enabled,
// the front window's handler bound to its Name, else the application's.
void ChooseMenuItem(const String& name);
// Every AutoEnable False item disabled (AutoEnable True ones enabled), then
// the application's EnableMenuItems, then the front window's.
void RunEnablingPass();

}  // namespace tk
