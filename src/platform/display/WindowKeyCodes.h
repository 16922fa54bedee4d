// The virtual-key code a window key event carries, from the key's SDL scancode; the real and the
// headless presenter both stamp their key events with it.
#pragma once

#include <cstdint>

namespace tamtara {

// The virtual-key code of an SDL scancode for the keys WindowKeys lists, letters and digits.
std::int32_t VirtualKeyOfScancode(std::int32_t scancode);

} // namespace tamtara
