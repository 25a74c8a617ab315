// The windows start-up and the Help menu open. Kept apart so that the
// shell does not depend on every window's header.
#pragma once

namespace shell {

void OpenFirstWindow();
void ShowAboutWindow();
void ShowHelpWindow();

}  // namespace shell
