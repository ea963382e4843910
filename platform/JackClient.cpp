#include "platform/JackClient.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// How long opening a port waits for JACK to connect it: JACK does within a cycle or two.
constexpr auto ConnectPatience = std::chrono::seconds(2);

// How long a refused client waits before it asks once more: JACK refuses a name for a moment
// after a client of that name has gone, while the server still tidies up behind it.
constexpr auto RefusalPause = std::chrono::milliseconds(700);

// How long a close waits for a process callback or a send under way: they take microseconds; a
// thread the machine does not run for a while is given that while.
constexpr auto VisitPatience = std::chrono::seconds(5);

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

// What libjack said while one open ran, on the opening thread.
struct OpenWatch {
    // It freed every client the process held ("Jack server was closed but clients are still
    // allocated, cleanup...").
    bool freedAll = false;
    // The open failed before the client had a channel of its own that could break, so libjack's
    // flag is as it was ("Cannot connect to the server").
    bool failedEarly = false;
};
thread_local OpenWatch* watching = nullptr;

bool Says(const char* message, const char* text) { return std::strstr(message, text) != nullptr; }

} // namespace

// Every client of the process, and what may have happened to them behind the program's back.
struct JackGate {
    static std::mutex& Lock()
    {
        static std::mutex lock;
        return lock;
    }
    static std::vector<JackClient*>& Clients()
    {
        static std::vector<JackClient*> clients;
        return clients;
    }
    // libjack's flag may be down: its next open would free every client the process holds.
    static std::atomic<bool>& Suspect()
    {
        static std::atomic<bool> suspect{false};
        return suspect;
    }

    static std::atomic<int>& Freed()
    {
        static std::atomic<int> freed{0};
        return freed;
    }

    static std::atomic<int>& RunOut()
    {
        static std::atomic<int> runOut{0};
        return runOut;
    }

    // libjack's messages go to standard error as they always did; those that tell of a client's
    // connection breaking (which is what lowers the flag) also raise Suspect, for the client
    // whose shutdown notice nobody could hear: one being opened.
    static void OnMessage(const char* message)
    {
        if (OpenWatch* watch = watching) {
            if (Says(message, "clients are still allocated")) watch->freedAll = true;
            if (Says(message, "Cannot connect to the server")) watch->failedEarly = true;
        }
        if (Says(message, "JackSocketClientChannel read fail") || Says(message, "JackSocketClientChannel write fail") ||
            Says(message, "JackClient::Execute error"))
            Suspect().store(true);
        std::fprintf(stderr, "%s\n", message);
    }

    // With the lock held: closes every client, before libjack would free them. Every process
    // thread is stopped before any client is closed: closing one unmaps its wake-up for the whole
    // process, which a client that feeds it signals at the end of each cycle as long as the
    // server keeps it in its graph.
    static void CloseAll()
    {
        Suspect().store(false);
        for (JackClient* client : Clients()) {
            client->gone_.store(true);
            if (client->handle_) client->StopLocked();
        }
        for (JackClient* client : Clients())
            if (client->handle_) client->ReleaseLocked();
    }

    // With the lock held: opens a client, or says why there is none.
    static jack_client_t* Open(const std::string& name, jack_options_t options)
    {
        static std::once_flag listening;
        std::call_once(listening, [] { jack_set_error_function(&JackGate::OnMessage); });
        for (int attempt = 1;; ++attempt) {
            if (Suspect().exchange(false)) CloseAll();
            OpenWatch watch;
            jack_status_t status{};
            watching = &watch;
            jack_client_t* client = jack_client_open(name.c_str(), options, &status);
            watching = nullptr;
            // A notice that came while the open ran: the clients are gone, and their handles with them.
            if (watch.freedAll)
                for (JackClient* held : Clients()) {
                    held->Abandon();
                    Freed().fetch_add(1);
                }
            if (client) return client;
            const bool serverMissing = status & JackServerFailed;
            if (!serverMissing && !watch.failedEarly) Suspect().store(true);
            if (serverMissing) throw MidiError("The JACK server is not running.");
            // A server of another version or a broken shared memory does not mend itself in a moment.
            const bool lasting = status & (JackVersionError | JackShmFailure | JackInvalidOption);
            if (attempt == 2 || lasting)
                throw MidiError("JACK refused the client \"" + name + "\": " + RefusalWords(status) + ".");
            Lock().unlock();
            std::this_thread::sleep_for(RefusalPause);
            Lock().lock();
        }
    }
};

JackClient::JackClient(const std::string& name, bool exactName)
{
    std::lock_guard lock(JackGate::Lock());
    handle_ = JackGate::Open(name, jack_options_t(JackNoStartServer | (exactName ? JackUseExactName : 0)));
    name_ = jack_get_client_name(handle_);
    jack_on_info_shutdown(handle_, &JackClient::OnShutdown, this);
    jack_set_xrun_callback(handle_, &JackClient::OnXRun, this);
    JackGate::Clients().push_back(this);
}

JackClient::~JackClient()
{
    std::lock_guard lock(JackGate::Lock());
    CloseLocked();
    std::erase(JackGate::Clients(), this);
}

bool JackClient::WithHandle(const std::function<void(jack_client_t*)>& use)
{
    std::lock_guard lock(JackGate::Lock());
    if (!handle_) return false;
    use(handle_);
    return true;
}

