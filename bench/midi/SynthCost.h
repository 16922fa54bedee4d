// The built-in synth's rendering cost, measured offline on a dense General MIDI arrangement.
#pragma once

namespace tamtara::bench {

// CPU seconds of this thread per second of audio rendered at 48 kHz in 256-frame blocks, with
// reverb and chorus on and the polyphony saturated. NaN when no GM SoundFont is installed.
double SynthCpuSecondsPerAudioSecond();

} // namespace tamtara::bench
