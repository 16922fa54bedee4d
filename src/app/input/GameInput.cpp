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

// Bit N set when states hold lane N's first or second key.
std::uint8_t LanesOf(const TInputStates& states) {
    std::uint8_t lanes = 0;
    for (int lane = 0; lane < LaneCount; ++lane)
        if (states.Contains(FirstKeyStates[lane]) || states.Contains(SecondKeyStates[lane]))
            lanes = static_cast<std::uint8_t>(lanes | (1u << lane));
    return lanes;
}

} // namespace

GameInput::GameInput(std::unique_ptr<TKeySource> keys, IMidiInDriver* midiIn, std::function<void()> wake,
                     std::unique_ptr<IRawKeyReader> rawKeys)
    : KeySource(std::move(keys)), DXInput(*KeySource) {
    if (rawKeys) KeyThread = std::make_unique<KeyStrikeInput>(std::move(rawKeys), wake);
    if (midiIn) Kit = std::make_unique<KitInput>(*midiIn, std::move(wake));
    // The menu keys sit on top of the stored bindings from the start.
    ApplyGameBindings(DXInput.Keyboard);
    RefreshKeyLanes();
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
    const std::uint8_t lanes = LanesOf(states);
    const bool threadInUse = KeyThread && KeyThread->InUse();
    const std::uint8_t threadLanes = threadInUse ? KeyThread->LanesOfKey(sdlScancode) : 0;
    // The keyboard's layout may have changed what the key types since the key thread was told;
    // this key is struck here, the next ones there.
    if (threadInUse && threadLanes != lanes) RefreshKeyLanes();
    for (int lane = 0; lane < LaneCount; ++lane)
        if (lanes & (1u << lane)) Strikes.Push(Strike{lane, time, 0, (threadLanes & (1u << lane)) != 0});
}

void GameInput::TakeKeyStrikes() {
    for (const Strike& strike : KeyThread->TakeStrikes())
        Strikes.Push(strike);
}

void GameInput::RefreshKeyLanes() {
    if (!KeyThread) return;
    KeyLaneMasks lanes{};
    for (int sdl = 1; sdl < ScancodeCount; ++sdl)
        lanes[static_cast<std::size_t>(sdl)] = LanesOf(DXInput.StatesOfKey(sdl));
    KeyThread->SetLanes(lanes);
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
    RefreshKeyLanes();
}

} // namespace tamtara
