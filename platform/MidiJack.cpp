// MIDI over JACK, through JACK's own library: one client for each open port.
//
// Port lists. libjack (1.9.21) walks a client's list of its ports on the client's notification
// thread, when the server asks for latencies (it does after any client changes the graph),
// without a lock; jack_port_register and jack_port_unregister change that list on the caller's
// thread. A port registered or unregistered while its client is active can so crash the whole
// program on another client's connection. The server notifies active clients only, so here a
// port is registered before its client is activated, the client is deactivated before it is
// closed, and no port is unregistered on its own. Listing uses a client that is never activated.
//
// Threads. A port's process callback runs on JACK's process thread until jack_deactivate
// returns; everything it touches lives until after that. jack_deactivate ends that thread with
// an asynchronous pthread_cancel, which may strike anywhere, inside a callback too, when a
// late cycle still runs it (on a loaded machine). So a client is deactivated only once no
// callback runs and none will start: a callback that finds its client closing returns at once.
//
// The world around a port. JACK tells a client when its server has gone (killed, stopped): from
// then on the port's sends fail at once, saying so, and nothing more is queued for a server that
// will never take it. A destination that has gone (its client ended, or was restarted and came
// back as a new client) leaves the output unconnected: its sends fail as for a device that is not
// present, until the ports are chosen again. A client that JACK refuses is tried once more after
// a short pause, unless the refusal cannot pass so soon; then the caller is told why.

#include "platform/Midi.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// What a refusal's status says, in words.
std::string RefusalWords(jack_status_t status)
{
    struct Word {
        int bit;
        const char* text;
    };
    static constexpr Word words[] = {
        {JackInvalidOption, "an option the server does not know"},
        {JackNameNotUnique, "the name is taken"},
        {JackServerError, "the server could not set the client up"},
        {JackNoSuchClient, "no such client"},
        {JackLoadFailure, "an internal client could not be loaded"},
        {JackInitFailure, "the client could not be initialized"},
        {JackShmFailure, "JACK's shared memory cannot be reached"},
        {JackVersionError, "the server speaks another protocol version"},
        {JackBackendError, "the server's back end failed"},
        {JackClientZombie, "the client was left for dead"},
    };
    std::string text;
    for (const Word& word : words)
        if (status & word.bit) text += (text.empty() ? "" : "; ") + std::string(word.text);
    char code[16];
    std::snprintf(code, sizeof code, "0x%x", unsigned(status));
    return (text.empty() ? std::string("no reason given") : text) + " (status " + code + ")";
}

// How long opening a port waits for JACK to connect it: JACK does within a cycle or two.
constexpr auto ConnectPatience = std::chrono::seconds(2);

// How long a refused client waits before it asks once more: JACK refuses a name for a moment
// after a client of that name has gone, while the server still tidies up behind it.
constexpr auto RefusalPause = std::chrono::milliseconds(700);

// A client of the server, or MidiError saying why there is none.
jack_client_t* OpenClient(const std::string& name)
{
    for (int attempt = 1;; ++attempt) {
        jack_status_t status{};
        if (jack_client_t* client = jack_client_open(name.c_str(), JackNoStartServer, &status)) return client;
        if (status & JackServerFailed) throw MidiError("The JACK server is not running.");
        // A server of another version or a broken shared memory does not mend itself in a moment.
        const bool lasting = status & (JackVersionError | JackShmFailure | JackInvalidOption);
        if (attempt == 2 || lasting)
            throw MidiError("JACK refused the client \"" + name + "\": " + RefusalWords(status) + ".");
        std::this_thread::sleep_for(RefusalPause);
    }
}

// An open client, not yet active; closed with the object. Its process callback runs inside a
// Visit, which finds out whether the client is closing.
class JackClient {
public:
    explicit JackClient(const std::string& name)
    {
        std::lock_guard lock(ClientsLock());
        CloseClientsOfAGoneServer();
        handle_ = OpenClient(name);
        jack_on_info_shutdown(handle_, &JackClient::OnShutdown, this);
        Clients().push_back(this);
    }
    ~JackClient()
    {
        Close();
        std::lock_guard lock(ClientsLock());
        std::erase(Clients(), this);
    }
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    jack_client_t* Handle() const { return handle_; }
    // The server has gone: the client is dead and nothing it holds reaches anyone any more.
    bool ServerGone() const { return serverGone_.load(); }

    // Starts the process callback; once it runs, the client's ports stay as they are.
    void Activate(JackProcessCallback process, void* arg, const char* what)
    {
        if (jack_set_process_callback(handle_, process, arg) != 0 || jack_activate(handle_) != 0)
            throw MidiError(std::string("JACK would not start the ") + what + ".");
        active_ = true;
    }
    // After this the process callback runs no more, and the client's ports are gone.
    void Close()
    {
        std::lock_guard lock(ClientsLock());
        CloseLocked();
    }

