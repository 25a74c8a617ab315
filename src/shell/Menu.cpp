#include "shell/Menu.h"

#include <memory>

#include "platform/Application.h"

namespace {

std::unique_ptr<Menu>& Holder() {
    static std::unique_ptr<Menu> menu;
    return menu;
}

template <class T>
std::unique_ptr<T> MakeItem(const char* name, bool autoEnable, const char* text, const char* keys) {
    auto item = std::make_unique<T>();
    item->Name = name;
    item->AutoEnable = autoEnable;
    item->Text = text;
    item->KeyboardShortcut = keys;
    return item;
}

template <class T>
T& Lookup(const char* name) {
    tk::Application* app = tk::CurrentApplication();
    tk::MenuItem* item = app && app->MenuBar() ? app->MenuBar()->Find(name) : nullptr;
    auto* typed = dynamic_cast<T*>(item);
    if (!typed) throw tk::NilObjectException(std::string("menu item ") + name);
    return *typed;
}

}  // namespace

Menu::Menu() {
    Untitled1();
    Untitled2();
}

Menu& Menu::Instance() {
    if (!Holder()) Holder() = std::make_unique<Menu>();
    return *Holder();
}

void Menu::Release() { Holder().reset(); }

void Menu::Untitled1() {
    Append(MakeItem<tk::MenuItem>("UntitledMenu0", false, "File", ""));
    tk::MenuItem* file = Child("UntitledMenu0");
    file->Append(MakeItem<tk::MenuItem>("FileEndThisRound", false, "End This Round", ""));
    file->Append(MakeItem<tk::QuitMenuItem>("FileQuit", true, "Quit Tickmoor", "Cmd+Q"));
}

void Menu::Untitled2() {
    Append(MakeItem<tk::MenuItem>("HelpMenu", false, "Help", ""));
    tk::MenuItem* help = Child("HelpMenu");
    help->Append(MakeItem<tk::MenuItem>("TickmoorHelp", true, "Tickmoor Help", "Cmd+H"));
    help->Append(MakeItem<tk::AppleMenuItem>("AppleAbout", false, "About Tickmoor...", ""));
}

tk::AppleMenuItem& AppleAbout() { return Lookup<tk::AppleMenuItem>("AppleAbout"); }
tk::MenuItem& TickmoorHelp() { return Lookup<tk::MenuItem>("TickmoorHelp"); }
tk::QuitMenuItem& FileQuit() { return Lookup<tk::QuitMenuItem>("FileQuit"); }
tk::MenuItem& FileEndThisRound() { return Lookup<tk::MenuItem>("FileEndThisRound"); }
