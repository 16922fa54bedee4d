// Routes FluidSynth's log into a bounded stderr report, so a song that runs out of polyphony
// cannot flood the terminal with voice-allocation warnings.
#pragma once

namespace tamtara {

// Installs the log functions once per process; later calls do nothing.
void InstallSynthLog();

} // namespace tamtara
