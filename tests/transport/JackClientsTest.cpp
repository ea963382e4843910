// libjack frees every client a process holds when the process opens one after any of its clients
// lost its connection, whoever owns them. The program's clients and the test's own are closed in
// order before that can happen, every process thread stopped before any client is closed: nothing
// is used after libjack freed or unmapped it (the sanitizer build says so at once), the program's
// sends say that the devices must be chosen again, and they can be.
#include "JackRig.h"

#include "tests/support/Patience.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <sys/syscall.h>

#include <csignal>
#include <cstring>
#include <fstream>

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
    std::atomic<pid_t> reader{0}; // libjack's thread that took the broken connection
} breaking;

// Whether the thread `tid` of this process still runs.
bool ThreadRuns(pid_t tid) { return std::filesystem::exists("/proc/self/task/" + std::to_string(tid)); }

// Armed (milliseconds), a thread that unmaps the wake-up of a client of the program's
// (/dev/shm/jack_sem.<uid>_<server>_qm-editor-<process>...) stays that long before it goes on, as
// one the machine does not run for a while: libjack unmaps a closed client's wake-up before it
// forgets it, so a client of the process that signals it meanwhile meets unmapped memory.
std::atomic<int> unmapStay{0};

// The file mapped at `address` in this process, or empty.
std::string MappedFile(const void* address)
{
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (std::strtoull(line.c_str(), nullptr, 16) == reinterpret_cast<std::uintptr_t>(address))
            return line.find('/') == std::string::npos ? "" : line.substr(line.find('/'));
    return {};
}

} // namespace

// In place of the C library's accept for the whole test program; libjack's calls come here.
extern "C" int accept(int fd, sockaddr* address, socklen_t* length)
{
    using Accept = int (*)(int, sockaddr*, socklen_t*);
    static const auto next = reinterpret_cast<Accept>(dlsym(RTLD_NEXT, "accept"));
    const int taken = next(fd, address, length);
    const pid_t server = breaking.server.load();
    if (taken >= 0 && server > 0 && SocketPath(fd).starts_with(breaking.clients) && !breaking.struck.load()) {
        kill(server, SIGSTOP);
        shutdown(taken, SHUT_RDWR);
        breaking.reader.store(pid_t(syscall(SYS_gettid)));
        breaking.struck.store(true);
    }
    return taken;
}

// In place of the C library's munmap, likewise.
extern "C" int munmap(void* address, size_t length)
{
    using Unmap = int (*)(void*, size_t);
    static const auto next = reinterpret_cast<Unmap>(dlsym(RTLD_NEXT, "munmap"));
    const int stay = unmapStay.load();
    const std::string file = stay > 0 ? MappedFile(address) : "";
    const bool wakeUp =
        file.starts_with("/dev/shm/jack_sem.") && file.find("_" + EditorClientName()) != std::string::npos;
    const int unmapped = next(address, length);
    if (wakeUp) std::this_thread::sleep_for(std::chrono::milliseconds(stay));
    return unmapped;
}

namespace {

// How a client of the process loses its connection, and what meets the loss: the next open (the
// setup dialog's lists), or the program's input closed first.
enum class Loss { Dropped, OpenFailedMidway, DroppedThenInputClosed };

class JackClientLost : public ::testing::TestWithParam<Loss> {};

std::string LossName(const ::testing::TestParamInfo<Loss>& info)
{
    static const char* const names[] = {"Dropped", "OpenFailedMidway", "DroppedThenInputClosed"};
    return names[int(info.param)];
}

// Breaks the connection of the client of `port`'s and waits until libjack knows (asking through
// `far`).
void DropClientOf(const std::string& port, JackFarEnd& far)
{
    ASSERT_TRUE(Drop(port.substr(0, port.find(':')))) << "no connection of " << port;
    const auto deadline = Clock::now() + JackPatience;
    while (LibjackTakesTheServerAsRunning(far) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_FALSE(LibjackTakesTheServerAsRunning(far)) << "libjack did not learn of the drop";
}

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
    // A client of the process feeds another opened before it: the far end gives way to one opened
    // after the program's ports, which feeds the program's input, its cycles long as on a busy
    // machine, so that one is under way whenever the input is closed; and a closed client's
    // wake-up stays unmapped a while.
    const auto programIn = rig.far->ConnectionsOf(rig.far->OutPort());
    const auto programOut = rig.far->ConnectionsOf(rig.far->InPort());
    ASSERT_EQ(programIn.size() + programOut.size(), 2u);
    JackFarEnd feeder("feeder");
    rig.far.reset();
    ASSERT_TRUE(feeder.Wire(feeder.OutPort(), programIn[0])) << feeder.Trouble();
    feeder.SlowCycles(std::chrono::milliseconds(20));
    unmapStay.store(50);

    if (GetParam() != Loss::OpenFailedMidway) {
        // The server drops the program's output client and stays. What meets it: the next open
        // (the setup dialog's lists), or a person's choice that closes the input first.
        ASSERT_NO_FATAL_FAILURE(DropClientOf(programOut[0], feeder));
        if (GetParam() == Loss::Dropped)
            EXPECT_NO_THROW(rig.transport.InputNames());
        else
            rig.transport.CloseMidiIn();
    } else {
        // The setup dialog's lists: their client's first open fails mid-way; it is asked again.
        std::snprintf(breaking.clients, sizeof breaking.clients, "/dev/shm/jack_%s", EditorClientName().c_str());
        breaking.struck.store(false);
        breaking.reader.store(0);
        breaking.server.store(server.Pid());
        std::atomic<bool> listed{false}, readerEnded{false};
        std::thread resume([&] {
            while (!breaking.struck.load() && !listed.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            // The server goes on once libjack's thread has read the broken end, lowered libjack's
            // flag and ended.
            if (breaking.struck.load())
                readerEnded.store(WaitFor([] { return !ThreadRuns(breaking.reader.load()); }, JackPatience));
            kill(server.Pid(), SIGCONT);
        });
        EXPECT_NO_THROW(rig.transport.InputNames()) << "the second try of the lists' client failed";
        listed.store(true);
        resume.join();
        breaking.server.store(0);
        ASSERT_TRUE(breaking.struck.load()) << "no open of the program's was broken";
        EXPECT_TRUE(readerEnded.load()) << "libjack's thread that took the broken connection still ran after "
                                        << JackPatience.count() << " s";
    }
    unmapStay.store(0);

    // The program's ports were closed before libjack could free them: sends say so as when the
    // server went, and the devices close at once.
    EXPECT_EQ(platform::JackClient::FreedByLibjack(), 0) << "libjack freed clients itself";
    const std::string error = SendError(rig.transport, JackTestChange);
    EXPECT_NE(error.find("The JACK server has stopped"), std::string::npos) << "a send said \"" << error << "\"";
    const int runOut = platform::JackClient::WaitsRunOut();
    rig.transport.CloseMidiIn();
    rig.transport.CloseMidiOut();
    EXPECT_EQ(platform::JackClient::WaitsRunOut(), runOut) << "closing waited out its patience";

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

INSTANTIATE_TEST_SUITE_P(DroppedOrFailedMidway, JackClientLost,
                         ::testing::Values(Loss::Dropped, Loss::OpenFailedMidway, Loss::DroppedThenInputClosed),
                         LossName);
