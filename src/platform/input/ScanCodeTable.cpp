// Contents of the scan-code table.
#include "platform/input/ScanCodeTable.h"

#include <utility>

namespace tamtara {

namespace {

struct Run {
    int FirstScanCode;
    int LastScanCode;
    int FirstKeyCode; // runs map in order
};

constexpr Run Runs[] = {
    {1, 1, 27}, {2, 10, 49}, {11, 11, 48}, {13, 13, 61}, {14, 14, 8}, {15, 15, 9},
    {16, 16, 81}, {17, 17, 87}, {18, 18, 69}, {19, 19, 82}, {20, 20, 84}, {21, 21, 89}, {22, 22, 85},
    {23, 23, 73}, {24, 24, 79}, {25, 25, 80}, {26, 26, 91}, {27, 27, 93}, {28, 28, 13}, {29, 29, 17},
    {30, 30, 65}, {31, 31, 83}, {32, 32, 68}, {33, 33, 70}, {34, 34, 71}, {35, 35, 72}, {36, 36, 74},
    {37, 37, 75}, {38, 38, 76}, {39, 39, 59}, {40, 40, 39}, {42, 42, 16}, {43, 43, 92}, {44, 44, 90},
    {45, 45, 88}, {46, 46, 67}, {47, 47, 86}, {48, 48, 66}, {49, 49, 78}, {50, 50, 77}, {51, 51, 44},
    {52, 52, 46}, {53, 53, 47}, {54, 54, 16}, {55, 55, 42}, {56, 56, 18}, {57, 57, 32}, {58, 58, 20},
    {59, 68, 112}, {69, 69, 144}, {70, 70, 145}, {71, 71, 103}, {72, 72, 104}, {73, 73, 105},
    {74, 74, 109}, {75, 75, 100}, {76, 76, 101}, {77, 77, 102}, {78, 78, 107}, {79, 79, 97},
    {80, 80, 98}, {81, 81, 99}, {82, 82, 96}, {83, 83, 110}, {87, 87, 122}, {88, 88, 123},
    {156, 156, 13}, {157, 157, 17}, {181, 181, 111}, {184, 184, 18}, {199, 199, 36}, {200, 200, 38},
    {201, 201, 33}, {203, 203, 37}, {205, 205, 39}, {207, 207, 35}, {208, 208, 40}, {209, 209, 34},
    {210, 210, 45}, {211, 211, 46}, {219, 219, 91}, {220, 220, 92}, {221, 221, 93},
};

constexpr std::array<std::uint8_t, 256> BuildTable() {
    std::array<std::uint8_t, 256> table{};
    for (const Run& run : Runs)
        for (int scan = run.FirstScanCode; scan <= run.LastScanCode; ++scan)
            table[static_cast<std::size_t>(scan)] = static_cast<std::uint8_t>(run.FirstKeyCode + scan - run.FirstScanCode);
    return table;
}

} // namespace

const std::array<std::uint8_t, 256> ScanCodeTable = BuildTable();

} // namespace tamtara
