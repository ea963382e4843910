#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

static fs::path LockPath(const std::string& name)
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/')
        return fs::path(runtime) / (name + ".lock");
    // The temp folder is shared by all users: the user id keeps one user's lock from
    // blocking another's program.
    std::error_code ec;
    fs::path tmp = fs::temp_directory_path(ec);
    if (ec) tmp = "/tmp";
    return tmp / (name + "-" + std::to_string(getuid()) + ".lock");
}

SingleInstanceLock::SingleInstanceLock(const std::string& name) : path_(LockPath(name))
{
    // O_CLOEXEC: a browser started by the About window must not inherit and keep the lock.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        held_ = true;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    held_ = rc == 0 || errno != EWOULDBLOCK;
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (fd_ >= 0) ::close(fd_); // closing the descriptor releases the lock
}

} // namespace platform
