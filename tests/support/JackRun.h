// Which run of the tests over JACK a test process belongs to. Runs of other checkouts may go on
// beside one another, in the same /dev/shm or in PID namespaces of their own that share the
// temporary folder; the check that ends a run (tests/scripts/jack_canary.sh) judges what its own
// run left, never what another run that still goes on has not tidied yet. So a run's test
// processes note what is theirs: ctest tells the tests over JACK the run's folder in QM_JACK_RUN.
#pragma once

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

// Adds `line` to the run's list `list`: "pids", the run's processes (what JACK keeps in /dev/shm
// is named after them), or "logs", its test servers' logs.
inline void NoteInJackRun(const char* list, const std::string& line)
{
    const char* folder = std::getenv("QM_JACK_RUN");
    if (!folder || !*folder) return;
    const int file = open((std::string(folder) + "/" + list).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) return;
    const std::string text = line + "\n";
    if (write(file, text.data(), text.size()) < 0) {
        // The run's check then does not know it; nothing else depends on it.
    }
    close(file);
}

inline void CountInJackRun() { NoteInJackRun("pids", std::to_string(getpid())); }