    jack_port_t* RegisterPort(const char* name, unsigned long flags)
    {
        jack_port_t* port = jack_port_register(handle_, name, JACK_DEFAULT_MIDI_TYPE, flags, 0);
        if (!port) throw MidiError(std::string("JACK would not make the port \"") + name + "\".");
        return port;
    }

    // Connects `from` to `to`, one of them the client's `port`, and waits until what the port
    // carries crosses the connection: jack_connect returns before the graph that the process
    // cycles read holds it, and what a port carries before then reaches nobody. So the wait lasts
    // until the graph shows the connection and the client has run two cycles more. False when
    // JACK would not connect them, or did not within ConnectPatience.
    bool Connect(const std::string& from, const std::string& to, jack_port_t* port)
    {
        if (jack_connect(handle_, from.c_str(), to.c_str()) != 0) return false;
        const auto deadline = Clock::now() + ConnectPatience;
        while (jack_port_connected(port) <= 0) {
            if (Clock::now() > deadline || ServerGone()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        WaitCycles(2, deadline);
        return true;
    }
    // Waits until the process callback has run `count` more times, or until `deadline`.
    void WaitCycles(std::uint64_t count, Clock::time_point deadline) const
    {
        const std::uint64_t until = cycles_.load() + count;
        while (cycles_.load() < until && Clock::now() < deadline && !ServerGone())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // The process callback's part, on JACK's process thread: true when it may go on, until
    // the Visit ends; counts the client's cycles.
    class Visit {
    public:
        explicit Visit(JackClient& client) : client_(client)
        {
            client_.visiting_.store(true);
            open_ = !client_.closing_.load();
            if (!open_) client_.visiting_.store(false);
        }
        ~Visit()
        {
            if (!open_) return;
            client_.cycles_.fetch_add(1);
            client_.visiting_.store(false);
        }
        explicit operator bool() const { return open_; }

    private:
        JackClient& client_;
        bool open_;
    };

private:
    // Every client of the program's that is open. libjack, opening a client after its server
    // went, frees every client the process still holds, under their owners' feet; so before a new
    // client is opened, those of a server that has gone are closed (their owners find them closed
    // and their server gone, and touch them no more). The lock also keeps the owner's close and
    // this one apart.
    static std::mutex& ClientsLock()
    {
        static std::mutex lock;
        return lock;
    }
    static std::vector<JackClient*>& Clients()
    {
        static std::vector<JackClient*> clients;
        return clients;
    }
    static void CloseClientsOfAGoneServer()
    {
        for (JackClient* client : Clients())
            if (client->ServerGone()) client->CloseLocked();
    }

    void CloseLocked()
    {
        if (!handle_) return;
        if (active_) {
            closing_.store(true);
            // A callback takes microseconds; a thread the machine does not run for a while
            // is given that while.
            const auto deadline = Clock::now() + std::chrono::seconds(5);
            while (visiting_.load() && Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            jack_deactivate(handle_);
        }
        active_ = false;
        jack_client_close(handle_); // takes the client's ports with it
        handle_ = nullptr;
    }

    // JACK's thread, when the server has gone.
    static void OnShutdown(jack_status_t, const char*, void* self)
    {
        static_cast<JackClient*>(self)->serverGone_.store(true);
    }

    jack_client_t* handle_ = nullptr;
    bool active_ = false;
    std::atomic<bool> serverGone_{false};
    std::atomic<std::uint64_t> cycles_{0};
    // Sequentially consistent: the callback raises `visiting_` before it looks at `closing_`,
    // Close raises `closing_` before it looks at `visiting_`, so one of them sees the other.
    std::atomic<bool> closing_{false};
    std::atomic<bool> visiting_{false};
};

// The full names of the MIDI ports with `flags` (JackPortIsOutput: what the program can read
// from), leaving out the program's own.
std::vector<std::string> ListPorts(jack_client_t* client, unsigned long flags, const std::string& clientName)
{
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    if (!ports) return names;
    for (const char** port = ports; *port; ++port)
        if (!IsOwnPort(*port, clientName)) names.emplace_back(*port);
    jack_free(ports);
    return names;
}

class JackInput final : public MidiInput {
public:
    JackInput(const std::string& clientName, const std::string& source, MidiInputCallbacks callbacks)
        : reader_(std::move(callbacks)), joined_(MaxInputMessageSize + 1), client_(clientName)
    {
        port_ = client_.RegisterPort("MIDI In", JackPortIsInput);
        opened_ = jack_get_time();
        client_.Activate(&JackInput::Process, this, "MIDI input");
        if (!client_.Connect(source, jack_port_name(port_), port_))
            throw MidiError("The MIDI input device \"" + NameWithoutClientPort(source) + "\" is not present.");
    }
    ~JackInput() override { client_.Close(); }

private:
    // JACK's process thread.
    static int Process(jack_nframes_t frames, void* self)
    {
        auto* input = static_cast<JackInput*>(self);
        if (JackClient::Visit visit{input->client_}) input->Receive(jack_port_get_buffer(input->port_, frames));
        return 0;
    }
    void Receive(void* buffer)
    {
        const double seconds = double(jack_get_time() - opened_) / 1e6;
        const std::uint32_t count = jack_midi_get_event_count(buffer);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) == 0 && event.size > 0) Take(event.buffer, event.size, seconds);
        }
    }

    // One event. A system-exclusive message may come cut into several events: one left open at
    // an event's end goes on with the data bytes of the next ones until F7 (what does not fit is
    // left out, the F7 kept). Any other status byte ends it, as on a cable: the unfinished message
    // is dropped and the status read afresh. Real-time bytes pass at once wherever they stand.
    void Take(const std::uint8_t* data, std::size_t size, double seconds)
    {
        std::size_t i = 0;
        if (joining_) {
            for (; i < size && joining_; ++i) {
                const std::uint8_t byte = data[i];
                if (byte >= 0xF8) {
                    reader_.Deliver(&byte, 1, seconds);
                } else if (byte < 0x80) {
                    if (joinedSize_ < MaxInputMessageSize) joined_[joinedSize_++] = byte;
                } else {
                    joining_ = false;
                    if (byte != 0xF7) break; // read afresh below
                    joined_[joinedSize_++] = byte;
                    reader_.Deliver(joined_.data(), joinedSize_, seconds);
                }
            }
            if (joining_ || i == size) return;
        }
        const std::size_t open = OpenSysexStart(data + i, size - i);
        reader_.Deliver(data + i, open, seconds);
        if (i + open == size) return;
        joining_ = true;
        joinedSize_ = 0;
        joined_[joinedSize_++] = data[i + open]; // its F0
        Take(data + i + open + 1, size - i - open - 1, seconds);
    }

    // Where the system-exclusive message that an event leaves open begins (an F0 with no other
    // status after it but real-time ones), or `size` when the event leaves none open.
    static std::size_t OpenSysexStart(const std::uint8_t* data, std::size_t size)
    {
        for (std::size_t i = size; i-- > 0;) {
            if (data[i] == 0xF0) return i;
            if (data[i] >= 0x80 && data[i] < 0xF8) break;
        }
        return size;
    }

    MidiPacketReader reader_;
    std::vector<std::uint8_t> joined_; // the system-exclusive message left open, F0 first
    std::size_t joinedSize_ = 0;
    bool joining_ = false;
    jack_time_t opened_ = 0;
    jack_port_t* port_ = nullptr;
    JackClient client_; // last: closed first, while the rest still stands
};

class JackOutput final : public MidiOutput {
public:
    JackOutput(const std::string& clientName, const std::string& destination)
        : destination_(NameWithoutClientPort(destination)), ring_(jack_ringbuffer_create(RingSize)), client_(clientName)
    {
        if (!ring_) throw MidiError("There is no memory for a JACK MIDI output.");
        port_ = client_.RegisterPort("MIDI Out", JackPortIsOutput);
        client_.Activate(&JackOutput::Process, this, "MIDI output");
        if (!client_.Connect(jack_port_name(port_), destination, port_))
            throw MidiError("The MIDI output device \"" + destination_ + "\" is not present.");
    }
    ~JackOutput() override
    {
        // What was sent last (the notes switched off at closing) still goes out: the process
        // callback is given a little time to hand it to JACK, and one cycle more to deliver it.
        // A server that has gone takes nothing more.
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        auto waiting = [&] { return !client_.ServerGone() && Clock::now() < deadline; };
        while (jack_ringbuffer_read_space(ring_.get()) > 0 && waiting())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        client_.WaitCycles(2, deadline);
        client_.Close();
    }

