// The test's own JACK server ends with the process that started it, however that process ends,
// and leaves no place in JACK's registry behind.
#include "tests/support/JackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <poll.h>

namespace {

// Whether the process `pid` still runs (a zombie does not).
bool Runs(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

} // namespace

TEST(JackHarness, APrivateServerEndsWithTheProcessThatStartedItHoweverItEnds)
{
    int out[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The test process that dies: killed with SIGSEGV while its server runs.
        std::signal(SIGSEGV, SIG_DFL);
        PrivateJackServer server;
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
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    while (Runs(pid) && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(Runs(pid)) << "its JACK server " << name << " still runs a second after it died";
    if (Runs(pid)) kill(pid, SIGTERM); // not left behind by this test either
    const auto registry = JackRegistry();
    EXPECT_TRUE(std::none_of(registry.begin(), registry.end(), [&](const auto& e) { return e.server == name; }))
        << name << " keeps its place in JACK's registry";
}
