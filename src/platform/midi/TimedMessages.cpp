// The hand-over of messages from the senders to the audio thread.
#include "platform/midi/TimedMessages.h"

#include <algorithm>

namespace tamtara {

bool TimedMessage::Flushes() const {
    if (!Long.empty()) return true;
    const std::uint8_t status = Short[0];
    if (status == 0xFF) return true;
    const bool controller = (status & 0xF0) == 0xB0 && ShortLength >= 2;
    return controller && (Short[1] == 120 || Short[1] == 121 || Short[1] == 123);
}

TimedMessages::TimedMessages(int rate, int blockFrames, std::int64_t leadMicros)
    : Rate(std::max(rate, 1)), Block(std::max(blockFrames, 1)), Lead(leadMicros) {
    Posted.reserve(256);
    Batch.reserve(256);
    Waiting.reserve(256);
}

void TimedMessages::Post(std::span<const std::uint8_t> message, std::optional<std::int64_t> due) {
    if (message.empty()) return;
    TimedMessage timed;
    if (message[0] == 0xF0 || message.size() > timed.Short.size()) {
        timed.Long.assign(message.begin(), message.end());
    } else {
        std::copy(message.begin(), message.end(), timed.Short.begin());
        timed.ShortLength = static_cast<std::uint8_t>(message.size());
    }
    timed.Due = due;
    std::lock_guard lock(Mutex);
    Posted.push_back(std::move(timed));
}

void TimedMessages::TakePosted() {
    std::lock_guard lock(Mutex);
    std::swap(Posted, Batch);
}

} // namespace tamtara
