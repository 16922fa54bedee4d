// The settings hand-over to the game window, and the ini reading that stands in for the
// launcher dialog meanwhile.
#include "app/SettingsHandOver.h"

#include "app/MainForm.h"

namespace tamtara {

std::vector<std::string> MidiDeviceNames(IMidiOutDriver& driver) {
    std::vector<std::string> names;
    MidiOutCaps caps;
    names.push_back(driver.GetDevCaps(MidiMapperId, caps) == MidiError::NoError
                        ? caps.ProductName
                        : std::string("MIDI Mapper"));
    const unsigned count = driver.DeviceCount();
    for (unsigned id = 0; id < count; ++id) {
        MidiOutCaps deviceCaps;
        driver.GetDevCaps(static_cast<int>(id), deviceCaps);
        names.push_back(deviceCaps.ProductName);
    }
    return names;
}

GameSettings ReadGameSettings(const std::string& programPath, IMidiOutDriver& driver) {
    const LauncherSettings settings = LoadSettings(SettingsPathForProgram(programPath));
    return MakeGameSettings(settings, MidiDeviceNames(driver));
}

void HandOverSettings(TMainForm& form, const GameSettings& settings) {
    form.Prev = settings.Prev;
    form.Demo = settings.Demo;
    form.MidiDevice = settings.MidiDevice;
    form.Combo = settings.Combo;
    form.NoBank = settings.NoBank;
    if (!settings.FullScreen) form.LeaveFullScreen();
    form.DXInput.SetUseDirectInput(settings.DInput);
    form.MissPenalty = settings.MissPenalty;
    form.Level = settings.Level;
    form.SetPlayerKeys(settings.KeyA, settings.KeyB);
    form.PreciseInput = settings.PreciseInput;
    form.InputOffsetMs = settings.InputOffsetMs;
    form.MidiIn = settings.MidiIn;
    form.KitMap = settings.Kit;
}

} // namespace tamtara
