// The program's entry, apart from the window system, so that tests can run it headless.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {
class MidiBackend;
}

// Lets a write past a file-size limit fail instead of ending the program, sets the application
// title, creates the main window and runs the message loop until the program ends. An exception
// that leaves construction or the loop is shown by the application's exception display; the
// program then ends. Returns the exit code (0). `commandLine` holds the program's arguments; the
// first one names a save file that the first show loads.
int RunQuillmarven(platform::MidiBackend& midi, const std::filesystem::path& programFolder,
                   const std::vector<std::string>& commandLine = {});
