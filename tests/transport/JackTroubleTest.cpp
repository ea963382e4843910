// What a person on JACK meets when the world around the program fails: a server that goes, a
// destination that goes, a device that never ends its system-exclusive message, a client JACK
// refuses.
#include "JackRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>

// Killed hard or stopped in order: once the port knows, every send fails at once saying that the
// server stopped, closing does not wait for it, and when a server runs again the ports are chosen
// again as at first.
class JackServerGone : public ::testing::TestWithParam<int> {};

TEST_P(JackServerGone, SendsFailAtOnceSayingSoAndTheDevicesAreChosenAgainWhenItIsBack)
{
    PrivateJackServer server;
    ASSERT_EQ(server.Trouble(), "");
    auto rig = std::make_unique<Rig>("gone");
    ASSERT_EQ(rig->far->Trouble(), "");
    ASSERT_TRUE(rig->far->Connect(rig->transport));
    ASSERT_EQ(SendError(rig->transport, JackTestChange), "");
    ASSERT_EQ(rig->far->Received.WaitFor(1).size(), 1u) << "nothing crossed the server before it went";

    server.Stop(GetParam());
    const std::string error = FirstFailure(rig->transport);
    EXPECT_NE(error.find("The JACK server has stopped"), std::string::npos)
        << "what a send said after the server went: \"" << error << "\"";
    // Nothing more is queued for a server that takes nothing: each send fails at once, saying
    // so, also after far more than the output could hold. (One queued would go; one that waited
    // for room would give up after its patience saying that the output is full.)
    const Bytes big = JackTestSysex(4000, 0x00, 1);
    for (int i = 0; i < 40; ++i) {
        const std::string said = SendError(rig->transport, big);
        if (said.find("The JACK server has stopped") == std::string::npos) {
            ADD_FAILURE() << "send " << i + 1 << " of 40 sends of 4,000 bytes said \"" << said << "\"";
            break;
        }
    }
    // The devices close without waiting for what a server that went cannot take.
    const int runOut = platform::JackClient::WaitsRunOut();
    rig->transport.CloseMidiIn();
    rig->transport.CloseMidiOut();
    EXPECT_EQ(platform::JackClient::WaitsRunOut(), runOut) << "closing waited out its patience for a server that went";
    // No server: the lists say why, not that there are no devices.
    try {
        rig->transport.InputNames();
        ADD_FAILURE() << "the inputs were listed without a server";
    } catch (const EMidiError& e) {
        EXPECT_STREQ(e.what(), "The JACK server is not running.");
    }

    server.Start();
    ASSERT_EQ(server.Trouble(), "");
    rig->far = std::make_unique<JackFarEnd>("back");
    ASSERT_EQ(rig->far->Trouble(), "");
    ASSERT_TRUE(rig->far->Connect(rig->transport)) << "the ports of the server that came back are not listed";
    EXPECT_EQ(SendError(rig->transport, JackTestChange), "");
    EXPECT_EQ(rig->far->Received.WaitFor(1), std::vector<Bytes>{JackTestChange}) << "a send after the server came back";
    rig->transport.CloseMidiIn();
    rig->transport.CloseMidiOut();
}

INSTANTIATE_TEST_SUITE_P(KilledOrStopped, JackServerGone, ::testing::Values(SIGKILL, SIGTERM),
                         [](const auto& param) { return param.param == SIGKILL ? "Killed" : "Stopped"; });

// The bridge to the hardware restarts: its client goes and comes back under the same name; or a
// person rewires MIDI OUT away from it in a patchbay. The program's MIDI OUT may feed a monitor
// too; what counts is whether it still feeds the device chosen. A device that is gone is not
// present; one that is there but not connected is told so, with the ways back: connecting the two
// again, or choosing the devices again.
class JackDestinationGone : public ::testing::TestWithParam<bool> {};

