// Key names of the part screen's panels.
#include "app/PartKeyNames.h"

#include "settings/Choices.h"

namespace tamtara {

std::string KeyCodeName(std::int32_t code) {
    switch (code) {
    case 0:
        return {};
    case 37:
        return "←";
    case 38:
        return "↑";
    case 39:
        return "→";
    case 40:
        return "↓";
    default:
        return std::string(KeyChoiceText(code));
    }
}

std::string PartKeyNames(const KeyAssigns& assigns, std::initializer_list<int> parts) {
    std::string names;
    // The player's keys of all the parts first, then the cursor keys: "J  K  L  ↑  ↓".
    for (int slot = 0; slot < AssignSlotCount; ++slot) {
        for (int part : parts) {
            const std::string name =
                KeyCodeName(assigns[ButtonState(1 + part)][static_cast<std::size_t>(slot)]);
            if (name.empty()) continue;
            if (!names.empty()) names += "  ";
            names += name;
        }
    }
    return names.empty() ? std::string(KeyChoiceText(0)) : names;
}

} // namespace tamtara
