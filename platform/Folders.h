#pragma once
// Where the program and its settings live.

#include <filesystem>

namespace platform {

// The running executable (resolved from /proc/self/exe).
std::filesystem::path ProgramFile();

// The folder of the executable: pictures such as alg/alg_1.jpg stand beside it.
std::filesystem::path ProgramFolder();

// $XDG_CONFIG_HOME/Quillmarven, or ~/.config/Quillmarven when that variable is unset or not an
// absolute path. The folder is created when missing; a failure to create it is not reported
// here (reading a missing settings file gives the defaults, writing it reports the failure).
std::filesystem::path SettingsFolder();

} // namespace platform
