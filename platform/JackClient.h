// A client of a JACK server: every client of the process, the program's and a test's own, is
// opened and closed here, so that none is ever used after libjack may have freed it.
//
// Why. libjack (1.9) keeps one flag for the whole process that says whether "the server" runs.
// Any client of the process that loses its connection clears it: its server went, the server
// dropped it, or a client being opened lost its channel mid-way. The next jack_client_open of the
// process then closes and frees every client the process still holds, whoever owns it, and
// replaces the library's shared state under the ports of all of them.
//
// A client's process thread, at the end of each cycle, wakes every client it feeds through a
// futex mapped from /dev/shm, one table of them for the whole process. Closing a client unmaps
// its wake-up for the whole process; a client of the process that still feeds it and runs a cycle
// then writes to unmapped memory, and the program dies. The server takes a client out of its
// graph when it is deactivated, and jack_deactivate returns once the cycles run without it; with
// libjack's flag down the call never reaches the server (it still ends the process thread), which
// keeps the client in its graph until it finds the client's connection closed: a cycle under way
// then still wakes it.
//
// The rule, kept here and nowhere else:
// - After any sign that the flag may be down (a client's shutdown notice, a message of libjack
//   saying a client's connection broke, an open that failed past its first step), every client
//   is closed before the next open; their owners find them gone, as when their server went.
// - Closing them all, every client is deactivated (its process thread stopped) before any is
//   closed.
// - One client is closed alone only once the server took it out of its graph (or it was never
//   active). Where its deactivation failed (the flag is down), every client is closed as above.
// - An open during which libjack freed the clients anyway (a notice that came while the open
//   ran) leaves them abandoned: their handles are dropped untouched.
// - An owner touches the handle only through WithHandle (under the one lock that opens and
//   closes), and its ports from a JACK or sending thread only inside a Visit, which holds the
//   client open until it ends.
//
// What no rule here avoids, libjack's own: an open while the process holds no client (the first,
// a list's, the first after the server went) sets libjack's shared state up anew and starts its
// message thread, waiting a thousand naps of a millisecond for the thread to report. One the
// machine has not run by then is freed while it starts ("JackMessageBuffer::Create cannot start
// thread", "Cannot create message buffer"); the open goes on and succeeds, and the thread, run
// later, reads its freed self and the process dies of SIGSEGV inside libjack. Only a machine too
// busy to run a new thread within a second meets it (once in many test runs at a load of 30 on 8
// cores). A thread that cannot be made at all (a limit on processes) costs no more than itself:
// libjack goes on without its message thread, and a client whose own threads cannot start fails
// to open or to start, saying so.
#pragma once

#include "platform/Midi.h"

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class JackClient {
public:
    // Opens a client of the default server (JACK_DEFAULT_SERVER) under `name` (JACK adds "-01"
    // and so on for a second client of the name, unless `exactName`). A refusal is asked again
    // once after a pause unless it cannot pass so soon. Throws MidiError saying why there is none.
    explicit JackClient(const std::string& name, bool exactName = false);
    ~JackClient();
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    // The client reaches nobody any more: its server went, or it was closed because libjack may
    // free it (told to a person as when the server went).
    bool Gone() const { return gone_.load(); }
    // The name the server gave the client.
    const std::string& Name() const { return name_; }
    // Cycles that ran late or were skipped since the client was opened: the server's xruns (every
    // client hears of every one, whoever was late) and what the client's own process callback
    // found (NoteCycle). A message crossing such a cycle may have been lost or repeated: in
    // JACK's asynchronous mode, a reader late in a cycle finds the next cycle's buffer in place of
    // the one it missed.
    std::uint64_t LostCycles() const { return xruns_.load() + offBeat_.load(); }
    // For the process callback, inside its Visit, at each cycle of `frames`: a cycle that does not
    // start one period after the last (one skipped, or the last one run so late that the server
    // had begun the next) is counted among the LostCycles.
    void NoteCycle(jack_nframes_t frames);

    // Runs `use` with the open client's handle, under the lock that opens and closes clients;
    // false, without running it, once the client is closed.
    bool WithHandle(const std::function<void(jack_client_t*)>& use);

    // A MIDI port of the client, made before Activate (libjack walks an active client's port list
    // on another thread without a lock).
    jack_port_t* RegisterPort(const char* name, unsigned long flags);
    // Starts the process callback; once it runs, the client's ports stay as they are.
    void Activate(JackProcessCallback process, void* arg, const char* what);
    // Connects `from` to `to`, one of them the client's `port`, and waits until what the port
    // carries crosses the connection: jack_connect returns before the graph that the process
    // cycles read holds it. So the wait lasts until the graph shows the connection and the
    // client has run two cycles more. False when JACK would not connect them, or did not within
    // two seconds.
    bool Connect(const std::string& from, const std::string& to, jack_port_t* port);
    // Waits until the process callback has run `count` more times, or until `deadline`; false
    // when they did not run by then. A wait that reaches its deadline counts in WaitsRunOut, also
    // where the client is gone: one cut short because the client went never does.
    bool WaitCycles(std::uint64_t count, std::chrono::steady_clock::time_point deadline) const;
    // Waits until `done` holds, the client is gone or `deadline` has come, as WaitCycles does;
    // whether `done` holds.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline) const;
    // The full names of the server's MIDI ports with `flags`; empty once the client is closed.
    std::vector<std::string> MidiPorts(unsigned long flags);
    // The full name of one of the client's ports.
    std::string PortName(jack_port_t* port);

    // After this the process callback runs no more, and the client's ports are gone. Where the
    // server did not take the client out of its graph, every client of the process is closed.
    void Close();

    // How many clients of the process libjack has freed itself so far (each then dropped
    // untouched): none, but where a shutdown notice came while an open ran.
    static int FreedByLibjack();
    // How many waits of the process's clients ran out their patience while the server was there
    // (a connection to show in the graph, process cycles to run, a close waiting for a visit to
    // leave): each costs its whole patience, seconds where a running server takes a few cycles.
    static int WaitsRunOut();

    // A process callback's stay, or a send's on any thread: while it is open, the client is
    // neither closed nor freed, and its ports may be used. Counts the process cycles.
    class Visit {
    public:
        enum Kind { Cycle, Send };
        explicit Visit(JackClient& client, Kind kind = Cycle);
        ~Visit();
        Visit(const Visit&) = delete;
        Visit& operator=(const Visit&) = delete;
        explicit operator bool() const { return open_; }

    private:
        JackClient& client_;
        Kind kind_;
        bool open_;
    };

private:
    friend struct JackGate;
    // With the gate's lock held. CloseLocked closes the client (and every other, where the server
    // may still run it in its graph); StopLocked ends its process callback and thread, true when
    // the client is out of the server's graph; ReleaseLocked closes a stopped client.
    void CloseLocked();
    bool StopLocked();
    void ReleaseLocked();
    void Abandon();
    static void OnShutdown(jack_status_t, const char*, void* self);
    static int OnXRun(void* self);

    jack_client_t* handle_ = nullptr;
    std::string name_;
    bool active_ = false;
    std::atomic<bool> gone_{false};
    std::atomic<std::uint64_t> cycles_{0};
    std::atomic<std::uint64_t> xruns_{0}, offBeat_{0};
    jack_nframes_t lastCycleStart_ = 0; // the process thread's
    bool cycleSeen_ = false;            // the process thread's
    // Sequentially consistent: a visit counts itself in before it looks at `closing_`, a close
    // raises `closing_` before it looks at `visitors_`, so one of them sees the other.
    std::atomic<bool> closing_{false};
    std::atomic<int> visitors_{0};
};

} // namespace platform
