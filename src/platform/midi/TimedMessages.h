// Messages on their way into a synth rendered period by period on an audio thread. A message
// sent at once takes effect at the start of the next period; a message with a due time takes
// effect a fixed lead after it, at that sample inside the period that covers it, so a sender a
// little late (up to the lead less one period) still lands exactly. The synth starts voices
// only at block boundaries, so each message is applied at the boundary nearest its sample.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace tamtara {

struct TimedMessage {
    std::array<std::uint8_t, 3> Short{};
    std::uint8_t ShortLength = 0;
    // An exclusive message (empty for a short one).
    std::vector<std::uint8_t> Long;
    // Steady-clock microseconds; none: at once.
    std::optional<std::int64_t> Due;

    std::span<const std::uint8_t> Bytes() const {
        return Long.empty() ? std::span<const std::uint8_t>(Short.data(), ShortLength) : std::span(Long);
    }
    // Silencing, resets and exclusive messages must come after everything sent before them.
    bool Flushes() const;
};

class TimedMessages {
public:
    // rate in frames per second; blockFrames the synth's own block; leadMicros the delay of
    // messages with a due time.
    TimedMessages(int rate, int blockFrames, std::int64_t leadMicros);

    std::int64_t LeadMicros() const { return Lead; }

    // Any thread.
    void Post(std::span<const std::uint8_t> message, std::optional<std::int64_t> due);

    // Audio thread: one period of frames whose first sample is rendered at startMicros. apply
    // (message, sample time in microseconds) takes effect on the frames render(count) produces
    // after it; render is called with consecutive counts adding up to frames.
    template <typename Apply, typename Render>
    void RenderPeriod(std::int64_t startMicros, int frames, Apply&& apply, Render&& render) {
        TakePosted();
        const auto timeOf = [&](int frame) {
            return startMicros + static_cast<std::int64_t>(frame) * 1000000 / Rate;
        };
        for (TimedMessage& message : Batch) {
            if (message.Due) {
                Waiting.push_back(std::move(message));
                continue;
            }
            // Everything sent before a flushing message goes before it, due or not.
            if (message.Flushes()) ApplyWaiting(Waiting.size(), timeOf(BoundaryFrom(0)), apply);
            apply(message, timeOf(BoundaryFrom(0)));
        }
        Batch.clear();
        int at = 0;
        while (at < frames) {
            const int boundary = BoundaryFrom(at);
            const int end = std::min(frames, boundary == at ? at + Block : boundary);
            if (boundary == at) {
                // Due messages whose sample is nearer this boundary than the next one.
                for (std::size_t i = 0; i < Waiting.size();) {
                    if (FrameOf(*Waiting[i].Due, startMicros) < at + Block / 2) {
                        apply(Waiting[i], timeOf(at));
                        Waiting.erase(Waiting.begin() + static_cast<std::ptrdiff_t>(i));
                    } else {
                        ++i;
                    }
                }
            }
            render(end - at);
            at = end;
        }
        Rendered += static_cast<std::uint64_t>(frames);
    }

private:
    void TakePosted();
    // The first block boundary at or after frame `at` of the period being rendered (Rendered
    // counts the frames before it).
    int BoundaryFrom(int at) const {
        const int into =
            static_cast<int>((Rendered + static_cast<std::uint64_t>(at)) % static_cast<std::uint64_t>(Block));
        return into == 0 ? at : at + Block - into;
    }
    // The frame of this period a due time falls on (negative when already past).
    std::int64_t FrameOf(std::int64_t due, std::int64_t startMicros) const {
        const std::int64_t micros = due + Lead - startMicros;
        return micros >= 0 ? micros * Rate / 1000000 : -((-micros * Rate + 999999) / 1000000);
    }
    template <typename Apply> void ApplyWaiting(std::size_t count, std::int64_t at, Apply& apply) {
        for (std::size_t i = 0; i < count; ++i)
            apply(Waiting[i], at);
        Waiting.erase(Waiting.begin(), Waiting.begin() + static_cast<std::ptrdiff_t>(count));
    }

    const int Rate;
    const int Block;
    const std::int64_t Lead;
    std::mutex Mutex;
    std::vector<TimedMessage> Posted;
    // Audio thread only.
    std::vector<TimedMessage> Batch;
    std::vector<TimedMessage> Waiting;
    std::uint64_t Rendered = 0;
};

} // namespace tamtara
