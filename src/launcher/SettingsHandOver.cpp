// The launcher's MIDI device list and the settings hand-over to the game window.
#include "launcher/SettingsHandOver.h"

namespace tamtara {

std::vector<std::string> MidiDeviceNames(IMidiOutDriver& driver) {
    std::vector<std::string> names;
    MidiOutCaps caps;
    names.push_back(driver.GetDevCaps(MidiMapperId, caps) == MidiError::NoError ? caps.ProductName
                                                                                : std::string("MIDI Mapper"));
    const unsigned count = driver.DeviceCount();
    for (unsigned id = 0; id < count; ++id) {
        MidiOutCaps deviceCaps;
        driver.GetDevCaps(static_cast<int>(id), deviceCaps);
        names.push_back(deviceCaps.ProductName);
    }
    return names;
}

void HandOverSettings(IGameWindow& window, const GameSettings& settings) {
    window.HandOver(settings);
}

} // namespace tamtara
