#include "info/wAbout.h"
#include "info/wHelp.h"
#include "shell/Windows.h"

namespace shell {

void ShowAboutWindow() { wAbout::Instance().Show(); }
void ShowHelpWindow() { wHelp::Instance().Show(); }

}  // namespace shell
