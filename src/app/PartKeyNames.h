// The names of the keys that choose each part on the part screen, read from the keyboard's
// bindings: the player's first key of the part as the launcher names it, and the cursor key the
// menus bind beside it.
#pragma once

#include "platform/input/DXInput.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace tamtara {

// "A", "スペース", ";" for the player's keys, "←" to "↓" for the cursor keys; empty for no key
// or one the game has no name for.
std::string KeyCodeName(std::int32_t code);

// The named keys bound to the first-key states of these parts (0 hi-hat to 6 cymbal), the
// player's keys before the cursor keys, a space apart; "(なし)" when none of them has a key.
std::string PartKeyNames(const KeyAssigns& assigns, std::initializer_list<int> parts);

} // namespace tamtara
