// Tests over real MIDI ports of a JACK server: scripts/test starts one with the dummy driver and
// names it in QM_JACK_SERVER. The test puts ports of its own on the far end of the program's.
#pragma once

#include "core/transport/MidiTransport.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using Clock = std::chrono::steady_clock;

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

// How long a test waits for anything to cross the server: far longer than a loaded machine
// takes, short enough that a message that never comes fails the test in seconds.
constexpr auto JackPatience = std::chrono::seconds(5);

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
// and an output "out". Its ports are made before the client is activated, and the client is
// deactivated only once its process callback runs no more, as the program's own are (libjack
// walks an active client's port list on another thread without a lock, and deactivating
// cancels the process thread wherever it is). Counts the cycles the server reports late.
class JackFarEnd {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit JackFarEnd(const std::string& role) : name_("qm-" + role + "-" + std::to_string(getpid()))
    {
        client_ = jack_client_open(name_.c_str(), jack_options_t(JackNoStartServer | JackUseExactName), nullptr);
        if (!client_) return;
        in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(client_, &JackFarEnd::Process, this);
        jack_set_xrun_callback(client_, &JackFarEnd::OnXRun, this);
        active_ = in_ && out_ && jack_activate(client_) == 0;
    }
    ~JackFarEnd()
    {
        if (!client_) return;
        if (active_) {
            closing_.store(true);
            while (visiting_.load()) std::this_thread::sleep_for(std::chrono::microseconds(200));
            jack_deactivate(client_);
        }
        jack_client_close(client_);
    }
    JackFarEnd(const JackFarEnd&) = delete;
    JackFarEnd& operator=(const JackFarEnd&) = delete;

    // Why the far end cannot be used, or empty.
    std::string Trouble() const
    {
        return active_ ? std::string() : "the test's JACK client " + name_ + " did not start";
    }
    std::string InPort() const { return name_ + ":in"; }
    std::string OutPort() const { return name_ + ":out"; }

    // Opens the transport's instrument input and output on these ports; false when the
    // transport does not list them.
    bool Connect(TMidiTransport& transport)
    {
        const int in = IndexOf(transport.InputNames(), OutPort());
        const int out = IndexOf(transport.OutputNames(), InPort());
        if (!active_ || in < 0 || out < 0) return false;
        transport.OpenMidiPorts(in, out, -1);
        return true;
    }
    // Goes out at the next cycle; messages keep their order.
    void Send(const Bytes& message)
    {
        std::lock_guard lock(sendMutex_);
        outgoing_.push_back(message);
    }
    // Cycles the server reported late so far: a cycle it gave up waiting for may repeat or
    // lose what crossed it.
    int XRuns() const { return xruns_.load(); }

    Mailbox<Bytes> Received;

private:
    static int Process(jack_nframes_t frames, void* self)
    {
        auto* end = static_cast<JackFarEnd*>(self);
        end->visiting_.store(true);
        if (!end->closing_.load()) end->Exchange(frames);
        end->visiting_.store(false);
        return 0;
    }
    void Exchange(jack_nframes_t frames)
    {
        JackFarEnd* end = this;
        void* in = jack_port_get_buffer(end->in_, frames);
        const std::uint32_t count = jack_midi_get_event_count(in);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) == 0)
                end->Received.Push(Bytes(event.buffer, event.buffer + event.size));
        }
        void* out = jack_port_get_buffer(end->out_, frames);
        jack_midi_clear_buffer(out);
        std::unique_lock lock(end->sendMutex_, std::try_to_lock);
        if (!lock) return; // the test is adding one: next cycle
        while (!end->outgoing_.empty()) {
            const Bytes& message = end->outgoing_.front();
            jack_midi_data_t* room = jack_midi_event_reserve(out, 0, message.size());
            if (!room) break;
            std::copy(message.begin(), message.end(), room);
            end->outgoing_.pop_front();
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

    std::string name_;
    jack_client_t* client_ = nullptr;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    bool active_ = false;
    std::mutex sendMutex_;
    std::deque<Bytes> outgoing_;
    std::atomic<int> xruns_{0};
    std::atomic<bool> closing_{false}, visiting_{false};
};
