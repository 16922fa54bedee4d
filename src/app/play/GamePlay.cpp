// Assembly of the play pieces.
#include "app/play/GamePlay.h"

#include "platform/display/DXDraw.h"

namespace tamtara {

GamePlay::GamePlay(GamePlayParts parts)
    : Capture(State, parts.Drive, [this] { return OnPlayScreen.load(std::memory_order_relaxed); }),
      Judgement(State, parts.Drive), Practice(State, parts.Drive, Judgement),
      Screen(PlayScreenParts{parts.Display, parts.Art.Surfaces, parts.Art.Text, State, Judgement, Practice,
                             parts.Drive, parts.Clock, parts.Timer, parts.InstrumentNames,
                             std::move(parts.PollKeys), parts.Holds}) {}

} // namespace tamtara
