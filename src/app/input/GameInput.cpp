// The keyboard poll, key-downs and pad hits turned into queued strikes and latched presses.
#include "app/input/GameInput.h"

#include "platform/input/GameBindings.h"

namespace tamtara {

namespace {

TInputStates Only(InputState state) {
    TInputStates states;
    states.Include(state);
    return states;
}

} // namespace

GameInput::GameInput(std::unique_ptr<TKeySource> keys, IMidiInDriver* midiIn, std::function<void()> wake)
    : KeySource(std::move(keys)), DXInput(*KeySource) {
    if (midiIn) Kit = std::make_unique<KitInput>(*midiIn, std::move(wake));
    // The menu keys sit on top of the stored bindings from the start.
    ApplyGameBindings(DXInput.Keyboard);
}

void GameInput::PollKeys() {
    DXInput.Update();
    Holds.Update(
        [this](int inputState) { return DXInput.States.Contains(static_cast<InputState>(inputState)); });
    if (AfterPoll) AfterPoll(Holds);
}

void GameInput::KeyDown(int sdlScancode, std::uint32_t time) {
    const TInputStates states = DXInput.StatesOfKey(sdlScancode);
    if (states.Empty()) return;
    DXInput.Latch(states);
    for (int lane = 0; lane < LaneCount; ++lane) {
        if (states.Contains(FirstKeyStates[lane]) || states.Contains(SecondKeyStates[lane]))
            Strikes.Push(Strike{lane, time, 0});
    }
}

void GameInput::TakeKitHits() {
    if (!Kit) return;
    for (const KitHit& hit : Kit->TakeHits()) {
        if (hit.Lane < 0) {
            DXInput.Latch(Only(FirstKeyStates[7]));
            continue;
        }
        // Struck already: a press now would be judged again by the poll.
        if (hit.Taken) continue;
        // The lane's first key is also its menu button (left, right, up, down).
        DXInput.Latch(Only(FirstKeyStates[static_cast<std::size_t>(hit.Lane)]));
        Strikes.Push(Strike{hit.Lane, hit.Time, hit.Velocity});
    }
}

void GameInput::SetPlayerKeys(const std::array<std::int32_t, LaneCount>& keyA,
                              const std::array<std::int32_t, LaneCount>& keyB) {
    BindPlayerKeys(DXInput.Keyboard, keyA, keyB);
}

} // namespace tamtara
