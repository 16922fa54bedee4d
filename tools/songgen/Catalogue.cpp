// The list of demo songs, in the order the generator writes them.
#include "songgen/Catalogue.h"

namespace tamtara {

std::vector<TSong> DemoSongs() {
    return {FirstSteps(), SunsetRoad(), CityLights(), NeonHighway(), Tempest(), Overdrive()};
}

} // namespace tamtara
