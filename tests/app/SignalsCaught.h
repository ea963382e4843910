// Whether a process handles a signal itself, as Linux tells (SigCgt in /proc/<pid>/status): a
// test raises an end signal only once the program catches it, which would otherwise end the test.
#pragma once

#include <sys/types.h>

#include <fstream>
#include <string>

inline bool Catches(pid_t pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}
