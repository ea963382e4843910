// A JACK server of the test's own, and what a test reads of JACK's shared state.
//
// All JACK servers and clients of one user share one registry of at most eight servers, and the
// servers' shared memory and semaphores in /dev/shm. A server killed hard keeps its place in the
// registry (until a server of its name starts again) and leaves files behind. A test's server
// never does: it ends with the process that started it, whatever way that ends, and one the test
// killed on purpose is started and stopped once more, as JACK itself reclaims, before the test
// is done.
#pragma once

#include "platform/JackClient.h"

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
#include <vector>

#include <fcntl.h>
#include <spawn.h>
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

// The dummy driver, synchronous as the test script's server, for what a person meets when the
// server goes away and comes back. Named like the test script's servers
// (quillmarven-test-<number>); the program and the test's clients are pointed at it while it
// stands. What jackd prints is kept, and told when it does not start.
class PrivateJackServer {
public:
    // `options` go to jackd before the driver's.
    explicit PrivateJackServer(std::vector<std::string> options = {})
        : name_("quillmarven-test-" + std::to_string(getpid())), options_(std::move(options)),
          log_(std::filesystem::temp_directory_path() / (name_ + ".jackd.log"))
    {
        const char* previous = std::getenv("JACK_DEFAULT_SERVER");
        previous_ = previous ? previous : "";
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        setenv("QUILLMARVEN_MIDI_API", "jack", 1);
        Start();
    }
    ~PrivateJackServer()
    {
        Stop(SIGTERM);
        // A server killed hard (by the test, or on its own) keeps its place in the registry and
        // its files: one started and stopped under its name reclaims them.
        if (killedHard_) {
            Start();
            Stop(SIGTERM);
        }
        // The semaphores of clients that were open when their server was killed stay behind:
        // they carry the server's name, unique to this process.
        const std::string ours = "jack_sem." + std::to_string(getuid()) + "_" + name_ + "_";
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error))
            if (entry.path().filename().string().starts_with(ours)) std::filesystem::remove(entry.path(), error);
        std::filesystem::remove(log_, error);
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
        std::vector<std::string> args = {"jackd", "--no-realtime", "-S", "-n", name_};
        args.insert(args.end(), options_.begin(), options_.end());
        args.insert(args.end(), {"-d", "dummy", "-r", "48000", "-p", "256"});
        const bool setpriv = std::filesystem::exists("/usr/bin/setpriv");
        if (setpriv) args.insert(args.begin(), {"/usr/bin/setpriv", "--pdeathsig", "SIGTERM", "--"});
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        const int failed = posix_spawnp(&pid_, argv[0], &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (failed) {
            pid_ = 0;
            trouble_ = std::string("jackd could not be started: ") + std::strerror(failed);
            return;
        }
        const auto deadline = Clock::now() + JackPatience;
        const std::string probe = "qm-probe-" + std::to_string(getpid());
        std::string refused;
        while (Clock::now() < deadline) {
            try {
                platform::JackClient client(probe);
                killedHard_ = false;
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
        // jackd ends in order on SIGTERM; ended by a signal, it left its place and files behind.
        killedHard_ = WIFSIGNALED(status);
        pid_ = 0;
    }

private:
    static std::string Ended(int status)
    {
        if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
        if (WIFSIGNALED(status)) return std::string("signal ") + strsignal(WTERMSIG(status));
        return "status " + std::to_string(status);
    }

    std::string name_, previous_, trouble_;
    std::vector<std::string> options_;
    std::filesystem::path log_;
    pid_t pid_ = 0;
    bool killedHard_ = false;
};
