// Every piece of music the game ships: the demo songs and the four jingles.
#pragma once

#include "songgen/Arrangement.h"

#include <vector>

namespace tamtara {

TSong FirstSteps();
TSong SunsetRoad();
TSong CityLights();
TSong NeonHighway();
TSong Tempest();
TSong Overdrive();
// Bars every demo song opens with before its first drum note.
constexpr int LeadInBars = 2;
// The demo songs as shipped, each opening with LeadInBars bars.
std::vector<TSong> DemoSongs();

// Jingles lie beside the program (empty Folder); their names begin with "_".
std::vector<TSong> Jingles();

} // namespace tamtara
