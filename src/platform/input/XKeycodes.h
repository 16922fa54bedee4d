// X key codes (the server's evdev numbering: the kernel's key code + 8) as SDL scancodes, through
// the key table's DirectInput scan codes, which equal the kernel's codes on the main block.
#pragma once

namespace tamtara {

// 0 for a key the key table does not list.
int SdlScancodeOfXKeycode(int xKeycode);

} // namespace tamtara
