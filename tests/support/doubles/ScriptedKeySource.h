// A key source driven by code, for tests and the headless game harness: keys are pressed by
// key code and answer in both reading modes.
#pragma once

#include "platform/input/KeySource.h"

namespace tamtara {

class TScriptedKeySource : public TKeySource {
public:
    // Holds or releases the key with this key code: its virtual-key entry, and every scan code
    // the scan-code table maps to it.
    void Press(int keyCode);
    void Release(int keyCode);
    // A single physical key by DirectInput scan code; the virtual-key entry is left alone.
    void PressScanCode(int scanCode);
    void ReleaseScanCode(int scanCode);
    void ReleaseAll();

    bool Focus = true;
    // The next this many reads fail, as a lost device does.
    int FailingReads = 0;
    int AcquireCount = 0;

    bool HasFocus() override { return Focus; }
    bool ReadScanCodes(KeyStateArray& state) override;
    bool ReadVirtualKeys(KeyStateArray& keys) override;
    void KeyCodesOfScancode(int sdlScancode, bool directInput, KeyStateArray& keys) override;
    void Acquire() override { ++AcquireCount; }

private:
    KeyStateArray ScanCodes{};
    KeyStateArray VirtualKeys{};
};

} // namespace tamtara
