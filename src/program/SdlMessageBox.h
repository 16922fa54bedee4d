// The player-facing message handler of the program: a line on stderr and, where a display
// exists, a message box.
#pragma once

#include "base/UserMessage.h"

namespace tamtara {

void ShowMessageBoxOrPrint(MessageKind kind, const std::string& caption, const std::string& text);

} // namespace tamtara
