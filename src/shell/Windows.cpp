#include "shell/Windows.h"

namespace shell {

// The welcome, help and about windows join here as they are built.
void OpenFirstWindow() {}
void ShowAboutWindow() {}
void ShowHelpWindow() {}

}  // namespace shell
