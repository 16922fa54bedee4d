// The panel a game message is drawn in over any frame: a dark plate framed in the game's yellow
// and red, the bitmap font's "!" beside the title, the detail wrapped below, and the keys that
// close it.
#pragma once

#include "app/GameMessages.h"
#include "platform/display/DisplayTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

class TDirectDrawSurface;
struct ScreenSurfaces;

// The help text of the panel, and its addition while more messages wait.
inline constexpr const char* MessageCloseText = "Enter / Esc で閉じる";
std::string MessageWaitingText(std::size_t waiting);

class MessagePanel {
public:
    static constexpr std::int32_t Left = 32;
    static constexpr std::int32_t Top = 60;
    static constexpr std::int32_t Width = 576;
    static constexpr std::size_t MaxDetailLines = 3;

    // Draws message over back; serial tells a new message from the one laid out last, so the
    // texts are measured and wrapped once per message, not per frame.
    void Draw(TDirectDrawSurface& back, const ScreenSurfaces& art, const GameMessage& message,
              std::uint64_t serial, std::size_t waiting);
    // Where the last Draw put the panel.
    TRect Area() const { return Bounds(Left, Top, Width, Height); }

private:
    void Layout(TDirectDrawSurface& back, const GameMessage& message);

    std::uint64_t LaidOut = 0;
    std::string Title;
    std::vector<std::string> DetailLines;
    std::int32_t Height = 0;
};

} // namespace tamtara
