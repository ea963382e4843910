// Waiting in a test for what another thread or process is to do: every wait has an end, so that
// a test that does not get what it waits for fails, naming what did not come, instead of running
// into ctest's timeout.
#pragma once

#include <chrono>
#include <thread>

// How long a test waits for another thread or a process of its own.
inline constexpr std::chrono::milliseconds Patience{5000};

// Asks `came` until it answers true or `patience` has passed; whether it came.
template <class Came>
bool WaitFor(Came came, std::chrono::milliseconds patience = Patience)
{
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!came()) {
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