TEST_P(JackDestinationGone, ASendFailsSayingWhetherTheDeviceIsGoneOrOnlyNotConnected)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    const bool monitored = GetParam();
    Rig rig("bridge");
    JackFarEnd monitor("monitor");
    ASSERT_EQ(rig.far->Trouble() + monitor.Trouble(), "");
    ASSERT_TRUE(rig.far->Connect(rig.transport));
    const auto feeding = rig.far->ConnectionsOf(rig.far->InPort());
    ASSERT_EQ(feeding.size(), 1u);
    if (monitored) {
        ASSERT_TRUE(monitor.Wire(feeding[0], monitor.InPort())) << monitor.Trouble();
    }
    ASSERT_EQ(SendError(rig.transport, JackTestChange), "");
    ASSERT_EQ(rig.far->Received.WaitFor(1).size(), 1u) << rig.far->XRuns() << " late cycles";
    if (monitored) {
        ASSERT_EQ(monitor.Received.WaitFor(1).size(), 1u) << "the monitor got nothing";
    }

    const std::string port = rig.far->InPort();
    const std::string notPresent = "The MIDI output device \"" + port + "\" is not present.";
    const std::string notConnected = "The MIDI output device \"" + port +
                                     "\" is present, but MIDI OUT is no longer connected to it. Connect them again, "
                                     "or choose the MIDI devices again with Options > MIDI Interface Setting.";
    // Rewired in a patchbay, and connected again there: the first send once the cycles run
    // without the wire fails, the first once they run with it again goes.
    ASSERT_TRUE(rig.far->Unwire(feeding[0], port)) << rig.far->Trouble();
    EXPECT_EQ(SendError(rig.transport, JackTestChange), notConnected);
    rig.far->Received.Take();
    ASSERT_TRUE(rig.far->Wire(feeding[0], port)) << rig.far->Trouble();
    EXPECT_EQ(SendError(rig.transport, JackTestChange), "") << "a send after MIDI OUT was connected again";
    EXPECT_EQ(rig.far->Received.WaitFor(1), std::vector<Bytes>{JackTestChange});

    // Gone, then back under its name.
    rig.far.reset();
    EXPECT_EQ(FirstFailure(rig.transport), notPresent);
    EXPECT_EQ(FirstFailure(rig.transport), notPresent) << "a later send";
    rig.far = std::make_unique<JackFarEnd>("bridge");
    ASSERT_EQ(rig.far->Trouble(), "");
    ASSERT_EQ(rig.far->InPort(), port);
    EXPECT_EQ(FirstFailure(rig.transport), notConnected);

    ASSERT_TRUE(rig.far->Connect(rig.transport));
    EXPECT_EQ(SendError(rig.transport, JackTestChange), "");
    EXPECT_EQ(rig.far->Received.WaitFor(1), std::vector<Bytes>{JackTestChange})
        << "a send after the ports were chosen again";
}

INSTANTIATE_TEST_SUITE_P(AloneOrMonitored, JackDestinationGone, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Monitored" : "Alone"; });

// A device sends F0 7D 01 02 and never F7. Every status byte after it but a real-time one ends
// it, as on a cable: notes played through pass at once, the next dump is taken whole.
TEST(JackMidi, AnUnfinishedSystemExclusiveMessageEndsAtTheNextStatusByte)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    Rig rig("fs1r");
    JackFarEnd keys("keys");
    ASSERT_EQ(rig.far->Trouble() + keys.Trouble(), "");
    const auto inputs = rig.transport.InputNames();
    const auto outputs = rig.transport.OutputNames();
    auto index = [](const std::vector<std::string>& names, const std::string& name) {
        return int(std::find(names.begin(), names.end(), name) - names.begin());
    };
    rig.transport.OpenMidiPorts(index(inputs, rig.far->OutPort()), index(outputs, rig.far->InPort()),
                                index(inputs, keys.OutPort()));

    // The keyboard: the unfinished message, then notes; each reaches the instrument by itself,
    // before anything more is played (nothing in the program waits for a time to let it go).
    keys.Send({0xF0, 0x7D, 0x01, 0x02});
    for (std::uint8_t note = 60; note < 64; ++note) {
        keys.Send({0x90, note, 0x40});
        const auto got = rig.far->Received.WaitFor(note - 59);
        ASSERT_EQ(got.size(), std::size_t(note - 59))
            << "note " << int(note) << " was not played through; " << keys.XRuns() << " late cycles";
        EXPECT_EQ(got.back(), (Bytes{0x90, note, 0x40}));
    }

    // The instrument's port: the unfinished message, 36 KB of notes, then a dump answers a request.
    rig.far->Send({0xF0, 0x7D, 0x01, 0x02});
    for (int round = 0; round < 12; ++round) {
        std::vector<Bytes> notes;
        for (int i = 0; i < 1000; ++i) notes.push_back({0x90, std::uint8_t(i & 0x7F), 0x40});
        rig.far->SendTogether(notes);
        ASSERT_TRUE(rig.far->WaitCycles(2));
    }
    rig.transport.StartMidiInBuffer();
    const Bytes dump = JackTestSysex(619, 0x00, 5);
    rig.far->Send(dump);
    ASSERT_TRUE(rig.WaitForDumps(1)) << "the dump after the unfinished message was not taken";
    EXPECT_EQ(rig.dumps[0], dump);
    rig.transport.StopMidiInBuffer();
}

