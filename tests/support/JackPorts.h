// Tests over real MIDI ports of a JACK server: scripts/test starts one with the dummy driver and
// names it in QM_JACK_SERVER. The test puts ports of its own on the far end of the program's.
#pragma once

#include "core/transport/MidiTransport.h"

#include <RtMidi.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

using Clock = std::chrono::steady_clock;

// Points the program and RtMidi at the test script's JACK server; when none runs, the reason
// to skip the test.
inline const char* JackServerMissing()
{
    const char* server = std::getenv("QM_JACK_SERVER");
    if (!server || !*server)
        return "QM_JACK_SERVER is not set: no JACK server runs for this test (scripts/test starts one "
               "with jackd's dummy driver where jackd is installed and can start)";
    setenv("JACK_DEFAULT_SERVER", server, 1);
    setenv("QUILLMARVEN_MIDI_API", "jack", 1);
    return nullptr;
}

// Items handed over from JACK's threads to the test's.
template <class T>
struct Mailbox {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<T> items;

    void Push(T item)
    {
        std::lock_guard lock(mutex);
        items.push_back(std::move(item));
        changed.notify_all();
    }
    // All items so far, once there are `count` of them or after ten seconds.
    std::vector<T> WaitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        changed.wait_until(lock, Clock::now() + std::chrono::seconds(10), [&] { return items.size() >= count; });
        return items;
    }
    // The items so far, taken out.
    std::vector<T> Take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(items, {});
    }
};

// The test's own JACK clients on the far end: an input "NAME:in" that keeps every message that
// reaches it (system-exclusive ones included) and an output "NAME-out:out".
class JackFarEnd {
public:
    explicit JackFarEnd(const std::string& name)
        : name_(name), input_(RtMidi::UNIX_JACK, name), output_(RtMidi::UNIX_JACK, name + "-out")
    {
        input_.ignoreTypes(false, true, true);
        input_.setCallback(&OnMessage, &Received);
        input_.openVirtualPort("in");
        output_.openVirtualPort("out");
    }

    // Opens the transport's instrument input and output on these ports; false when the
    // transport does not list them.
    bool Connect(TMidiTransport& transport)
    {
        const int in = IndexOf(transport.InputNames(), name_ + "-out:out");
        const int out = IndexOf(transport.OutputNames(), name_ + ":in");
        if (in < 0 || out < 0) return false;
        transport.OpenMidiPorts(in, out, -1);
        return true;
    }
    void Send(const std::vector<std::uint8_t>& message) { output_.sendMessage(&message); }

    Mailbox<std::vector<std::uint8_t>> Received;

private:
    static void OnMessage(double, std::vector<unsigned char>* message, void* box)
    {
        static_cast<Mailbox<std::vector<std::uint8_t>>*>(box)->Push(
            std::vector<std::uint8_t>(message->begin(), message->end()));
    }
    static int IndexOf(const std::vector<std::string>& names, const std::string& name)
    {
        auto it = std::find(names.begin(), names.end(), name);
        return it == names.end() ? -1 : int(it - names.begin());
    }

    std::string name_;
    RtMidiIn input_;
    RtMidiOut output_;
};
