#pragma once
// The signals that ask the program to end: SIGTERM (the session ends, at logout or shutdown),
// SIGHUP (its terminal went away) and SIGINT (Ctrl+C in its terminal).
//
// While an EndSignals lives, the first of them calls `request(context)` inside the signal
// handler, on whichever thread the signal interrupted; the program then ends by its own road.
// So `request` may only do what a signal handler may: raise a lock-free atomic flag, write to a
// file descriptor. Any later one of them ends the process at once, by the signal's default
// action: a person or a session that asks twice does not wait for the closing. A signal that was
// ignored when the EndSignals was made (a program started with nohup) stays ignored. Destroying
// it puts back what the signals did before. One lives at a time.

namespace platform {

class EndSignals {
public:
    using Request = void (*)(void* context);

    EndSignals(Request request, void* context);
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;
};

} // namespace platform
