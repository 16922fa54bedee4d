// The window's key bindings: the menu keys fixed at creation and the player's keys written at
// hand-over, both on the keyboard component's binding table.
#include "app/MainForm.h"

#include "platform/input/GameBindings.h"

namespace tamtara {

void TMainForm::FixMenuKeys() {
    ApplyGameBindings(DXInput.Keyboard);
}

void TMainForm::SetPlayerKeys(const std::array<std::int32_t, 7>& keyA,
                              const std::array<std::int32_t, 7>& keyB) {
    BindPlayerKeys(DXInput.Keyboard, keyA, keyB);
}

} // namespace tamtara
