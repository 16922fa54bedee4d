// Short message lengths by status byte, as the MIDI 1.0 wire protocol has them.
#include "platform/midi/MidiMessageBytes.h"

namespace tamtara {

std::size_t ShortMessageLength(std::uint8_t status) {
    if (status < 0x80) {
        return 0; // running status is not carried by a single packed message
    }
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 2;
    case 0xF0:
        break;
    default:
        return 3;
    }
    switch (status) {
    case 0xF0:
    case 0xF7:
        return 0;
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1; // tune request and real-time messages
    }
}

ShortMessageBytes UnpackShortMessage(std::uint32_t message) {
    ShortMessageBytes result;
    const auto status = static_cast<std::uint8_t>(message & 0xFF);
    result.Length = ShortMessageLength(status);
    result.Bytes[0] = status;
    result.Bytes[1] = static_cast<std::uint8_t>((message >> 8) & 0x7F);
    result.Bytes[2] = static_cast<std::uint8_t>((message >> 16) & 0x7F);
    return result;
}

} // namespace tamtara
