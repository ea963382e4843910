// The transport over ports of a far end on a JACK server, and what the tests over it ask of a send.
#pragma once

#include "tests/support/JackPorts.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using Bytes = std::vector<std::uint8_t>;

// The text a send throws, or empty when it went.
inline std::string SendError(TMidiTransport& transport, const Bytes& message)
{
    try {
        transport.SendSysEx(message.data(), int(message.size()), 0);
        return {};
    } catch (const EMidiError& e) {
        return e.what();
    }
}

// Sends until a send fails (a port learns of its loss a cycle or so after it); the failure's
// text, or empty when every send went for JackPatience.
inline std::string FirstFailure(TMidiTransport& transport)
{
    const auto deadline = Clock::now() + JackPatience;
    while (Clock::now() < deadline) {
        std::string error = SendError(transport, JackTestChange);
        if (!error.empty()) return error;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
}

inline double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The transport over a far end's ports, the far end named `role`.
struct Rig {
    std::unique_ptr<JackFarEnd> far;
    std::unique_ptr<platform::MidiBackend> backend = platform::CreateMidiBackend(EditorClientName());
    Mailbox<int> wakes;
    TMidiTransport transport{*backend, [this] { wakes.Push(1); }};
    std::vector<Bytes> dumps;

    explicit Rig(const std::string& role) : far(std::make_unique<JackFarEnd>(role))
    {
        transport.OnLongData = [this](const std::uint8_t* data, int length) {
            dumps.emplace_back(data, data + length);
        };
    }
    // Hands over what the input has, until `count` dumps came or JackPatience passed.
    bool WaitForDumps(std::size_t count)
    {
        const auto deadline = Clock::now() + JackPatience;
        while (dumps.size() < count && Clock::now() < deadline) {
            wakes.Take();
            transport.DeliverInput();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return dumps.size() >= count;
    }
};
