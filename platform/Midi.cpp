#include "platform/Midi.h"

#include <algorithm>
#include <cctype>
#include <thread>

namespace platform {

std::string NameWithoutClientPort(const std::string& fullName)
{
    // Walk back over "<digits>:<digits>" and the blank before it.
    std::size_t end = fullName.size();
    auto digitsBefore = [&](std::size_t pos) {
        std::size_t start = pos;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(fullName[start - 1]))) --start;
        return start;
    };
    std::size_t portStart = digitsBefore(end);
    if (portStart == end || portStart == 0 || fullName[portStart - 1] != ':') return fullName;
    std::size_t clientStart = digitsBefore(portStart - 1);
    if (clientStart == portStart - 1 || clientStart == 0 || fullName[clientStart - 1] != ' ') return fullName;
    return fullName.substr(0, clientStart - 1);
}

bool IsOwnPort(const std::string& fullName, const std::string& clientName)
{
    if (fullName.compare(0, clientName.size(), clientName) != 0) return false;
    std::size_t i = clientName.size();
    if (i < fullName.size() && fullName[i] == '-')
        for (++i; i < fullName.size() && fullName[i] >= '0' && fullName[i] <= '9'; ++i) {}
    return i < fullName.size() && fullName[i] == ':';
}

const MidiPortName& ListedPort(const std::vector<MidiPortName>& listed, int index, const char* kind)
{
    if (index < 0 || static_cast<std::size_t>(index) >= listed.size())
        throw MidiError(std::string("The MIDI ") + kind + " device number " + std::to_string(index) +
                        " is not present.");
    return listed[static_cast<std::size_t>(index)];
}

std::vector<OfferedPort> OfferedPorts(const std::vector<std::string>& reported, const std::string& clientName)
{
    std::vector<OfferedPort> ports;
    for (std::size_t place = 0; place < reported.size(); ++place) {
        const std::string& full = reported[place];
        if (full.empty() || IsOwnPort(full, clientName)) continue;
        ports.push_back({place, MidiPortName{NameWithoutClientPort(full), full}});
    }
    return ports;
}

std::size_t PlaceOfOfferedPort(const std::vector<std::string>& reported, const std::string& fullName,
                               const std::string& clientName)
{
    const std::vector<OfferedPort> ports = OfferedPorts(reported, clientName);
    const auto offered =
        std::find_if(ports.begin(), ports.end(), [&](const OfferedPort& p) { return p.Name.FullName == fullName; });
    if (offered == ports.end())
        throw MidiError("The MIDI device \"" + NameWithoutClientPort(fullName) + "\" is not present.");
    return offered->Place;
}

int ShortMessageLength(std::uint8_t status)
{
    if (status < 0xF0) return (status & 0xE0) == 0xC0 ? 2 : 3; // program change and channel pressure: 2
    switch (status) {
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 2;
    case 0xF2: // song position
        return 3;
    default: return 1;
    }
}

void ForEachMessage(const std::uint8_t* data, std::size_t length,
                    const std::function<void(std::size_t, std::size_t)>& each)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (data[i] == 0xF0 && i > start) {
            each(start, i - start);
            start = i;
        }
        if (data[i] == 0xF7) {
            each(start, i + 1 - start);
            start = i + 1;
        }
    }
    if (start < length) each(start, length - start);
}

MidiPacketReader::MidiPacketReader(MidiInputCallbacks callbacks)
    : callbacks_(std::move(callbacks)), scratch_(MaxInputMessageSize)
{}

void MidiPacketReader::Deliver(const std::uint8_t* data, std::size_t length, double timestamp)
{
    // The system-exclusive message under way: where it starts in the packet, or, once a
    // real-time byte has interrupted it, how much of it the scratch space holds.
    bool inSysex = false, copied = false;
    std::size_t sysexStart = 0, scratchUsed = 0;
    std::uint8_t message[3] = {};
    int have = 0, need = 0; // bytes of the short message under way, and its length
    auto deliverShort = [&] {
        if (callbacks_.Short) callbacks_.Short(message[0], message[1], message[2], timestamp);
        have = need = 0;
    };
    auto keep = [&](std::uint8_t byte) {
        if (scratchUsed < scratch_.size()) scratch_[scratchUsed++] = byte;
    };
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t byte = data[i];
        if (byte >= 0xF8) { // real time: may stand anywhere, changes nothing around it
            if (inSysex && !copied) {
                scratchUsed = std::min(i - sysexStart, scratch_.size());
                std::copy_n(data + sysexStart, scratchUsed, scratch_.begin());
                copied = true;
            }
            if (byte != 0xF8 && byte != 0xFE && callbacks_.Short) callbacks_.Short(byte, 0, 0, timestamp);
            continue;
        }
        if (byte < 0x80) {
            if (inSysex) {
                if (copied) keep(byte);
            } else if (have > 0 && have < need) {
                message[have++] = byte;
                if (have == need) deliverShort();
            }
            continue; // otherwise a data byte without a status: dropped
        }
        have = need = 0; // a status byte ends an unfinished short message
        if (byte == 0xF7) {
            if (inSysex && callbacks_.Long) {
                if (copied) {
                    keep(byte);
                    callbacks_.Long(scratch_.data(), scratchUsed);
                } else {
                    callbacks_.Long(data + sysexStart, std::min(i + 1 - sysexStart, MaxInputMessageSize));
                }
            }
            inSysex = false;
            continue;
        }
        inSysex = byte == 0xF0; // any other status ends an unclosed system-exclusive message
        if (inSysex) {
            sysexStart = i;
            copied = false;
            continue;
        }
        message[0] = byte;
        message[1] = message[2] = 0;
        have = 1;
        need = ShortMessageLength(byte);
        if (need == 1) deliverShort();
    }
}

MidiSendResult MidiOutput::TrySendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    const std::uint8_t message[3] = {status, data1, data2};
    return SendMessage(message, static_cast<std::size_t>(ShortMessageLength(status)));
}

void MidiOutput::Send(const std::uint8_t* data, std::size_t length)
{
    // A full output is given time to make room (JACK empties its buffer every cycle, a few
    // milliseconds); one that takes nothing for two seconds has stopped.
    const auto deadline = std::chrono::steady_clock::now() + FullOutputPatience;
    for (;;) {
        const MidiSendResult result = SendMessage(data, length);
        if (result == MidiSendResult::Sent) return;
        if (result == MidiSendResult::Failed || std::chrono::steady_clock::now() >= deadline) {
            std::string error = LastError();
            throw MidiError(error.empty() ? "The MIDI output takes nothing." : error);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void MidiOutput::SendLong(const std::uint8_t* data, std::size_t length)
{
    const std::size_t limit = MaxMessageSize();
    ForEachMessage(data, length, [&](std::size_t, std::size_t size) {
        if (size > limit)
            throw MidiError("A MIDI message of " + std::to_string(size) +
                            " bytes is too long for this MIDI output (at most " + std::to_string(limit) +
                            " bytes); nothing was sent.");
    });
    ForEachMessage(data, length, [&](std::size_t offset, std::size_t size) { Send(data + offset, size); });
}

void MidiOutput::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    const std::uint8_t message[3] = {status, data1, data2};
    Send(message, static_cast<std::size_t>(ShortMessageLength(status)));
}

} // namespace platform
