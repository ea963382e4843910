// libjack frees every client a process holds when the process opens one after any of its clients
// lost its connection, whoever owns them. The program's clients and the test's own are closed in
// order before that can happen: nothing is used after libjack freed it (the sanitizer build says
// so at once), the program's sends say that the devices must be chosen again, and they can be.
#include "JackRig.h"

#include <dlfcn.h>

#include <csignal>
#include <cstring>

namespace {

// Whether libjack in this process still takes the server as running: only then does a call to the
// server go out.
bool LibjackTakesTheServerAsRunning(JackFarEnd& far)
{
    bool running = false;
    far.WithHandle([&](jack_client_t* h) {
        if (char* uuid = jack_get_uuid_for_client_name(h, "system")) {
            running = true;
            jack_free(uuid);
        }
    });
    return running;
}

// An open that fails mid-way. Armed, the next notification connection that a client of the
// program takes while it is being opened is broken at once, the server held still meanwhile: the
// client's own thread in libjack reads the end (which lowers libjack's flag for the process), then
// the server, let go, finds the client unreachable and refuses it, as a loaded server does.
struct BreakingOpen {
    std::atomic<pid_t> server{0}; // armed while set
    char clients[108] = {};       // the socket path every client of the program's begins with
    std::atomic<bool> struck{false};
} breaking;

} // namespace

// In place of the C library's accept for the whole test program; libjack's calls come here.
extern "C" int accept(int fd, sockaddr* address, socklen_t* length)
{
    using Accept = int (*)(int, sockaddr*, socklen_t*);
    static const auto next = reinterpret_cast<Accept>(dlsym(RTLD_NEXT, "accept"));
    const int taken = next(fd, address, length);
    const pid_t server = breaking.server.load();
    if (taken >= 0 && server > 0 && SocketPath(fd).starts_with(breaking.clients) && !breaking.struck.exchange(true)) {
        kill(server, SIGSTOP);
        shutdown(taken, SHUT_RDWR);
    }
    return taken;
}

namespace {

enum class Loss { Dropped, OpenFailedMidway };

class JackClientLost : public ::testing::TestWithParam<Loss> {};

} // namespace

TEST_P(JackClientLost, NothingIsUsedAfterLibjackMayFreeItAndTheDevicesAreChosenAgain)
{
    // A server takes a client that died active out of its graph only after ten times its client
    // timeout: 200 ms here instead of 500.
    PrivateJackServer server({"-t", "200"});
    ASSERT_EQ(server.Trouble(), "");
    Rig rig("lost");
    ASSERT_EQ(rig.far->Trouble(), "");
    ASSERT_TRUE(rig.far->Connect(rig.transport));
    ASSERT_EQ(SendError(rig.transport, JackTestChange), "");
    ASSERT_EQ(rig.far->Received.WaitFor(1).size(), 1u) << "nothing crossed the server";

    if (GetParam() == Loss::Dropped) {
        // The server drops the program's input client and stays; the output's client and the
        // test's own are untouched.
        const auto fed = rig.far->ConnectionsOf(rig.far->OutPort());
        ASSERT_EQ(fed.size(), 1u);
        ASSERT_TRUE(Drop(fed[0].substr(0, fed[0].find(':')))) << "no connection of " << fed[0];
        const auto deadline = Clock::now() + JackPatience;
        while (LibjackTakesTheServerAsRunning(*rig.far) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_FALSE(LibjackTakesTheServerAsRunning(*rig.far)) << "libjack did not learn of the drop";
        // The next open: the setup dialog's lists.
        EXPECT_NO_THROW(rig.transport.InputNames());
    } else {
        // The setup dialog's lists: their client's first open fails mid-way; it is asked again.
        std::snprintf(breaking.clients, sizeof breaking.clients, "/dev/shm/jack_%s", EditorClientName().c_str());
        breaking.struck.store(false);
        breaking.server.store(server.Pid());
        std::atomic<bool> listed{false};
        std::thread resume([&] {
            while (!breaking.struck.load() && !listed.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (breaking.struck.load()) std::this_thread::sleep_for(std::chrono::milliseconds(300));
            kill(server.Pid(), SIGCONT);
        });
        EXPECT_NO_THROW(rig.transport.InputNames()) << "the second try of the lists' client failed";
        listed.store(true);
        resume.join();
        breaking.server.store(0);
        ASSERT_TRUE(breaking.struck.load()) << "no open of the program's was broken";
    }

    // The program's ports were closed before libjack could free them: sends say so as when the
    // server went, and the devices close at once.
    EXPECT_EQ(platform::JackClient::FreedByLibjack(), 0) << "libjack freed clients itself";
    const std::string error = SendError(rig.transport, JackTestChange);
    EXPECT_NE(error.find("The JACK server has stopped"), std::string::npos) << "a send said \"" << error << "\"";
    const auto closing = Clock::now();
    rig.transport.CloseMidiIn();
    rig.transport.CloseMidiOut();
    EXPECT_LT(SecondsSince(closing), 1.5) << "closing waited";

    // Chosen again, the devices work.
    rig.far = std::make_unique<JackFarEnd>("back");
    ASSERT_EQ(rig.far->Trouble(), "");
    ASSERT_TRUE(rig.far->Connect(rig.transport));
    EXPECT_EQ(SendError(rig.transport, JackTestChange), "");
    EXPECT_EQ(rig.far->Received.WaitFor(1), std::vector<Bytes>{JackTestChange})
        << "a send after the devices were chosen again";
    rig.transport.CloseMidiIn();
    rig.transport.CloseMidiOut();
}

INSTANTIATE_TEST_SUITE_P(DroppedOrFailedMidway, JackClientLost, ::testing::Values(Loss::Dropped, Loss::OpenFailedMidway),
                         [](const auto& param) {
                             return param.param == Loss::Dropped ? "Dropped" : "OpenFailedMidway";
                         });
