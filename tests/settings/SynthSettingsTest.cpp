// [Synth] Period: the default, and a hand-edited value brought to a whole number of blocks.
#include "settings/SynthSettings.h"
#include "settings/ProfileFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace tamtara {
namespace {

namespace fs = std::filesystem;

std::int32_t PeriodOfIni(const std::string& text) {
    const fs::path path = fs::path(::testing::TempDir()) / ("synth_" + std::to_string(::getpid()) + ".ini");
    std::ofstream(path, std::ios::binary) << text;
    const std::int32_t period = ReadSynthPeriod(TProfileFile(path.string()));
    fs::remove(path);
    return period;
}

TEST(SynthSettings, PeriodIsReadClampedAndRoundedUpToWholeBlocks) {
    EXPECT_EQ(PeriodOfIni(""), DefaultSynthPeriod);
    EXPECT_EQ(PeriodOfIni("[Synth]\nPeriod=abc\n"), DefaultSynthPeriod);
    EXPECT_EQ(PeriodOfIni("[Synth]\nPeriod=256\n"), 256);
    EXPECT_EQ(PeriodOfIni("[synth]\nperiod=100\n"), 128);
    EXPECT_EQ(PeriodOfIni("[Synth]\nPeriod=8\n"), MinSynthPeriod);
    EXPECT_EQ(PeriodOfIni("[Synth]\nPeriod=100000\n"), MaxSynthPeriod);
}

TEST(SynthSettings, TheDesktopsDefaultStandsInOnlyForAMissingPeriod) {
    const auto read = [](const std::string& text, std::int32_t fallback) {
        const fs::path path =
            fs::path(::testing::TempDir()) / ("synth_fallback_" + std::to_string(::getpid()) + ".ini");
        std::ofstream(path, std::ios::binary) << text;
        const std::int32_t period = ReadSynthPeriod(TProfileFile(path.string()), fallback);
        fs::remove(path);
        return period;
    };
    EXPECT_EQ(read("", 64), 64);
    EXPECT_EQ(read("[Synth]\nPeriod=abc\n", 64), 64);
    EXPECT_EQ(read("[Synth]\nPeriod=256\n", 64), 256);
}

} // namespace
} // namespace tamtara
