#pragma once
// The transport on the in-process MIDI system; the test takes the input as the UI thread would.

#include "core/transport/MidiTransport.h"
#include "platform/MidiInProcess.h"

#include <gtest/gtest.h>

#include <atomic>

using Bytes = std::vector<std::uint8_t>;

class TransportTest : public testing::Test {
protected:
    TransportTest()
    {
        transport.OnLongData = [this](const std::uint8_t* data, int length) {
            longData.emplace_back(data, data + length);
        };
        transport.OnShortData = [this](std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
            shortData.push_back(Bytes{status, data1, data2});
        };
    }

    // Takes what the MIDI threads left for the UI thread, as its wake-up would.
    bool Deliver() { return transport.DeliverInput(); }

    platform::InProcessMidi midi;
    // Inputs: FS1R (0), Keyboard (1). Outputs: FS1R (0).
    std::shared_ptr<platform::InProcessMidi::Device> fs1r = midi.AddDevice("FS1R");
    std::shared_ptr<platform::InProcessMidi::Device> keyboard = midi.AddDevice("Keyboard", true, false);

    std::atomic<int> wakes{0};
    TMidiTransport transport{midi, [this] { ++wakes; }};
    std::vector<Bytes> longData;
    std::vector<Bytes> shortData;
};

inline Bytes ParameterChange(std::uint8_t ah, std::uint8_t am, std::uint8_t al, std::uint8_t value)
{
    return {0xF0, 0x43, 0x10, 0x5E, ah, am, al, 0x00, value, 0xF7};
}

// A bulk dump frame of `payload` bytes (checksum left 0: the transport does not look at it).
inline Bytes Dump(std::size_t payload, std::uint8_t fill)
{
    Bytes m = {0xF0, 0x43, 0x00, 0x5E, std::uint8_t(payload >> 7), std::uint8_t(payload & 0x7F), 0x40, 0x00, 0x00};
    m.insert(m.end(), payload, fill);
    m.push_back(0x00);
    m.push_back(0xF7);
    return m;
}
