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
std::vector<TSong> DemoSongs();

// Jingles lie beside the program (empty Folder); their names begin with "_".
std::vector<TSong> Jingles();

} // namespace tamtara
