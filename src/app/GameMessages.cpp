// The message queue's timing on the window's millisecond clock.
#include "app/GameMessages.h"

#include <algorithm>

namespace tamtara {

void GameMessageQueue::Post(GameMessage message, std::uint32_t now) {
    if (!Messages.empty() && Messages.front() == message) {
        // A failure met again (the same song chosen twice) keeps its message up without a flicker.
        ShownSince = now;
        return;
    }
    if (std::find(Messages.begin(), Messages.end(), message) != Messages.end()) return;
    if (Waiting() == MaxWaiting) Messages.erase(Messages.begin() + 1);
    Messages.push_back(std::move(message));
    if (Messages.size() == 1) ShowNext(now);
}

void GameMessageQueue::Update(std::uint32_t now) {
    if (!Messages.empty() && now - ShownSince >= ShowMilliseconds) Dismiss(now);
}

bool GameMessageQueue::Dismiss(std::uint32_t now) {
    if (Messages.empty()) return false;
    Messages.pop_front();
    if (!Messages.empty()) ShowNext(now);
    return true;
}

void GameMessageQueue::ShowNext(std::uint32_t now) {
    ShownSince = now;
    ++Shown;
}

} // namespace tamtara
