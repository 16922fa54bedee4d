// The hand-over into the audio thread: where in a period each message takes effect.
#include "platform/midi/TimedMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamtara {
namespace {

constexpr int Rate = 48000;
constexpr std::int64_t Lead = 5000;
constexpr std::int64_t Start = 1000000;

struct Applied {
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    // Frames rendered before it took effect, in its period.
    int Frame = 0;
    std::int64_t Micros = 0;
};

class Period {
public:
    explicit Period(TimedMessages& queue) : Queue(queue) {}
    // Renders one period starting at startMicros; returns what took effect and keeps the chunks.
    std::vector<Applied> Render(std::int64_t startMicros, int frames) {
        std::vector<Applied> applied;
        int rendered = 0;
        Chunks.clear();
        Queue.RenderPeriod(
            startMicros, frames,
            [&](const TimedMessage& m, std::int64_t at) {
                const auto bytes = m.Bytes();
                applied.push_back({bytes[0], bytes.size() > 1 ? bytes[1] : std::uint8_t{0}, rendered, at});
            },
            [&](int count) {
                rendered += count;
                Chunks.push_back(count);
            });
        EXPECT_EQ(rendered, frames);
        return applied;
    }
    std::vector<int> Chunks;

private:
    TimedMessages& Queue;
};

void Post(TimedMessages& queue, std::uint8_t status, std::uint8_t data1, std::optional<std::int64_t> due) {
    const std::uint8_t bytes[3] = {status, data1, 100};
    queue.Post(bytes, due);
}

// The frame a message due at `due` belongs on in a period starting at Start.
std::int64_t DueFor(double frame) {
    return Start - Lead + static_cast<std::int64_t>(frame * 1000000.0 / Rate);
}

TEST(TimedMessages, DueMessagesTakeEffectAtTheBlockNearestTheirSample) {
    TimedMessages queue(Rate, 64, Lead);
    Period period(queue);
    Post(queue, 0x90, 1, DueFor(48));   // nearer 64 than 0
    Post(queue, 0x90, 2, DueFor(14));   // nearer 0
    Post(queue, 0x90, 3, DueFor(125));  // nearer 128: the next period's first block
    Post(queue, 0x90, 4, DueFor(-400)); // the sender was late: at once
    const std::vector<Applied> first = period.Render(Start, 128);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].Data1, 2);
    EXPECT_EQ(first[0].Frame, 0);
    EXPECT_EQ(first[1].Data1, 4);
    EXPECT_EQ(first[1].Frame, 0);
    EXPECT_EQ(first[2].Data1, 1);
    EXPECT_EQ(first[2].Frame, 64);
    EXPECT_EQ(first[2].Micros, Start + 1333);
    EXPECT_EQ(period.Chunks, (std::vector<int>{64, 64}));

    const std::int64_t next = Start + 128 * 1000000 / Rate;
    const std::vector<Applied> second = period.Render(next, 128);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].Data1, 3);
    EXPECT_EQ(second[0].Frame, 0);
    EXPECT_EQ(second[0].Micros, next);
}

TEST(TimedMessages, AtOnceGoesFirstButSilencingWaitsForEverythingSentBeforeIt) {
    TimedMessages queue(Rate, 64, Lead);
    Period period(queue);
    Post(queue, 0x99, 38, DueFor(200));  // a song note for the next period
    Post(queue, 0x99, 42, std::nullopt); // a strike: at once, not behind the song
    std::vector<Applied> first = period.Render(Start, 128);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].Data1, 42);

    // Stopping the song: its pending note must not sound after the silence.
    Post(queue, 0xB9, 120, std::nullopt);
    const std::vector<Applied> second = period.Render(Start + 2667, 128);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].Data1, 38);
    EXPECT_EQ(second[1].Status, 0xB9);
    EXPECT_EQ(second[1].Frame, 0);
}

TEST(TimedMessages, PeriodsOffTheBlockGridStillApplyOnItsBoundaries) {
    TimedMessages queue(Rate, 64, Lead);
    Period period(queue);
    period.Render(Start, 100);
    EXPECT_EQ(period.Chunks, (std::vector<int>{64, 36}));
    // 100 frames in: the synth's block ends 28 frames into this period. A message at once takes
    // effect there, and one due on frame 80 at the boundary 92 frames in.
    const std::int64_t next = Start + 100 * 1000000 / Rate;
    Post(queue, 0x90, 7, std::nullopt);
    Post(queue, 0x90, 8, next - Lead + 80 * 1000000 / Rate);
    const std::vector<Applied> applied = period.Render(next, 100);
    EXPECT_EQ(period.Chunks, (std::vector<int>{28, 64, 8}));
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0].Frame, 0);
    EXPECT_EQ(applied[0].Micros, next + 28 * 1000000 / Rate);
    EXPECT_EQ(applied[1].Data1, 8);
    EXPECT_EQ(applied[1].Frame, 92);
}

} // namespace
} // namespace tamtara
