// Plain-English texts of the driver result codes, shared by every MIDI driver.
#include "midi/MidiDriver.h"

namespace tamtara {

bool StandardMidiErrorText(MidiResult code, std::string& text) {
    switch (code) {
    case MidiError::NoError:
        text = "The operation completed successfully.";
        return true;
    case MidiError::Error:
        text = "An unspecified error occurred in the MIDI driver.";
        return true;
    case MidiError::BadDeviceId:
        text = "The MIDI device ID is out of range.";
        return true;
    case MidiError::NotEnabled:
        text = "The MIDI driver failed to enable the device.";
        return true;
    case MidiError::Allocated:
        text = "The MIDI device is already in use by another program.";
        return true;
    case MidiError::InvalidHandle:
        text = "The MIDI device handle is invalid.";
        return true;
    case MidiError::NoDriver:
        text = "No MIDI driver is installed for this device.";
        return true;
    case MidiError::NoMemory:
        text = "Not enough memory for the MIDI operation.";
        return true;
    case MidiError::NotSupported:
        text = "The MIDI device does not support this function.";
        return true;
    case MidiError::InvalidParam:
        text = "An invalid parameter was passed to the MIDI driver.";
        return true;
    case MidiError::Unprepared:
        text = "The MIDI message header was not prepared.";
        return true;
    case MidiError::StillPlaying:
        text = "MIDI messages are still being played.";
        return true;
    case MidiError::NotReady:
        text = "The MIDI device is busy; try again later.";
        return true;
    case MidiError::NoDevice:
        text = "The MIDI port is no longer connected.";
        return true;
    default:
        return false;
    }
}

} // namespace tamtara
