// Tests over real MIDI ports of a JACK server: scripts/test starts one with the dummy driver and
// names it in QM_JACK_SERVER. The test puts ports of its own on the far end of the program's.
#pragma once

#include "core/transport/MidiTransport.h"
#include "platform/JackClient.h"
#include "tests/support/JackServer.h"
#include "tests/support/Patience.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// Points the program and the test's clients at the test script's JACK server; when none runs,
// the reason to skip the test.
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

// The name the program's clients take in a test: unique to the test process, so that a program
// named as the editor on another server of the same user (JACK names a client's socket after
// the client alone) never meets the test's clients.
inline std::string EditorClientName() { return "qm-editor-" + std::to_string(getpid()); }

// A system-exclusive message of `size` bytes in the instrument's frame (F0 43 `group` 5E .. F7),
// its data bytes made from `seed`.
inline std::vector<std::uint8_t> JackTestSysex(std::size_t size, std::uint8_t group, std::uint8_t seed)
{
    std::vector<std::uint8_t> m(size);
    for (std::size_t i = 0; i < size; ++i) m[i] = std::uint8_t((i * 7 + seed) & 0x7F);
    m[0] = 0xF0;
    m[1] = 0x43;
    m[2] = group;
    m[3] = 0x5E;
    m.back() = 0xF7;
    return m;
}

// A parameter change the tests send: part 1's volume, 100.
inline const std::vector<std::uint8_t> JackTestChange = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x64, 0xF7};

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
    // All items so far, once there are `count` of them or after JackPatience.
    std::vector<T> WaitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        changed.wait_until(lock, Clock::now() + JackPatience, [&] { return items.size() >= count; });
        return items;
    }
    // The items so far, taken out.
    std::vector<T> Take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(items, {});
    }
};

// The test's own JACK client on the far end, named after its role and this process (so copies
// of a test on one server never meet): an input "in" that keeps every message that reaches it
// and an output "out". It is a platform::JackClient as the program's own are, so that libjack
// never frees it, or the program's clients, under anyone's feet. Counts the cycles the server
// reports late.
class JackFarEnd {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit JackFarEnd(const std::string& role) : JackFarEnd(role, "qm-" + role + "-" + std::to_string(getpid())) {}
    // A client of exactly the name `name` (for a name the program must leave out of its lists).
    JackFarEnd(const std::string&, std::string name) : name_(std::move(name))
    {
        try {
            client_ = std::make_unique<platform::JackClient>(name_, true);
            in_ = client_->RegisterPort("in", JackPortIsInput);
            out_ = client_->RegisterPort("out", JackPortIsOutput);
            client_->WithHandle([this](jack_client_t* h) { jack_set_xrun_callback(h, &JackFarEnd::OnXRun, this); });
            client_->Activate(&JackFarEnd::Process, this, "test's far end");
        } catch (const platform::MidiError& e) {
            trouble_ = "the test's JACK client " + name_ + " did not start: " + e.what();
        }
    }
    JackFarEnd(const JackFarEnd&) = delete;
    JackFarEnd& operator=(const JackFarEnd&) = delete;

    // Why the far end cannot be used, or empty.
    const std::string& Trouble() const { return trouble_; }
    std::string InPort() const { return name_ + ":in"; }
    std::string OutPort() const { return name_ + ":out"; }

