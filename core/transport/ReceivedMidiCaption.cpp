#include "core/transport/MidiTransport.h"

#include <cstdio>

namespace {

std::string Hex(std::uint8_t byte)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// Names of the channel messages by their upper four status bits, 0x80 to 0xE0.
const char* const ChannelMessageKinds[] = {
    "NOTE OFF", "NOTE ON", "POLY AFTER", "CTRL CHANGE", "PROG CHANGE", "CH AFTER TOUCH", "PITCH BEND",
};

} // namespace

std::optional<std::string> ReceivedMidiCaption(const std::string& captionText, std::uint8_t status, std::uint8_t data1,
                                               std::uint8_t data2)
{
    if (status == 0xF8 || status == 0xFE) // timing clock, active sensing
        return std::nullopt;
    const std::string data = Hex(data1) + " " + Hex(data2);
    if (status >= 0x80 && status < 0xF0)
        return captionText + "                    Received MIDI Data : CH " + std::to_string((status & 0x0F) + 1) +
               " " + ChannelMessageKinds[(status >> 4) - 8] + " " + data;
    return captionText + Hex(status) + " " + data;
}