// A dump cut into pieces, as a bridge from a cable hands it over: joined whole, in one cycle and
// across cycles; a real-time byte between the pieces passes at once.
TEST(JackMidi, ADumpInPiecesIsTakenWhole)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    Rig rig("pieces");
    ASSERT_EQ(rig.far->Trouble(), "");
    ASSERT_TRUE(rig.far->Connect(rig.transport));
    std::vector<std::uint8_t> shorts;
    rig.transport.OnShortData = [&](std::uint8_t status, std::uint8_t, std::uint8_t) { shorts.push_back(status); };

    const Bytes dump = JackTestSysex(619, 0x00, 9);
    auto cut = [&](std::vector<std::size_t> at) {
        std::vector<Bytes> pieces;
        std::size_t from = 0;
        at.push_back(dump.size());
        for (std::size_t to : at) pieces.emplace_back(dump.begin() + long(from), dump.begin() + long(to)), from = to;
        return pieces;
    };
    const std::vector<std::vector<Bytes>> ways = {cut({300}), cut({1, 618}), cut({200, 400})};
    for (bool acrossCycles : {false, true}) {
        for (const auto& pieces : ways) {
            SCOPED_TRACE(std::to_string(pieces.size()) + " pieces" +
                         (acrossCycles ? " across cycles" : " in one cycle"));
            rig.dumps.clear();
            rig.transport.StartMidiInBuffer();
            if (acrossCycles) {
                for (const Bytes& piece : pieces) {
                    rig.far->Send(piece);
                    ASSERT_TRUE(rig.far->WaitCycles(2));
                }
            } else {
                rig.far->SendTogether(pieces);
            }
            ASSERT_TRUE(rig.WaitForDumps(1)) << "the dump was not taken";
            EXPECT_EQ(rig.dumps[0], dump);
            rig.transport.StopMidiInBuffer();
        }
    }

    // Start (FA) between the pieces reaches the program before the dump has ended.
    rig.dumps.clear();
    rig.transport.StartMidiInBuffer();
    const auto pieces = cut({300});
    rig.far->SendTogether({pieces[0], {0xFA}});
    const auto deadline = Clock::now() + JackPatience;
    while (shorts.empty() && Clock::now() < deadline) {
        rig.wakes.WaitFor(1);
        rig.wakes.Take();
        rig.transport.DeliverInput();
    }
    EXPECT_EQ(shorts, Bytes{0xFA}) << "the real-time byte inside the dump waited";
    EXPECT_TRUE(rig.dumps.empty());
    rig.far->Send(pieces[1]);
    ASSERT_TRUE(rig.WaitForDumps(1)) << "the dump around the real-time byte was not taken";
    EXPECT_EQ(rig.dumps[0], dump);
}

// Each real-time byte inside a dump that comes in three pieces: as an event of its own after the
// first piece, inside the first piece, inside the second. Those the program is given (all but
// timing clock F8 and active sensing FE) reach it before the dump has ended, and the dump is taken
// whole around every one of them.
TEST(JackMidi, EveryRealTimeByteInsideADumpInPiecesPassesAtOnceAndTheDumpIsTakenWhole)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    Rig rig("realtime");
    ASSERT_EQ(rig.far->Trouble(), "");
    ASSERT_TRUE(rig.far->Connect(rig.transport));
    Bytes shorts;
    rig.transport.OnShortData = [&](std::uint8_t status, std::uint8_t, std::uint8_t) { shorts.push_back(status); };

    const Bytes dump = JackTestSysex(619, 0x00, 12);
    const char* const places[] = {"between the first two pieces", "inside the first piece", "inside the second piece"};
    for (int byte = 0xF8; byte <= 0xFF; ++byte)
        for (int place = 0; place < 3; ++place) {
            const auto realTime = std::uint8_t(byte);
            const Bytes given = realTime == 0xF8 || realTime == 0xFE ? Bytes{} : Bytes{realTime};
            SCOPED_TRACE(std::string("F") + "0123456789ABCDEF"[byte & 0x0F] + " " + places[place]);
            std::vector<Bytes> pieces = {Bytes(dump.begin(), dump.begin() + 200),
                                         Bytes(dump.begin() + 200, dump.begin() + 400),
                                         Bytes(dump.begin() + 400, dump.end())};
            if (place == 0)
                pieces.insert(pieces.begin() + 1, Bytes{realTime});
            else
                pieces[std::size_t(place - 1)].insert(pieces[std::size_t(place - 1)].begin() + 100, realTime);
            shorts.clear();
            rig.dumps.clear();
            rig.transport.StartMidiInBuffer();

            // All but the last piece; what the program is given comes before the dump has ended.
            rig.far->SendTogether(std::vector<Bytes>(pieces.begin(), pieces.end() - 1));
            ASSERT_TRUE(rig.far->WaitCycles(2));
            rig.transport.DeliverInput();
            const auto deadline = Clock::now() + JackPatience;
            while (!given.empty() && shorts.empty() && Clock::now() < deadline) {
                rig.wakes.WaitFor(1);
                rig.wakes.Take();
                rig.transport.DeliverInput();
            }
            EXPECT_EQ(shorts, given) << "before the dump ended";
            EXPECT_TRUE(rig.dumps.empty());

            rig.far->Send(pieces.back());
            ASSERT_TRUE(rig.WaitForDumps(1)) << "the dump around the real-time byte was not taken";
            EXPECT_EQ(rig.dumps[0], dump);
            EXPECT_EQ(shorts, given);
            rig.transport.StopMidiInBuffer();
        }
}

