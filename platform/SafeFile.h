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
// it. A chain of symbolic links is followed to the file it names, which is replaced (a chain of
// more than 40 links, as every loop is, is refused). Anything but a regular file at the end of
// the chain (a folder, a pipe, a device, a socket) is refused and left alone. Temporary files of
// earlier writes of the same file whose process has gone (a write killed halfway) are removed.
// On failure the old file is left whole, no temporary file stays behind, the result is false
// and `error` (when given) says what went wrong. Any name the folder takes for the file can be
// written: the temporary file's name is cut short where the file's own is too long to carry it.
bool WriteFileSafely(const std::filesystem::path& path, const void* data, std::size_t size,
                     std::string* error = nullptr);

// Lets a write past the process's file-size limit (ulimit -f) fail with EFBIG, as a full disk
// refuses one, instead of ending the process by SIGXFSZ; for the program's start. The signal is
// caught by a handler that does nothing, so a program started from this one gets its default.
void LetWritesPastTheSizeLimitFail();

enum class ReadResult { Ok, Missing, CannotOpen, NotRegularFile, TooLarge, Failed };

// Reads a whole regular file of at most `maxSize` bytes into `data`, never waiting: anything but
// a regular file (a folder, a pipe, a device, a socket) is not read. `reason` (when given) says
// why a file was not read: "it is a folder", "it is larger than 65536 bytes", "Permission denied".
ReadResult ReadWholeFile(const std::filesystem::path& path, std::size_t maxSize, std::vector<uint8_t>& data,
                         std::string* reason = nullptr);

} // namespace platform
