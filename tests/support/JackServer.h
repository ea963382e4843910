// A JACK server of the test's own, and what a test reads of JACK's shared state.
//
// All JACK servers and clients of one user share one registry of at most eight servers, and the
// servers' shared memory and semaphores in /dev/shm. A server killed hard keeps its place in the
// registry (until a server of its name starts again) and leaves files behind; so does one ended
// while its clients die (jackd dies of SIGPIPE writing to them, or hangs). A test's server never
// leaves anything: it ends with the process that started it, whatever way that ends, and a guard
// beside it (scripts/lib/jack-guard), which outlives the test's process, frees its place and files
// by name once the test is done with it or has died.
#pragma once

#include "platform/JackClient.h"
#include "tests/support/JackRun.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

// How long a test waits for anything to cross the server: far longer than a loaded machine
// takes, short enough that a message that never comes fails the test in seconds.
constexpr auto JackPatience = std::chrono::seconds(5);

// The names of the servers in JACK's registry (/dev/shm/jack-shm-registry) with the process each
// was registered by; empty when there is no registry. A server whose process no longer runs is a
// dead entry.
struct JackRegistryEntry {
    pid_t pid;
    std::string server;
};
inline std::vector<JackRegistryEntry> JackRegistry()
{
    // The registry's header: magic, protocol, type, size, header length and entry length (24
    // bytes), then eight servers, each a process number and a name "jack-<uid>:<server>:" in 264
    // bytes.
    constexpr std::size_t first = 24, stride = 264, servers = 8;
    std::ifstream file("/dev/shm/jack-shm-registry", std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<JackRegistryEntry> entries;
    if (data.size() < first + servers * stride || data.compare(0, 4, "KCAJ") != 0) return entries;
    for (std::size_t i = 0; i < servers; ++i) {
        const char* at = data.data() + first + i * stride;
        std::int32_t pid;
        std::memcpy(&pid, at, sizeof pid);
        std::string name(at + 4, strnlen(at + 4, stride - 4));
        if (pid == 0) continue;
        // "jack-<uid>:<server>:"
        const auto colon = name.find(':');
        if (colon != std::string::npos) name = name.substr(colon + 1);
        if (!name.empty() && name.back() == ':') name.pop_back();
        entries.push_back({pid, name});
    }
    return entries;
}

// The path of the unix socket `fd` is bound to, or empty.
inline std::string SocketPath(int fd)
{
    sockaddr_un address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 || address.sun_family != AF_UNIX)
        return {};
    return std::string(address.sun_path, strnlen(address.sun_path, sizeof address.sun_path));
}

// Breaks the connection through which the server talks to `client`, a client of this process, as
// when the server drops it: libjack's thread that listens on it reads its end (which lowers
// libjack's flag for the process), and the server meets a closed connection when it next writes.
// False when there is none. JACK 1.9 binds that socket at /dev/shm/jack_<client>_<uid>_0.
inline bool Drop(const std::string& client)
{
    const std::string path = "/dev/shm/jack_" + client + "_" + std::to_string(getuid()) + "_0";
    bool dropped = false;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::atoi(entry.path().filename().c_str());
        int listening = 0;
        socklen_t length = sizeof listening;
        if (SocketPath(fd) == path && getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &length) == 0 && !listening)
            dropped |= shutdown(fd, SHUT_RDWR) == 0;
    }
    return dropped;
}

// The last `count` lines of a text file.
inline std::string LastLines(const std::filesystem::path& path, int count)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    std::string text;
    for (std::size_t i = lines.size() > std::size_t(count) ? lines.size() - count : 0; i < lines.size(); ++i)
        text += (text.empty() ? "" : " | ") + lines[i];
    return text;
}

// The dummy driver, synchronous as the test script's server (or in JACK's default asynchronous
// mode, where a late reader loses what crossed the cycle it missed), for what a person meets when
// the server goes away and comes back, or runs late. Named like the test script's servers
// (quillmarven-test-<number>); the program and the test's clients are pointed at it while it
// stands. What jackd prints is kept, and told when it does not start.
class PrivateJackServer {
public:
    // `options` go to jackd before the driver's.
    explicit PrivateJackServer(std::vector<std::string> options = {}, bool synchronous = true)
        : name_("quillmarven-test-" + std::to_string(getpid())), options_(std::move(options)),
          synchronous_(synchronous), log_(LogPath(name_))
    {
        const char* previous = std::getenv("JACK_DEFAULT_SERVER");
        previous_ = previous ? previous : "";
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        setenv("QUILLMARVEN_MIDI_API", "jack", 1);
        CountInJackRun(); // the server is named after this process, which may be a test's child
        NoteInJackRun("logs", log_.string());
        if (Guard()) Start();
    }
    ~PrivateJackServer()
    {
        Stop(SIGTERM);
        // Told that the test is done, the guard frees what the server left, and ends.
        if (guard_ >= 0) {
            shutdown(guard_, SHUT_WR);
            pollfd ended{guard_, POLLIN, 0};
            char byte;
            while (poll(&ended, 1, 30000) > 0 && read(guard_, &byte, 1) > 0) {}
            close(guard_);
        }
        if (previous_.empty())
            unsetenv("JACK_DEFAULT_SERVER");
        else
            setenv("JACK_DEFAULT_SERVER", previous_.c_str(), 1);
    }
    PrivateJackServer(const PrivateJackServer&) = delete;
    PrivateJackServer& operator=(const PrivateJackServer&) = delete;