    std::size_t MaxMessageSize() const override { return JackMaxMessageSize; }

protected:
    // One message into the ring the process callback empties; never waits or allocates.
    MidiSendResult SendMessage(const std::uint8_t* data, std::size_t length) override
    {
        if (client_.ServerGone()) return Fail(Failure::ServerGone, MidiSendResult::Failed);
        // The destination's client has gone (and may have come back as a new client, which JACK
        // does not connect again): the message would reach nobody.
        if (jack_port_connected(port_) <= 0) return Fail(Failure::DestinationGone, MidiSendResult::Failed);
        const std::uint32_t size = static_cast<std::uint32_t>(length); // at most JackMaxMessageSize (SendLong)
        if (jack_ringbuffer_write_space(ring_.get()) < sizeof size + length)
            return Fail(Failure::Full, MidiSendResult::Full);
        jack_ringbuffer_write(ring_.get(), reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(ring_.get(), reinterpret_cast<const char*>(data), length);
        return MidiSendResult::Sent;
    }
    std::string LastError() override
    {
        switch (failure_.exchange(Failure::None)) {
        case Failure::None: return {};
        case Failure::Full: return "The JACK server takes nothing from the MIDI output.";
        case Failure::ServerGone:
            return "The JACK server has stopped: nothing reaches the MIDI output device \"" + destination_ +
                   "\". Start the JACK server again, then choose the MIDI devices again with Options > MIDI "
                   "Interface Setting.";
        case Failure::DestinationGone: return "The MIDI output device \"" + destination_ + "\" is not present.";
        }
        return {};
    }

private:
    // The ring holds one message of JackMaxMessageSize bytes with its length (a ring of 2^n
    // bytes holds 2^n - 1).
    static constexpr std::size_t RingSize = 16384;
    static_assert(JackMaxMessageSize + sizeof(std::uint32_t) == RingSize - 1);

    // Why the last message was not sent; set by whichever thread sends, read by LastError.
    enum class Failure { None, Full, ServerGone, DestinationGone };
    MidiSendResult Fail(Failure failure, MidiSendResult result)
    {
        failure_.store(failure);
        return result;
    }

    // JACK's process thread: as many waiting messages as the cycle's buffer holds; the rest
    // waits for the next cycle.
    static int Process(jack_nframes_t frames, void* self)
    {
        auto* output = static_cast<JackOutput*>(self);
        JackClient::Visit visit{output->client_};
        if (!visit) return 0;
        void* buffer = jack_port_get_buffer(output->port_, frames);
        jack_midi_clear_buffer(buffer);
        std::uint32_t size = 0;
        while (jack_ringbuffer_peek(output->ring_.get(), reinterpret_cast<char*>(&size), sizeof size) == sizeof size &&
               jack_ringbuffer_read_space(output->ring_.get()) >= sizeof size + size) {
            jack_midi_data_t* room = jack_midi_event_reserve(buffer, 0, size);
            if (!room) break;
            jack_ringbuffer_read_advance(output->ring_.get(), sizeof size);
            jack_ringbuffer_read(output->ring_.get(), reinterpret_cast<char*>(room), size);
        }
        return 0;
    }

    struct FreeRing {
        void operator()(jack_ringbuffer_t* ring) const { jack_ringbuffer_free(ring); }
    };
    std::string destination_;                           // as shown
    std::unique_ptr<jack_ringbuffer_t, FreeRing> ring_; // freed after the client is closed
    jack_port_t* port_ = nullptr;
    std::atomic<Failure> failure_{Failure::None};
    JackClient client_; // last: closed first
};

class JackBackend final : public MidiBackend {
public:
    explicit JackBackend(std::string clientName) : clientName_(std::move(clientName)) {}