jack_port_t* JackClient::RegisterPort(const char* name, unsigned long flags)
{
    jack_port_t* port = nullptr;
    WithHandle([&](jack_client_t* h) { port = jack_port_register(h, name, JACK_DEFAULT_MIDI_TYPE, flags, 0); });
    if (!port) throw MidiError(std::string("JACK would not make the port \"") + name + "\".");
    return port;
}

void JackClient::Activate(JackProcessCallback process, void* arg, const char* what)
{
    bool started = false;
    WithHandle([&](jack_client_t* h) {
        started = jack_set_process_callback(h, process, arg) == 0 && jack_activate(h) == 0;
        active_ = started;
    });
    if (!started) throw MidiError(std::string("JACK would not start the ") + what + ".");
}

bool JackClient::Connect(const std::string& from, const std::string& to, jack_port_t* port)
{
    bool connected = false;
    WithHandle([&](jack_client_t* h) { connected = jack_connect(h, from.c_str(), to.c_str()) == 0; });
    if (!connected) return false;
    const auto deadline = Clock::now() + ConnectPatience;
    for (;;) {
        bool shown = false;
        if (!WithHandle([&](jack_client_t*) { shown = jack_port_connected(port) > 0; }) || Gone()) return false;
        if (shown) break;
        if (Clock::now() > deadline) {
            JackGate::RunOut().fetch_add(1);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    WaitCycles(2, deadline);
    return true;
}

bool JackClient::WaitCycles(std::uint64_t count, Clock::time_point deadline) const
{
    const std::uint64_t until = cycles_.load() + count;
    return WaitUntil([&] { return cycles_.load() >= until; }, deadline);
}

bool JackClient::WaitUntil(const std::function<bool()>& done, Clock::time_point deadline) const
{
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= deadline) {
            JackGate::RunOut().fetch_add(1);
            return false;
        }
        if (Gone()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::vector<std::string> JackClient::MidiPorts(unsigned long flags)
{
    std::vector<std::string> names;
    WithHandle([&](jack_client_t* h) {
        const char** ports = jack_get_ports(h, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
        if (!ports) return;
        for (const char** port = ports; *port; ++port) names.emplace_back(*port);
        jack_free(ports);
    });
    return names;
}

std::string JackClient::PortName(jack_port_t* port)
{
    std::string name;
    WithHandle([&](jack_client_t*) { name = jack_port_name(port); });
    return name;
}

void JackClient::Close()
{
    std::lock_guard lock(JackGate::Lock());
    CloseLocked();
}

void JackClient::CloseLocked()
{
    if (!handle_) return;
    // Taken out of the graph by the server, the client is fed by nobody any more. One the server
    // may still run (libjack's flag is down, so the deactivation never reached it) may be fed by
    // other clients of the process: all are stopped and closed.
    if (StopLocked())
        ReleaseLocked();
    else
        JackGate::CloseAll();
}

bool JackClient::StopLocked()
{
    closing_.store(true);
    const auto deadline = Clock::now() + VisitPatience;
    while (visitors_.load() > 0 && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (visitors_.load() > 0) JackGate::RunOut().fetch_add(1);
    // Deactivating ends the process thread with an asynchronous cancel, which may strike anywhere;
    // no callback runs now, and one that starts finds the client closing and returns at once. It
    // ends the thread also when it cannot reach the server.
    const bool left = !active_ || jack_deactivate(handle_) == 0;
    active_ = false;
    return left;
}

void JackClient::ReleaseLocked()
{
    jack_client_close(handle_); // takes the client's ports and its wake-up with it
    handle_ = nullptr;
}

void JackClient::Abandon()
{
    // libjack has closed it itself, its threads with it; a visitor it cancelled never leaves, so
    // none is waited for.
    closing_.store(true);
    gone_.store(true);
    active_ = false;
    handle_ = nullptr;
}

int JackClient::FreedByLibjack() { return JackGate::Freed().load(); }

int JackClient::WaitsRunOut() { return JackGate::RunOut().load(); }

int JackClient::OnXRun(void* self)
{
    static_cast<JackClient*>(self)->xruns_.fetch_add(1);
    return 0;
}

void JackClient::NoteCycle(jack_nframes_t frames)
{
    const jack_nframes_t start = jack_last_frame_time(handle_);
    if (cycleSeen_ && jack_nframes_t(start - lastCycleStart_) != frames) offBeat_.fetch_add(1);
    lastCycleStart_ = start;
    cycleSeen_ = true;
}

void JackClient::OnShutdown(jack_status_t, const char*, void* self)
{
    static_cast<JackClient*>(self)->gone_.store(true);
    JackGate::Suspect().store(true);
}

JackClient::Visit::Visit(JackClient& client, Kind kind) : client_(client), kind_(kind)
{
    client_.visitors_.fetch_add(1);
    open_ = !client_.closing_.load();
    if (!open_) client_.visitors_.fetch_sub(1);
}

JackClient::Visit::~Visit()
{
    if (!open_) return;
    if (kind_ == Cycle) client_.cycles_.fetch_add(1);
    client_.visitors_.fetch_sub(1);
}

} // namespace platform