    // Why the server does not run, or empty.
    const std::string& Trouble() const { return trouble_; }
    // Its process while it runs, or 0.
    pid_t Pid() const { return pid_; }
    const std::string& Name() const { return name_; }

    // Starts it (again); ready once a client can connect. It gets SIGTERM when the thread that
    // started it ends (the process, however it ends): start it from the test's main thread.
    void Start()
    {
        trouble_.clear();
        std::vector<std::string> args = {"jackd", "--no-realtime", "-n", name_};
        if (synchronous_) args.push_back("-S");
        args.insert(args.end(), options_.begin(), options_.end());
        args.insert(args.end(), {"-d", "dummy", "-r", "48000", "-p", "256"});
        const bool setpriv = std::filesystem::exists("/usr/bin/setpriv");
        if (setpriv) args.insert(args.begin(), {"/usr/bin/setpriv", "--pdeathsig", "SIGTERM", "--"});
        // With a metadata store of its own where it shares the user's /dev/shm (the tests run by
        // hand): its end would remove the one of the user's JACK. The script keeps the process.
        args.insert(args.begin(), {"bash", Script("jack-store").string()});
        const int failed = Spawn(args, {{1, log_.c_str()}, {2, log_.c_str()}}, -1, pid_);
        if (failed) {
            pid_ = 0;
            trouble_ = std::string("jackd could not be started: ") + std::strerror(failed);
            return;
        }
        const std::string told = std::to_string(pid_) + "\n";
        if (send(guard_, told.data(), told.size(), MSG_NOSIGNAL) != ssize_t(told.size())) {
            trouble_ = "the guard of the test's JACK server " + name_ + " has gone";
            Stop(SIGTERM);
            return;
        }
        const auto deadline = Clock::now() + JackPatience;
        const std::string probe = "qm-probe-" + std::to_string(getpid());
        std::string refused;
        while (Clock::now() < deadline) {
            try {
                platform::JackClient client(probe);
                return;
            } catch (const platform::MidiError& e) {
                refused = e.what();
            }
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                trouble_ = "the test's JACK server " + name_ + " ended at once (" + Ended(status) + ")";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (trouble_.empty())
            trouble_ = "the test's JACK server " + name_ + " took no client within " +
                       std::to_string(JackPatience.count()) + " s (" + refused + ")";
        trouble_ += "; jackd said: " + LastLines(log_, 4);
        Stop(SIGTERM);
    }
    // Ends it with `signal` (SIGTERM: it says goodbye to its clients; SIGKILL: it just goes).
    void Stop(int signal)
    {
        if (pid_ <= 0) return;
        kill(pid_, signal);
        kill(pid_, SIGCONT); // a server held still takes the signal too
        const auto deadline = Clock::now() + JackPatience;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid_ = 0;
    }

private:
    // Runs `args` (found in PATH) in `pid`, its standard streams `files` (each opened for
    // appending) and `socket` (as its input and output, unless -1); 0 or why not.
    static int Spawn(std::vector<std::string> args, std::vector<std::pair<int, const char*>> files, int socket,
                     pid_t& pid)
    {
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        for (const auto& [stream, path] : files)
            posix_spawn_file_actions_addopen(&actions, stream, path, O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (socket >= 0) {
            posix_spawn_file_actions_adddup2(&actions, socket, 0);
            posix_spawn_file_actions_adddup2(&actions, socket, 1);
        }
        const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return failed;
    }

    // A script of scripts/lib/, in the source tree two folders above this header.
    static std::filesystem::path Script(const char* name)
    {
        return std::filesystem::path(__FILE__).parent_path() / "../../scripts/lib" / name;
    }

    // Starts the guard (scripts/lib/jack-guard) in a session of its own, told of each server
    // started through a socket that closes with the test's process; false, saying why, when there
    // is none.
    bool Guard()
    {
        const auto script = Script("jack-guard");
        int ends[2];
        if (!std::filesystem::exists(script)) {
            trouble_ = "the guard of the test's JACK server is missing: " + script.string();
            return false;
        }
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
            trouble_ = std::string("no socket for the guard of the test's JACK server: ") + std::strerror(errno);
            return false;
        }
        pid_t setsid = 0;
        const int failed = Spawn({"setsid", "--fork", "bash", script.string(), name_, log_.string()},
                                 {{2, "/dev/null"}}, ends[1], setsid);
        if (!failed) waitpid(setsid, nullptr, 0);
        close(ends[1]);
        guard_ = ends[0];
        if (failed)
            trouble_ =
                std::string("the guard of the test's JACK server could not be started: ") + std::strerror(failed);
        return !failed;
    }

    // The server's log in the temporary folder, named after the server and the PID namespace: runs
    // in namespaces of their own (scripts/lib/jack-private) share the folder, and the process
    // numbers in their servers' names repeat from one namespace to the next.
    static std::filesystem::path LogPath(const std::string& name)
    {
        std::error_code error;
        std::string space = std::filesystem::read_symlink("/proc/self/ns/pid", error).string(); // pid:[4026531836]
        std::erase_if(space, [](char c) { return c < '0' || c > '9'; });
        return std::filesystem::temp_directory_path() / (name + (space.empty() ? "" : "-" + space) + ".jackd.log");
    }

    static std::string Ended(int status)
    {
        if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
        if (WIFSIGNALED(status)) return std::string("signal ") + strsignal(WTERMSIG(status));
        return "status " + std::to_string(status);
    }

    std::string name_, previous_, trouble_;
    std::vector<std::string> options_;
    bool synchronous_;
    std::filesystem::path log_;
    pid_t pid_ = 0;
    int guard_ = -1; // the test's end of the socket to the guard
};
