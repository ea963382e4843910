#include "platform/EndSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <stdexcept>

namespace platform {

namespace {

constexpr int Ends[] = {SIGTERM, SIGHUP, SIGINT};
constexpr std::size_t EndCount = std::size(Ends);

// What the handler reads: lock-free atomics only.
static_assert(std::atomic<EndSignals::Request>::is_always_lock_free);
static_assert(std::atomic<void*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<EndSignals::Request> gRequest{nullptr};
std::atomic<void*> gContext{nullptr};
std::atomic<int> gReceived{0};

// UI thread only: whether one lives, and what each signal did before it.
bool gInstalled = false;
struct sigaction gPrevious[EndCount];
bool gCaught[EndCount];

extern "C" void OnEndSignal(int signal)
{
    const int savedErrno = errno;
    if (gReceived.fetch_add(1) == 0) {
        if (EndSignals::Request request = gRequest.load()) request(gContext.load());
    } else {
        // Asked again: the default action, once this handler has returned (the signal is held
        // back while it runs).
        struct sigaction fallBack {};
        fallBack.sa_handler = SIG_DFL;
        sigemptyset(&fallBack.sa_mask);
        sigaction(signal, &fallBack, nullptr);
        raise(signal);
    }
    errno = savedErrno;
}

} // namespace

EndSignals::EndSignals(Request request, void* context)
{
    if (gInstalled) throw std::logic_error("the end signals are caught already");
    gInstalled = true;
    gReceived = 0;
    gContext = context;
    gRequest = request;
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    // One handler at a time: a second signal waits for the first to be counted.
    sigemptyset(&action.sa_mask);
    for (int s : Ends) sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < EndCount; ++i) {
        sigaction(Ends[i], nullptr, &gPrevious[i]);
        gCaught[i] = gPrevious[i].sa_handler != SIG_IGN;
        if (gCaught[i]) sigaction(Ends[i], &action, nullptr);
    }
}

EndSignals::~EndSignals()
{
    // Put back first: a signal from now on does what it did before, never nothing.
    for (std::size_t i = 0; i < EndCount; ++i)
        if (gCaught[i]) sigaction(Ends[i], &gPrevious[i], nullptr);
    gRequest = nullptr;
    gContext = nullptr;
    gInstalled = false;
}

} // namespace platform
