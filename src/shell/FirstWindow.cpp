#include "shell/Windows.h"

#include "flow/wWelcome.h"

namespace shell {

void OpenFirstWindow() { wWelcome::Instance(); }

}  // namespace shell
