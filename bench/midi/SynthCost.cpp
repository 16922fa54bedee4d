// Renders a generated dense arrangement (fifteen melodic parts and a busy drum part) through the
// GM synth and divides the thread's CPU time by the audio time produced.
#include "SynthCost.h"

#include "platform/midi/GmSynth.h"

#include <time.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

namespace tamtara::bench {
namespace {

constexpr int Rate = 48000;
constexpr int BlockFrames = 256;
constexpr double AudioSeconds = 30.0;
constexpr int StepFrames = Rate / 8; // sixteenth notes at 120 beats per minute

// One melodic part per channel other than 10, spread over the GM families.
constexpr std::array<std::uint8_t, 15> Programs = {0, 48, 61, 19, 25, 33, 89, 52, 65, 73, 81, 11, 40, 56, 95};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void Send(GmSynth& synth, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const std::array<std::uint8_t, 3> bytes = {status, data1, data2};
    synth.Send(bytes);
}

std::uint8_t ChannelOfPart(std::size_t part) {
    return static_cast<std::uint8_t>(part < 9 ? part : part + 1);
}

// Everything due at sixteenth `step`: chords on the beat held for a beat (four notes each), bass
// in eighths, pads in whole notes, and a full drum pattern: enough to saturate the polyphony.
void PlayStep(GmSynth& synth, int step) {
    static constexpr std::array<std::uint8_t, 4> Roots = {48, 53, 55, 50};
    const std::uint8_t root = Roots[static_cast<std::size_t>(step / 16) % Roots.size()];
    const std::uint8_t previous = Roots[static_cast<std::size_t>((step + 63) / 16) % Roots.size()];
    for (std::size_t part = 0; part < Programs.size(); ++part) {
        const std::uint8_t channel = ChannelOfPart(part);
        const auto octave = static_cast<std::uint8_t>(12 * (part % 3));
        const bool pad = part == 6 || part == 7 || part == 14;
        const bool bass = part == 5;
        const int period = pad ? 16 : bass ? 2 : 4;
        if (step % period != 0) {
            continue;
        }
        const std::uint8_t oldRoot = (step % 16 == 0) ? previous : root;
        for (std::uint8_t interval : {0, 4, 7, 12}) {
            Send(synth, static_cast<std::uint8_t>(0x80 | channel),
                 static_cast<std::uint8_t>(oldRoot + octave + interval), 0);
            if (bass && interval != 0) {
                continue;
            }
            Send(synth, static_cast<std::uint8_t>(0x90 | channel),
                 static_cast<std::uint8_t>(root + octave + interval),
                 static_cast<std::uint8_t>(80 + (step * 7 + static_cast<int>(part)) % 40));
        }
        if (pad) {
            Send(synth, static_cast<std::uint8_t>(0xB0 | channel), 11,
                 static_cast<std::uint8_t>(64 + (step % 64)));
        }
    }
    Send(synth, 0x99, step % 2 == 0 ? 42 : 44, 100); // hi-hats every sixteenth
    if (step % 8 == 0) {
        Send(synth, 0x99, 36, 120);
    }
    if (step % 8 == 4) {
        Send(synth, 0x99, 38, 120);
    }
    if (step % 16 == 0) {
        Send(synth, 0x99, 49, 110);
    }
    if (step % 16 >= 12) {
        Send(synth, 0x99, static_cast<std::uint8_t>(50 - 2 * (step % 4)), 110); // tom fill
    }
}

} // namespace

double SynthCpuSecondsPerAudioSecond() {
    GmSynth synth(Rate);
    if (!synth.HasSoundFont()) {
        std::fprintf(stderr, "synth cost: %s\n", synth.SoundFontError().c_str());
        return std::numeric_limits<double>::quiet_NaN();
    }
    for (std::size_t part = 0; part < Programs.size(); ++part) {
        Send(synth, static_cast<std::uint8_t>(0xC0 | ChannelOfPart(part)), Programs[part], 0);
    }
    std::vector<std::int16_t> block(BlockFrames * 2);
    const auto totalFrames = static_cast<long>(AudioSeconds * Rate);
    long rendered = 0;
    long nextStepFrame = 0;
    int step = 0;
    const double start = ThreadCpuSeconds();
    while (rendered < totalFrames) {
        while (nextStepFrame <= rendered) {
            PlayStep(synth, step++);
            nextStepFrame += StepFrames;
        }
        synth.Render(block.data(), BlockFrames);
        rendered += BlockFrames;
    }
    const double cpu = ThreadCpuSeconds() - start;
    return cpu / (static_cast<double>(rendered) / Rate);
}

} // namespace tamtara::bench
