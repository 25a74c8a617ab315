#include "platform/Menu.h"

#include <QKeySequence>
#include <QString>

#include "platform/Application.h"
#include "platform/QtInternal.h"
#include "platform/Window.h"

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

void MenuHandlers::Add(const String& itemName, std::function<bool()> handler) {
    handlers_.emplace_back(itemName, std::move(handler));
}

const std::function<bool()>* MenuHandlers::Find(const String& itemName) const {
    for (const auto& [name, fn] : handlers_)
        if (name == itemName) return &fn;
    return nullptr;
}

QKeySequence ShortcutKeys(const String& shortcut) {
    QString s = Q(shortcut);
    s.replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"));
    return QKeySequence(s);
}

void RunEnablingPass() {
    Application* app = CurrentApplication();
    if (!app || !app->MenuBar()) return;
    // Menus themselves stay available; their items follow AutoEnable.
    app->MenuBar()->ForEach([](MenuItem& item) {
        if (item.Items().empty()) item.Enabled = item.AutoEnable;
    });
    Guard([app] { app->Event_EnableMenuItems(); });
    if (Window* front = Window::FrontWindow()) front->Dispatch([front] { front->EnableMenuItems(); });
}

void ChooseMenuItem(const String& name) {
    if (!CurrentApplication() || !CurrentApplication()->MenuBar()) return;
    RunEnablingPass();
    // Read again: the pass has run the program's own handlers.
    Application* app = CurrentApplication();
    if (!app || !app->MenuBar()) return;
    MenuItem* item = app->MenuBar()->Find(name);
    if (!item || !item->Enabled) return;
    Window* front = Window::FrontWindow();
    if (front) {
        if (const auto* fn = front->MenuHandler(name)) {
            auto handler = *fn;  // the window may close while it runs
            front->Dispatch([handler] { handler(); });
            return;
        }
    }
    if (const auto* fn = app->MenuHandler(name)) {
        auto handler = *fn;
        Guard([handler] { handler(); });
    }
}

bool ChooseMenuItemForKeys(const QKeySequence& pressed) {
    Application* app = CurrentApplication();
    if (!app || !app->MenuBar()) return false;
    String hit;
    app->MenuBar()->ForEach([&](MenuItem& item) {
        if (hit.empty() && !item.KeyboardShortcut.empty() &&
            ShortcutKeys(item.KeyboardShortcut).matches(pressed) == QKeySequence::ExactMatch)
            hit = item.Name;
    });
    if (hit.empty()) return false;
    ChooseMenuItem(hit);
    return true;
}

}  // namespace tk
