// The built-in synth rendered offline: audible notes, silence after notes-off, GM and GS resets.
#include "platform/midi/GmSynth.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace tamtara {
namespace {

// FluidSynth dithers its output, so silence is ±1 LSB and never all zeros.
constexpr int DitherLimit = 2;
constexpr int AudibleLevel = 200;
constexpr int Rate = 48000;

int PeakOf(GmSynth& synth, int frames) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    int peak = 0;
    for (int done = 0; done < frames; done += 256) {
        const int block = std::min(256, frames - done);
        synth.Render(samples.data(), block);
        for (int i = 0; i < block * 2; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(samples[static_cast<std::size_t>(i)])));
        }
    }
    return peak;
}

void Send(GmSynth& synth, std::initializer_list<std::uint8_t> bytes) {
    const std::vector<std::uint8_t> message(bytes);
    synth.Send(message);
}

// The small SoundFont when it is installed: a machine that also has a large one (the player's
// choice) still runs these tests quickly; otherwise whatever the synth finds itself.
std::string SmallSoundFont() {
    const char* small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    return ::access(small, R_OK) == 0 ? small : "";
}

class GmSynthTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Synth.HasSoundFont()) {
            GTEST_SKIP() << Synth.SoundFontError();
        }
    }
    GmSynth Synth{Rate, SmallSoundFont()};
};

TEST_F(GmSynthTest, SilentBeforeAnyNote) {
    EXPECT_LE(PeakOf(Synth, Rate / 10), DitherLimit);
}

TEST_F(GmSynthTest, SnareOnChannel10IsAudible) {
    Send(Synth, {0x99, 38, 127});
    EXPECT_GT(PeakOf(Synth, Rate / 5), AudibleLevel);
}

TEST_F(GmSynthTest, PianoOnChannel1IsAudible) {
    Send(Synth, {0x90, 60, 100});
    EXPECT_GT(PeakOf(Synth, Rate / 5), AudibleLevel);
}

TEST_F(GmSynthTest, AllSoundOffAndNotesOffFallSilent) {
    Send(Synth, {0x90, 60, 100});
    Send(Synth, {0x91, 64, 100});
    Send(Synth, {0x99, 49, 127}); // crash cymbal: a long ring
    PeakOf(Synth, Rate / 10);
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        Send(Synth, {static_cast<std::uint8_t>(0xB0 | channel), 120, 0});
        Send(Synth, {static_cast<std::uint8_t>(0xB0 | channel), 123, 0});
    }
    PeakOf(Synth, Rate * 3); // the reverb tail dies away
    EXPECT_LE(PeakOf(Synth, Rate / 10), DitherLimit);
    EXPECT_EQ(Synth.ActiveVoices(), 0);
}

// The sequencer's silencing sends All Sound Off, then All Notes Off, per channel.
TEST_F(GmSynthTest, NoteOffAfterAllSoundOffDoesNotReviveAVoice) {
    Send(Synth, {0x99, 49, 127});
    PeakOf(Synth, Rate / 10);
    Send(Synth, {0xB9, 120, 0});
    Send(Synth, {0x89, 49, 0});
    Send(Synth, {0xB9, 123, 0});
    PeakOf(Synth, Rate);
    EXPECT_EQ(Synth.ActiveVoices(), 0);
    // Notes played afterwards are released as usual.
    Send(Synth, {0x90, 60, 100});
    PeakOf(Synth, Rate / 10);
    Send(Synth, {0x80, 60, 0});
    PeakOf(Synth, Rate * 3);
    EXPECT_EQ(Synth.ActiveVoices(), 0);
}

TEST_F(GmSynthTest, GmSystemOnResetsProgramsAndControllers) {
    Send(Synth, {0xC0, 80});
    Send(Synth, {0xB0, 7, 20});
    Send(Synth, {0x90, 60, 100});
    ASSERT_EQ(Synth.Program(0), 80);
    Send(Synth, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    EXPECT_EQ(Synth.Program(0), 0);
    EXPECT_EQ(Synth.Controller(0, 7), 100);
    PeakOf(Synth, 256); // voices are freed as the next block renders
    EXPECT_EQ(Synth.ActiveVoices(), 0);
    // And the reset synth still plays.
    Send(Synth, {0x90, 60, 100});
    EXPECT_GT(PeakOf(Synth, Rate / 5), AudibleLevel);
}

TEST_F(GmSynthTest, GsResetResetsProgramsAndControllers) {
    Send(Synth, {0xC3, 33});
    Send(Synth, {0xB3, 10, 0});
    Send(Synth, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
    EXPECT_EQ(Synth.Program(3), 0);
    EXPECT_EQ(Synth.Controller(3, 10), 64);
}

TEST_F(GmSynthTest, MalformedMessagesAreIgnored) {
    Send(Synth, {0xF0});
    Send(Synth, {0xF0, 0xF7});
    Send(Synth, {0xF0, 0x41, 0x10});
    Send(Synth, {0x3C, 0x40});
    Send(Synth, {0x90});
    Send(Synth, {0xF8});
    Send(Synth, {0x99, 36, 127});
    EXPECT_GT(PeakOf(Synth, Rate / 5), AudibleLevel);
}

TEST(GmSynthWithoutSoundFont, RendersSilenceAndNamesTheProblem) {
    GmSynth synth(Rate, "/nonexistent/none.sf2");
    EXPECT_FALSE(synth.HasSoundFont());
    EXPECT_NE(synth.SoundFontError().find("/nonexistent/none.sf2"), std::string::npos);
    Send(synth, {0x90, 60, 100});
    EXPECT_LE(PeakOf(synth, Rate / 10), DitherLimit);
}

} // namespace
} // namespace tamtara
