// The messages the game window shows the player over every screen: one at a time, each for a
// few seconds or until the player dismisses it, the others waiting their turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace tamtara {

struct GameMessage {
    std::string Title;  // what happened, one line
    std::string Detail; // what it concerns and why (a file, a port, the reason); may be empty

    bool operator==(const GameMessage&) const = default;
};

class GameMessageQueue {
public:
    // How long a message stays on screen unless dismissed.
    static constexpr std::uint32_t ShowMilliseconds = 5000;
    // Messages kept waiting behind the one on screen; a further one pushes out the oldest.
    static constexpr std::size_t MaxWaiting = 3;

    // Shows message now when none is on screen, else queues it. The message already on screen
    // posted again starts its time afresh; one already waiting is not queued twice.
    void Post(GameMessage message, std::uint32_t now);
    // Moves on to the next message once the one on screen has had its time.
    void Update(std::uint32_t now);
    // Takes the message on screen away, the next one showing from now; false when none was.
    bool Dismiss(std::uint32_t now);

    // The message on screen; null when none.
    const GameMessage* Current() const { return Messages.empty() ? nullptr : &Messages.front(); }
    std::size_t Waiting() const { return Messages.empty() ? 0 : Messages.size() - 1; }
    // Counts the messages that have come on screen, so that a drawer can tell a new one.
    std::uint64_t Serial() const { return Shown; }

private:
    void ShowNext(std::uint32_t now);

    // The front is on screen.
    std::deque<GameMessage> Messages;
    std::uint32_t ShownSince = 0;
    std::uint64_t Shown = 0;
};

} // namespace tamtara
