// Reads every device's product name in list order.
#include "DeviceList.h"

namespace tamtara {

std::vector<MidiDeviceEntry> ListMidiDevices(IMidiOutDriver& driver) {
    std::vector<MidiDeviceEntry> entries;
    const int count = static_cast<int>(driver.DeviceCount());
    for (int id = MidiMapperId; id < count; ++id) {
        MidiOutCaps caps;
        const MidiResult result = driver.GetDevCaps(id, caps);
        std::string name = caps.ProductName;
        if (result != MidiError::NoError && !StandardMidiErrorText(result, name)) {
            name = "error " + std::to_string(result);
        }
        entries.push_back({id, name});
    }
    return entries;
}

} // namespace tamtara
