// The kernel's key codes equal the set-1 scan codes from Escape (1) to F12 (88); the keys with an
// E0 prefix (DirectInput: 0x80 + code) and the Japanese keys sit elsewhere.
#include "platform/input/XKeycodes.h"

#include "platform/input/KeyTable.h"

#include <cstdint>
#include <utility>

namespace tamtara {

namespace {

// The X server adds 8 to the kernel's key code.
constexpr int XKeycodeOffset = 8;
constexpr int LastPlainCode = 88;

// Kernel key code -> DirectInput scan code, beyond the plain block.
constexpr std::pair<int, std::uint8_t> OtherCodes[] = {
    {89, 115},  // KEY_RO
    {92, 121},  // KEY_HENKAN
    {93, 112},  // KEY_KATAKANAHIRAGANA
    {94, 123},  // KEY_MUHENKAN
    {96, 156},  // KEY_KPENTER
    {97, 157},  // KEY_RIGHTCTRL
    {98, 181},  // KEY_KPSLASH
    {99, 183},  // KEY_SYSRQ
    {100, 184}, // KEY_RIGHTALT
    {102, 199}, // KEY_HOME
    {103, 200}, // KEY_UP
    {104, 201}, // KEY_PAGEUP
    {105, 203}, // KEY_LEFT
    {106, 205}, // KEY_RIGHT
    {107, 207}, // KEY_END
    {108, 208}, // KEY_DOWN
    {109, 209}, // KEY_PAGEDOWN
    {110, 210}, // KEY_INSERT
    {111, 211}, // KEY_DELETE
    {119, 197}, // KEY_PAUSE
    {124, 125}, // KEY_YEN
    {125, 219}, // KEY_LEFTMETA
    {126, 220}, // KEY_RIGHTMETA
    {127, 221}, // KEY_COMPOSE
};

int ScanCodeOfKernelCode(int code) {
    if (code >= 1 && code <= LastPlainCode) return code;
    for (const auto& [kernel, scan] : OtherCodes)
        if (kernel == code) return scan;
    return 0;
}

} // namespace

int SdlScancodeOfXKeycode(int xKeycode) {
    const int scan = ScanCodeOfKernelCode(xKeycode - XKeycodeOffset);
    if (scan == 0) return 0;
    // The first row of a shared scan code (43: the backslash key) stands for it.
    for (const KeyRow& row : KeyRows)
        if (row.ScanCode == scan) return row.Sdl;
    return 0;
}

} // namespace tamtara
