#include "platform/OpenUrl.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace platform {

bool OpenUrl(const std::string& url)
{
    if (url.empty() || url.front() == '-') return false;
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own session: closing the terminal the editor was started from leaves the browser.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    // Reap it whenever it ends, so no zombie is left, without making the caller wait.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }).detach();
    return true;
}

} // namespace platform