    // Opens the transport's instrument input and output on these ports; false when the
    // transport does not list them.
    bool Connect(TMidiTransport& transport)
    {
        const int in = IndexOf(transport.InputNames(), OutPort());
        const int out = IndexOf(transport.OutputNames(), InPort());
        if (!trouble_.empty() || in < 0 || out < 0) return false;
        transport.OpenMidiPorts(in, out, -1);
        return true;
    }
    // Goes out at the next cycle; messages keep their order.
    void Send(const Bytes& message) { SendTogether({message}); }
    // Go out together, as events of one cycle.
    void SendTogether(const std::vector<Bytes>& messages)
    {
        std::lock_guard lock(sendMutex_);
        outgoing_.insert(outgoing_.end(), messages.begin(), messages.end());
    }
    // Runs `use` with the far end's client while it is open (platform::JackClient::WithHandle).
    bool WithHandle(const std::function<void(jack_client_t*)>& use) { return client_ && client_->WithHandle(use); }
    // The full names of the ports connected to the port `port` (of any client).
    std::vector<std::string> ConnectionsOf(const std::string& port)
    {
        std::vector<std::string> names;
        WithHandle([&](jack_client_t* h) {
            const jack_port_t* of = jack_port_by_name(h, port.c_str());
            const char** ports = of ? jack_port_get_all_connections(h, of) : nullptr;
            for (const char** name = ports; name && *name; ++name) names.emplace_back(*name);
            jack_free(ports);
        });
        return names;
    }
    // Connects `from` to `to` (a patchbay's wire; one of them a port of this far end's) and waits
    // until the connection is in the graph the process cycles read, and two of this far end's
    // cycles have run with it: jack_connect returns before then, and a message sent meanwhile
    // does not cross it. False, saying why in Trouble(), when JACK would not connect them or the
    // graph did not show it within JackPatience.
    bool Wire(const std::string& from, const std::string& to) { return Rewire(from, to, true); }
    // Takes such a connection away and waits likewise until the cycles run without it.
    bool Unwire(const std::string& from, const std::string& to) { return Rewire(from, to, false); }
    // Cycles the far end has run so far.
    std::uint64_t Cycles() const { return cycles_.load(); }
    // Waits until the far end has run `count` more cycles (at most JackPatience); false if not.
    bool WaitCycles(std::uint64_t count) const
    {
        const std::uint64_t until = Cycles() + count;
        const auto deadline = Clock::now() + JackPatience;
        while (Cycles() < until && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return Cycles() >= until;
    }
    // Cycles the server reported late so far: a cycle it gave up waiting for may repeat or
    // lose what crossed it.
    int XRuns() const { return xruns_.load(); }
    // Makes each process cycle last `length` more, as on a machine too busy to run it at once.
    void SlowCycles(std::chrono::milliseconds length) { slowness_.store(int(length.count())); }

    Mailbox<Bytes> Received;

private:
    bool Rewire(const std::string& from, const std::string& to, bool connect)
    {
        const bool mine = from == InPort() || from == OutPort();
        const std::string& own = mine ? from : to;
        const std::string& other = mine ? to : from;
        jack_port_t* port = own == InPort() ? in_ : own == OutPort() ? out_ : nullptr;
        const char* what = connect ? "wire" : "cut";
        if (!port) {
            trouble_ = std::string("the test's far end ") + name_ + " cannot " + what + " " + from + " -> " + to +
                       ": neither is its port";
            return false;
        }
        bool done = false;
        WithHandle([&](jack_client_t* h) {
            const int said =
                connect ? jack_connect(h, from.c_str(), to.c_str()) : jack_disconnect(h, from.c_str(), to.c_str());
            done = said == 0;
        });
        if (!done) {
            trouble_ = std::string("JACK would not ") + (connect ? "connect " : "disconnect ") + from + " -> " + to;
            return false;
        }
        // The graph the cycles read shows it once the server has switched to it at a cycle's start.
        auto shown = [&] {
            bool connected = false;
            WithHandle([&](jack_client_t*) { connected = jack_port_connected_to(port, other.c_str()) > 0; });
            return connected == connect;
        };
        if (!WaitFor(shown, JackPatience)) {
            trouble_ = std::string("the graph did not show the ") + what + " " + from + " -> " + to + " within " +
                       std::to_string(JackPatience.count()) + " s";
            return false;
        }
        // A cycle under way may have read its buffers before the switch.
        if (!WaitCycles(2)) {
            trouble_ = std::string("the far end ") + name_ + " ran no cycles after the " + what;
            return false;
        }
        return true;
    }

    static int Process(jack_nframes_t frames, void* self)
    {
        auto* end = static_cast<JackFarEnd*>(self);
        if (platform::JackClient::Visit visit{*end->client_}) {
            if (const int slow = end->slowness_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(slow));
            end->Exchange(frames);
            end->cycles_.fetch_add(1);
        }
        return 0;
    }
    void Exchange(jack_nframes_t frames)
    {
        void* in = jack_port_get_buffer(in_, frames);
        const std::uint32_t count = jack_midi_get_event_count(in);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) == 0) Received.Push(Bytes(event.buffer, event.buffer + event.size));
        }
        void* out = jack_port_get_buffer(out_, frames);
        jack_midi_clear_buffer(out);
        std::unique_lock lock(sendMutex_, std::try_to_lock);
        if (!lock) return; // the test is adding one: next cycle
        while (!outgoing_.empty()) {
            const Bytes& message = outgoing_.front();
            jack_midi_data_t* room = jack_midi_event_reserve(out, 0, message.size());
            if (!room) break;
            std::copy(message.begin(), message.end(), room);
            outgoing_.pop_front();
        }
    }
    static int OnXRun(void* self)
    {
        ++static_cast<JackFarEnd*>(self)->xruns_;
        return 0;
    }
    static int IndexOf(const std::vector<std::string>& names, const std::string& name)
    {
        auto it = std::find(names.begin(), names.end(), name);
        return it == names.end() ? -1 : int(it - names.begin());
    }

    std::string name_, trouble_;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    std::mutex sendMutex_;
    std::deque<Bytes> outgoing_;
    std::atomic<int> xruns_{0};
    std::atomic<int> slowness_{0}; // milliseconds
    std::atomic<std::uint64_t> cycles_{0};
    // Last: closed first, while what its process callback touches still stands.
    std::unique_ptr<platform::JackClient> client_;
};
