// Assembly of the play pieces and the keyboard poll.
#include "app/play/GamePlay.h"

#include "platform/display/DXDraw.h"

namespace tamtara {

GamePlay::GamePlay(GamePlayParts parts)
    : Text(parts.Display.Surface(), Surfaces),
      Capture(State, parts.Drive, [this] { return OnPlayScreen.load(std::memory_order_relaxed); }),
      Judgement(State, parts.Drive),
      Screen(PlayScreenParts{parts.Display, Surfaces, Text, State, Judgement, parts.Drive, parts.Clock, parts.Timer,
                             parts.InstrumentNames, [this] { PollKeys(); }}),
      UpdateInput(std::move(parts.UpdateInput)),
      InputOn(std::move(parts.InputOn))
{
}

void GamePlay::PollKeys()
{
    if (UpdateInput)
        UpdateInput();
    Judgement.UpdateHolds([this](int inputState) { return InputOn && InputOn(inputState); });
}

} // namespace tamtara
