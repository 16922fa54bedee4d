// The fixed lists behind the launcher's drop-downs: the key choices with the key codes they
// give, and the difficulty levels with the gauge points each miss costs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tamtara {

struct KeyChoiceEntry {
    std::string_view Text;
    std::int32_t Code;
};

inline constexpr int KeyChoiceCount = 36;
extern const std::array<KeyChoiceEntry, KeyChoiceCount> KeyChoice;

// Position of the entry with this text, or -1.
int KeyChoicePosition(std::string_view text);
// Key code of the entry at position; 0 (no key) for a position outside the list.
std::int32_t KeyCodeOfChoice(int position);
// Text of the entry giving this key code ("A", "スペース", ";"); empty when no entry does.
std::string_view KeyChoiceText(std::int32_t code);

struct LevelEntry {
    std::string_view Text;
    std::int32_t MissPenalty;
};

inline constexpr int LevelCount = 8;
inline constexpr int DefaultLevel = 3;
extern const std::array<LevelEntry, LevelCount> Levels;

} // namespace tamtara
