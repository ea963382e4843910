#pragma once
// The state letter of a process or thread, read from its /proc stat file ('R', 'S', 'Z', ...), or
// 0 when the file cannot be read (the process or thread is gone).
#include <fstream>
#include <string>

inline char ProcState(const std::string& statFile)
{
    std::ifstream stat(statFile);
    std::string line;
    if (!std::getline(stat, line)) return 0;
    const auto close = line.rfind(')'); // the name may hold spaces and parentheses
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}