    std::vector<MidiPortName> Inputs() override { return List(JackPortIsOutput, inputs_); }
    std::vector<MidiPortName> Outputs() override { return List(JackPortIsInput, outputs_); }

    // The index counts the list this back end gave last, so the port opened is the one the
    // caller saw, whatever came or went since.
    std::unique_ptr<MidiInput> OpenInput(int index, MidiInputCallbacks callbacks) override
    {
        return std::make_unique<JackInput>(clientName_, Listed(index, JackPortIsOutput, inputs_, "input"),
                                           std::move(callbacks));
    }
    std::unique_ptr<MidiOutput> OpenOutput(int index) override
    {
        return std::make_unique<JackOutput>(clientName_, Listed(index, JackPortIsInput, outputs_, "output"));
    }

private:
    // A server that is not running or refuses the program is not an empty list: MidiError says
    // which.
    std::vector<MidiPortName> List(unsigned long flags, std::vector<MidiPortName>& listed)
    {
        listed.clear();
        JackClient client(clientName_); // never activated
        for (std::string& full : ListPorts(client.Handle(), flags, clientName_))
            listed.push_back({NameWithoutClientPort(full), std::move(full)});
        return listed;
    }
    std::string Listed(int index, unsigned long flags, std::vector<MidiPortName>& listed, const char* kind)
    {
        if (listed.empty()) List(flags, listed);
        return ListedPort(listed, index, kind).FullName;
    }

    std::string clientName_;
    std::vector<MidiPortName> inputs_, outputs_; // as last listed
};

} // namespace

std::unique_ptr<MidiBackend> CreateJackMidiBackend(const std::string& clientName)
{
    return std::make_unique<JackBackend>(clientName);
}

} // namespace platform
