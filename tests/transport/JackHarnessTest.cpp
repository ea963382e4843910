// The test's own JACK server ends with the process that started it, however that process ends,
// and leaves nothing behind: no place in JACK's registry, no file in /dev/shm.
#include "tests/support/JackServer.h"
#include "tests/support/ProcState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sstream>

#include <poll.h>
#include <sys/prctl.h>

namespace {

// Whether the process `pid` still runs (a zombie does not).
bool Runs(pid_t pid)
{
    const char state = ProcState("/proc/" + std::to_string(pid) + "/stat");
    return state != 0 && state != 'Z';
}

// JACK's files in /dev/shm that carry the name of the server `server`.
std::vector<std::string> FilesOf(const std::string& server)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error))
        if (entry.path().filename().string().find("_" + server + "_") != std::string::npos)
            files.push_back(entry.path().filename());
    return files;
}

// How long the guard of a test's server (scripts/lib/jack-guard) may take at worst to free what a
// server whose test died left: 2 s for jackd to end on SIGTERM, 20 s at most until it has ended and
// is reaped (SIGKILL, and the process that adopted it), then the metadata store's check (6 s) and
// JACK's own reclaim of its place (5 s for a server to start, 5 s for it to end): about 40 s, and
// half as much again for a loaded machine.
constexpr auto GuardPatience = std::chrono::seconds(60);

} // namespace

// Who takes the server's jackd when the test process that started it died: the first process of
// the PID namespace or of the machine, which reaps at once when it is not busy, or a process that
// reaps it late (a loaded machine's adopter; here the test itself, reaping it after 8 s). JACK
// takes a server that ended but is not reaped as running, and frees nothing of it until then.
class JackHarness : public testing::TestWithParam<bool> {};

TEST_P(JackHarness, APrivateServerEndsWithTheProcessThatStartedItHoweverItEndsAndLeavesNothing)
{
    const bool slowAdopter = GetParam();
    if (slowAdopter) {
        ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }
    int out[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The test process that dies: killed with SIGSEGV while its server runs, with a client
        // whose connection the server dropped (jackd, ended, writes to it and dies of SIGPIPE).
        std::signal(SIGSEGV, SIG_DFL);
        PrivateJackServer server;
        std::optional<platform::JackClient> client;
        if (server.Trouble().empty()) client.emplace("qm-dying-" + std::to_string(getpid()));
        if (client && !Drop(client->Name())) _exit(1);
        const std::string said = server.Trouble().empty()
                                     ? "server " + std::to_string(server.Pid()) + " " + server.Name() + "\n"
                                     : "trouble " + server.Trouble() + "\n";
        if (write(out[1], said.data(), said.size()) < 0) _exit(1);
        for (;;) pause();
    }
    close(out[1]);
    std::string said;
    pollfd ready{out[0], POLLIN, 0};
    char buffer[512];
    while (said.find('\n') == std::string::npos && poll(&ready, 1, 10000) > 0) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        said.append(buffer, std::size_t(n));
    }
    close(out[0]);
    kill(child, SIGSEGV);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << "the process did not die of the signal";
    ASSERT_TRUE(said.starts_with("server ")) << "the dying process had no server: " << said;

    int pid = 0;
    std::string name;
    std::istringstream(said.substr(7)) >> pid >> name;
    auto inRegistry = [&] {
        const auto registry = JackRegistry();
        return std::any_of(registry.begin(), registry.end(), [&](const auto& e) { return e.server == name; });
    };
    const auto deadline = Clock::now() + GuardPatience;
    const auto reapAt = Clock::now() + std::chrono::seconds(8);
    bool reaped = !slowAdopter;
    while ((Runs(pid) || inRegistry() || !FilesOf(name).empty()) && Clock::now() < deadline) {
        if (!reaped && Clock::now() > reapAt) reaped = waitpid(pid, nullptr, WNOHANG) == pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(Runs(pid)) << "its JACK server " << name << " still runs after it died";
    if (Runs(pid)) kill(pid, SIGTERM); // not left behind by this test either
    EXPECT_FALSE(inRegistry()) << name << " keeps its place in JACK's registry";
    EXPECT_EQ(FilesOf(name), std::vector<std::string>{}) << "files of " << name << " stay in /dev/shm";
}

INSTANTIATE_TEST_SUITE_P(AdoptedBy, JackHarness, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& adopter) {
                             return adopter.param ? "ASlowAdopter" : "TheFirstProcess";
                         });
