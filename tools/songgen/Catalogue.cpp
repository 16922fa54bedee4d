// The list of demo songs, in the order the generator writes them.
#include "songgen/Catalogue.h"

#include "songgen/Music.h"

namespace tamtara {

namespace {

// Two bars before the first drum note, a silent one and one of side-stick quarters to count in
// by (the side stick is no lane note): the first note scrolls in from above the lanes at every
// scroll speed, so the play needs no pre-roll.
TSong WithLeadIn(TSong song) {
    static const TGroove silence{};
    static const TGroove sticks{{{Kit::SideStick, "x...x...x...x..."}}};
    TSection leadIn{.Name = "Count-in",
                    .Bars = LeadInBars,
                    .Chords = {song.Sections.front().Chords.front()},
                    .Drums = {&silence, &sticks}};
    song.Sections.insert(song.Sections.begin(), leadIn);
    return song;
}

} // namespace

std::vector<TSong> DemoSongs() {
    std::vector<TSong> songs;
    for (TSong song : {FirstSteps(), SunsetRoad(), CityLights(), NeonHighway(), Tempest(), Overdrive()})
        songs.push_back(WithLeadIn(std::move(song)));
    return songs;
}

} // namespace tamtara
