// Counting held polls per button.
#include "app/input/KeyHolds.h"

#include "platform/input/GameBindings.h"

namespace tamtara {

void KeyHolds::Update(const std::function<bool(int)>& stateOn) {
    for (std::size_t i = 0; i < KeyHoldA.size(); ++i) {
        KeyHoldA[i] = stateOn(FirstKeyStates[i]) ? KeyHoldA[i] + 1 : 0;
        KeyHoldB[i] = stateOn(SecondKeyStates[i]) ? KeyHoldB[i] + 1 : 0;
    }
}

} // namespace tamtara
