// The scan-code table and the SDL tables of both reading modes.
#include "platform/input/ScanCodeTable.h"
#include "platform/input/SdlKeyTables.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace tamtara {
namespace {

TEST(ScanCodeTableContents, HundredMappedCodesWithRanges) {
    int mapped = 0;
    for (std::uint8_t code : ScanCodeTable)
        mapped += code != 0;
    EXPECT_EQ(mapped, 100);
    for (int scan = 2; scan <= 10; ++scan)
        EXPECT_EQ(ScanCodeTable[scan], 47 + scan);
    for (int scan = 59; scan <= 68; ++scan)
        EXPECT_EQ(ScanCodeTable[scan], 53 + scan);
    EXPECT_EQ(ScanCodeTable[0], 0);
    for (int scan : {12, 41, 84, 85, 86, 222, 255})
        EXPECT_EQ(ScanCodeTable[scan], 0) << scan;
}

// Every key of the key choice list, through each mode, lands on the code the launcher gives it.
struct ChoiceKey {
    SDL_Scancode Sdl;
    std::int32_t Typed;
    int KeyCode;
};

const std::vector<ChoiceKey> UsChoiceKeys = {
    {SDL_SCANCODE_SPACE, ' ', 32},
    {SDL_SCANCODE_A, 'a', 65},
    {SDL_SCANCODE_M, 'm', 77},
    {SDL_SCANCODE_Z, 'z', 90},
    {SDL_SCANCODE_SEMICOLON, ';', 59},
    {SDL_SCANCODE_LEFTBRACKET, '[', 91},
    {SDL_SCANCODE_RIGHTBRACKET, ']', 93},
    {SDL_SCANCODE_COMMA, ',', 44},
    {SDL_SCANCODE_PERIOD, '.', 46},
    {SDL_SCANCODE_SLASH, '/', 47},
    {SDL_SCANCODE_RETURN, '\r', 13},
    {SDL_SCANCODE_LEFT, 0, 37},
    {SDL_SCANCODE_UP, 0, 38},
    {SDL_SCANCODE_RIGHT, 0, 39},
    {SDL_SCANCODE_DOWN, 0, 40},
    {SDL_SCANCODE_F2, 0, 113},
    {SDL_SCANCODE_KP_8, 0, 104},
};

KeyStateArray ThroughDirectInput(SDL_Scancode key) {
    std::vector<std::uint8_t> sdl(SDL_NUM_SCANCODES, 0);
    sdl[key] = 1;
    KeyStateArray scanCodes{};
    ScanCodesFromSdl(sdl.data(), static_cast<int>(sdl.size()), scanCodes);
    KeyStateArray keys{};
    for (std::size_t scan = 0; scan < 256; ++scan)
        if (scanCodes[scan] & 0x80) keys[ScanCodeTable[scan]] = 0x80;
    return keys;
}

KeyStateArray ThroughKeyboardState(SDL_Scancode key, std::int32_t typed) {
    std::vector<std::uint8_t> sdl(SDL_NUM_SCANCODES, 0);
    sdl[key] = 1;
    KeyStateArray keys{};
    VirtualKeysFromSdl(
        sdl.data(), static_cast<int>(sdl.size()), [&](int code) { return code == key ? typed : 0; }, keys);
    return keys;
}

TEST(SdlKeyTables, ChoiceKeysGiveTheirCodesWithDirectInput) {
    for (const ChoiceKey& key : UsChoiceKeys)
        EXPECT_EQ(ThroughDirectInput(key.Sdl)[static_cast<std::size_t>(key.KeyCode)], 0x80) << key.KeyCode;
}

TEST(SdlKeyTables, ChoiceKeysGiveTheirCodesWithoutDirectInput) {
    for (const ChoiceKey& key : UsChoiceKeys)
        EXPECT_EQ(ThroughKeyboardState(key.Sdl, key.Typed)[static_cast<std::size_t>(key.KeyCode)], 0x80)
            << key.KeyCode;
}

TEST(SdlKeyTables, PunctuationKeysAlsoSetTheirVirtualKey) {
    KeyStateArray keys = ThroughKeyboardState(SDL_SCANCODE_SEMICOLON, ';');
    EXPECT_EQ(keys[0xBA], 0x80);
    EXPECT_EQ(keys[59], 0x80);
}

TEST(SdlKeyTables, LayoutDecidesColonAndAt) {
    // On a Japanese layout the keys right of L and P type ':' and '@'.
    EXPECT_EQ(ThroughKeyboardState(SDL_SCANCODE_APOSTROPHE, ':')[58], 0x80);
    EXPECT_EQ(ThroughKeyboardState(SDL_SCANCODE_LEFTBRACKET, '@')[64], 0x80);
    EXPECT_EQ(ThroughKeyboardState(SDL_SCANCODE_APOSTROPHE, '\'')[58], 0);
}

TEST(SdlKeyTables, ModifiersSetGenericAndSidedCodes) {
    KeyStateArray keys = ThroughKeyboardState(SDL_SCANCODE_RSHIFT, 0);
    EXPECT_EQ(keys[0x10], 0x80);
    EXPECT_EQ(keys[0xA1], 0x80);
    EXPECT_EQ(keys[0xA0], 0);
}

TEST(SdlKeyTables, KeysUpSetNothing) {
    std::vector<std::uint8_t> sdl(SDL_NUM_SCANCODES, 0);
    KeyStateArray keys{};
    keys.fill(0xFF);
    VirtualKeysFromSdl(
        sdl.data(), static_cast<int>(sdl.size()), [](int) { return ';'; }, keys);
    for (std::uint8_t value : keys)
        EXPECT_EQ(value, 0);
}

} // namespace
} // namespace tamtara
