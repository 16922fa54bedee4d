// Contents of the key choice and level lists.
#include "settings/Choices.h"

namespace tamtara {

const std::array<KeyChoiceEntry, KeyChoiceCount> KeyChoice = {{
    {"(なし)", 0}, {"スペース", 32}, {"A", 65}, {"B", 66}, {"C", 67}, {"D", 68}, {"E", 69}, {"F", 70},
    {"G", 71},     {"H", 72},        {"I", 73}, {"J", 74}, {"K", 75}, {"L", 76}, {"M", 77}, {"N", 78},
    {"O", 79},     {"P", 80},        {"Q", 81}, {"R", 82}, {"S", 83}, {"T", 84}, {"U", 85}, {"V", 86},
    {"W", 87},     {"X", 88},        {"Y", 89}, {"Z", 90}, {";", 59}, {":", 58}, {"[", 91}, {"]", 93},
    {"@", 64},     {",", 44},        {".", 46}, {"/", 47},
}};

const std::array<LevelEntry, LevelCount> Levels = {{
    {"0.No Miss (0)", 0},
    {"1.Practice (-5)", 5},
    {"2.Easy (-10)", 10},
    {"3.Normal (-20)", 20},
    {"4.Hard (-30)", 30},
    {"5.Expert (-50)", 50},
    {"6.Nightmare (-100)", 100},
    {"7.Hell (-250)", 250},
}};

int KeyChoicePosition(std::string_view text) {
    for (int i = 0; i < KeyChoiceCount; ++i)
        if (KeyChoice[static_cast<std::size_t>(i)].Text == text) return i;
    return -1;
}

std::int32_t KeyCodeOfChoice(int position) {
    if (position < 0 || position >= KeyChoiceCount) return 0;
    return KeyChoice[static_cast<std::size_t>(position)].Code;
}

std::string_view KeyChoiceText(std::int32_t code) {
    for (const KeyChoiceEntry& entry : KeyChoice)
        if (entry.Code == code) return entry.Text;
    return {};
}

} // namespace tamtara
