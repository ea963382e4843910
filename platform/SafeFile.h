#pragma once
// File helpers shared by the program's file commands.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A file that cannot be read or understood; the message names the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces `path` with `size` bytes as one step: the data go to a temporary file in the same
// folder, are flushed to disk, take over the old file's permissions and are then renamed over
// it. A symbolic link is followed, so the file it points to is replaced. On failure the old
// file is left whole, no temporary file stays behind, the result is false and `error` (when
// given) says what went wrong.
bool WriteFileSafely(const std::filesystem::path& path, const void* data, std::size_t size,
                     std::string* error = nullptr);

enum class ReadResult { Ok, CannotOpen, TooLarge, Failed };

// Reads a whole regular file of at most `maxSize` bytes into `data`. Anything but a regular file
// (a folder, a pipe, a device) counts as one that cannot be opened.
ReadResult ReadWholeFile(const std::filesystem::path& path, std::size_t maxSize, std::vector<uint8_t>& data);

} // namespace platform
