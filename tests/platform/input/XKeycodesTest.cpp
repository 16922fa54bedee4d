// X key codes (as an X server with the evdev rules numbers them) through the key tables: the
// game's default lane keys and the menu keys give the key codes the settings store.
#include "platform/input/XKeycodes.h"
#include "platform/input/SdlKeyTables.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

struct XKey {
    int XKeycode;
    int KeyCode;
};

// The first and second keys of the seven lanes by default (A F Space J K L ; and S D I O P),
// then the arrows, Enter, Escape, F1 and the right-hand Control, which carry the E0 prefix.
constexpr XKey DefaultKeys[] = {
    {38, 65}, {41, 70}, {65, 32},  {44, 74},  {45, 75},  {46, 76},  {47, 59}, {39, 83}, {40, 68},  {31, 73},
    {32, 79}, {33, 80}, {111, 38}, {116, 40}, {113, 37}, {114, 39}, {36, 13}, {9, 27},  {67, 112}, {105, 17},
};

TEST(XKeycodes, DefaultLaneAndMenuKeysGiveTheirKeyCodesInBothReadingModes) {
    for (const XKey& key : DefaultKeys) {
        const int sdl = SdlScancodeOfXKeycode(key.XKeycode);
        ASSERT_NE(sdl, 0) << key.XKeycode;
        for (const bool directInput : {false, true}) {
            KeyStateArray keys{};
            KeyCodesOfSdlKey(sdl, directInput, UsCharacterOfScancode, keys);
            EXPECT_TRUE(keys[static_cast<std::size_t>(key.KeyCode)] & 0x80)
                << "X key code " << key.XKeycode << (directInput ? " read by scan code" : " read by key");
        }
    }
}

TEST(XKeycodes, CodesOutsideTheKeyTableGiveNoKey) {
    for (const int code : {0, 7, 8, 255, 300, -1, 8 + 240})
        EXPECT_EQ(SdlScancodeOfXKeycode(code), 0) << code;
}

} // namespace
} // namespace tamtara
