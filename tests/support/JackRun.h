// Which run of the tests over JACK a test process belongs to. Runs of other checkouts may go on
// beside one another in the same /dev/shm; the check that ends a run (tests/scripts/jack_canary.sh)
// judges what the processes of its own run left, never what another run that still goes on has
// not tidied yet. So each test process counts itself in its run: ctest tells the tests over JACK
// the run's folder in QM_JACK_RUN, and the process adds its number to the list there.
#pragma once

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

inline void CountInJackRun()
{
    const char* folder = std::getenv("QM_JACK_RUN");
    if (!folder || !*folder) return;
    const int list = open((std::string(folder) + "/pids").c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (list < 0) return;
    const std::string line = std::to_string(getpid()) + "\n";
    if (write(list, line.data(), line.size()) < 0) {
        // The run's check then does not know this process; nothing else depends on it.
    }
    close(list);
}