namespace {

// Armed with a path, the first bind there that fails takes away the folder standing in its way,
// as soon as it has failed: what stood in the way of a client's socket has gone by the time the
// client is asked again, however late that comes.
struct LiftedBlock {
    std::mutex mutex;
    std::string path; // armed while not empty
    int refused = 0;  // binds refused there while armed
} lifting;

} // namespace

// In place of the C library's bind for the whole test program; libjack's calls come here.
extern "C" int bind(int fd, const sockaddr* address, socklen_t length)
{
    using Bind = int (*)(int, const sockaddr*, socklen_t);
    static const auto next = reinterpret_cast<Bind>(dlsym(RTLD_NEXT, "bind"));
    const int bound = next(fd, address, length);
    if (bound != 0 && address && address->sa_family == AF_UNIX) {
        const int error = errno;
        const auto* at = reinterpret_cast<const sockaddr_un*>(address);
        std::lock_guard lock(lifting.mutex);
        if (!lifting.path.empty() && lifting.path == at->sun_path && lifting.refused++ == 0) {
            std::error_code ignored;
            std::filesystem::remove(lifting.path, ignored);
        }
        errno = error;
    }
    return bound;
}

// JACK refuses a client while something stands in the way of its socket (as for a moment after a
// client of the same name has gone). Once: asked again after a pause. For good: the lists say that
// JACK refused and why, never that there are no devices.
TEST(JackMidi, AClientJackRefusesIsAskedAgainOnceAndThenToldWithItsCause)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("refused");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    // JACK 1.9 binds a new client's socket at this path; a folder there makes the bind fail.
    const std::filesystem::path block = "/dev/shm/jack_" + EditorClientName() + "_" + std::to_string(getuid()) + "_0";
    ASSERT_TRUE(std::filesystem::create_directory(block)) << block;

    // Refused once: the block goes with the refusal.
    {
        std::lock_guard lock(lifting.mutex);
        lifting.path = block.string();
        lifting.refused = 0;
    }
    std::vector<platform::MidiPortName> inputs;
    EXPECT_NO_THROW(inputs = backend->Inputs()) << "a refusal that passed was not asked again";
    int refused = 0;
    {
        std::lock_guard lock(lifting.mutex);
        refused = lifting.refused;
        lifting.path.clear();
    }
    std::filesystem::remove(block);
    EXPECT_EQ(refused, 1) << "binds refused at " << block << " (is the socket path of this JACK version another?)";
    EXPECT_TRUE(std::any_of(inputs.begin(), inputs.end(), [&](const auto& p) { return p.FullName == far.OutPort(); }));

    ASSERT_TRUE(std::filesystem::create_directory(block));
    try {
        backend->Outputs();
        ADD_FAILURE() << "the outputs were listed while JACK refused the client (is the socket path of this "
                         "JACK version another?)";
    } catch (const platform::MidiError& e) {
        EXPECT_EQ(std::string(e.what()), "JACK refused the client \"" + EditorClientName() +
                                             "\": the server could not set the client up (status 0x21).");
    }
    std::filesystem::remove(block);
}
