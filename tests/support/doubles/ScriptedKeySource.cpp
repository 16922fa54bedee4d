// Scripted key presses for tests.
#include "support/doubles/ScriptedKeySource.h"

#include "platform/input/ScanCodeTable.h"
#include "platform/input/SdlKeyTables.h"

namespace tamtara {

namespace {

void SetKey(KeyStateArray& scanCodes, KeyStateArray& virtualKeys, int keyCode, std::uint8_t value) {
    if (keyCode < 1 || keyCode > 255) return;
    virtualKeys[static_cast<std::size_t>(keyCode)] = value;
    for (std::size_t scan = 0; scan < ScanCodeTable.size(); ++scan)
        if (ScanCodeTable[scan] == keyCode) scanCodes[scan] = value;
}

} // namespace

void TScriptedKeySource::Press(int keyCode) {
    SetKey(ScanCodes, VirtualKeys, keyCode, 0x80);
}

void TScriptedKeySource::Release(int keyCode) {
    SetKey(ScanCodes, VirtualKeys, keyCode, 0);
}

void TScriptedKeySource::PressScanCode(int scanCode) {
    if (scanCode >= 0 && scanCode <= 255) ScanCodes[static_cast<std::size_t>(scanCode)] = 0x80;
}

void TScriptedKeySource::ReleaseScanCode(int scanCode) {
    if (scanCode >= 0 && scanCode <= 255) ScanCodes[static_cast<std::size_t>(scanCode)] = 0;
}

void TScriptedKeySource::ReleaseAll() {
    ScanCodes.fill(0);
    VirtualKeys.fill(0);
}

bool TScriptedKeySource::ReadScanCodes(KeyStateArray& state) {
    if (FailingReads > 0) {
        --FailingReads;
        return false;
    }
    state = ScanCodes;
    return true;
}

bool TScriptedKeySource::ReadVirtualKeys(KeyStateArray& keys) {
    if (FailingReads > 0) {
        --FailingReads;
        return false;
    }
    keys = VirtualKeys;
    return true;
}

void TScriptedKeySource::KeyCodesOfScancode(int sdlScancode, bool directInput, KeyStateArray& keys) {
    KeyCodesOfSdlKey(sdlScancode, directInput, UsCharacterOfScancode, keys);
}

} // namespace tamtara
