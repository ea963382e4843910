#pragma once
// One running copy per user: an exclusive lock on a file named after the program.

#include <filesystem>
#include <string>

namespace platform {

class SingleInstanceLock {
public:
    // Takes the lock "<name>.lock" in $XDG_RUNTIME_DIR, or "<name>-<uid>.lock" in the temp
    // folder when that variable is unset. The lock is released on destruction.
    explicit SingleInstanceLock(const std::string& name = "Quillmarven");
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False only when another holder has the lock. When no lock file can be made at all the
    // program runs unguarded rather than refusing to start for a reason the user never sees.
    bool Held() const { return held_; }
    const std::filesystem::path& LockFile() const { return path_; }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool held_ = false;
};

} // namespace platform
