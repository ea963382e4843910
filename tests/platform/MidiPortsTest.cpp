// MIDI port names, message splitting, the in-process MIDI system, the ALSA back end's port lookup and
// the wait of a send to a full output.

#include "platform/MidiInProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ProcState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include <sys/syscall.h>
#include <unistd.h>

using platform::InProcessMidi;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Whether the thread `tid` of this process is asleep (waiting for a lock, a condition or a time).
bool ThreadAsleep(pid_t tid)
{
    return ProcState("/proc/self/task/" + std::to_string(tid) + "/stat") == 'S';
}

} // namespace

TEST(MidiNames, ClientPortNumbersAreDroppedForMatching)
{
    using platform::NameWithoutClientPort;
    // The same device after a restart of the MIDI system, with other numbers.
    EXPECT_EQ(NameWithoutClientPort("FS1R:FS1R MIDI 1 24:0"), "FS1R:FS1R MIDI 1");
    EXPECT_EQ(NameWithoutClientPort("FS1R:FS1R MIDI 1 28:0"), "FS1R:FS1R MIDI 1");
    EXPECT_EQ(NameWithoutClientPort("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
    // JACK names and names that merely end in digits stay whole.
    EXPECT_EQ(NameWithoutClientPort("system:midi_capture_1"), "system:midi_capture_1");
    EXPECT_EQ(NameWithoutClientPort("Synth 2"), "Synth 2");
    EXPECT_EQ(NameWithoutClientPort("Synth 12:"), "Synth 12:");
    EXPECT_EQ(NameWithoutClientPort("Synth:3"), "Synth:3");
    EXPECT_EQ(NameWithoutClientPort("24:0"), "24:0");
    EXPECT_EQ(NameWithoutClientPort(""), "");
}

TEST(MidiMessages, BufferIsCutBeforeF0AndAfterF7KeepingEveryByte)
{
    const Bytes buffer = {0xF0, 1, 0xF7, 0xF0, 2, 3, 0xF7, 0x00, 0xF0, 4, 0xF7, 0xF0, 5};
    std::vector<Bytes> parts;
    platform::ForEachMessage(buffer.data(), buffer.size(), [&](std::size_t offset, std::size_t length) {
        parts.emplace_back(buffer.begin() + static_cast<long>(offset),
                           buffer.begin() + static_cast<long>(offset + length));
    });
    const std::vector<Bytes> expected = {{0xF0, 1, 0xF7}, {0xF0, 2, 3, 0xF7}, {0x00}, {0xF0, 4, 0xF7}, {0xF0, 5}};
    EXPECT_EQ(parts, expected);
}

TEST(InProcessMidi, ClosingWaitsForACallbackUnderWayOnAnotherThread)
{
    InProcessMidi midi;
    auto device = midi.AddDevice("FS1R");
    std::atomic<bool> inCallback{false}, release{false}, finished{false};
    platform::MidiInputCallbacks callbacks;
    callbacks.Short = [&](std::uint8_t, std::uint8_t, std::uint8_t, double) {
        inCallback = true;
        finished = WaitFor([&] { return release.load(); }, 3 * Patience); // the test's waits come first
    };
    auto in = midi.OpenInput(0, callbacks);
    std::thread player([&] { device->PlayShort(0x90, 1, 2); });
    if (!WaitFor([&] { return inCallback.load(); })) {
        release = true;
        player.join();
        FAIL() << "the note played on the device never reached the input's callback";
    }
    // The close starts while the callback runs, and is let to wait (its thread asleep, or the
    // close already returned) before the callback is released.
    std::atomic<pid_t> closerThread{0};
    std::atomic<bool> closed{false}, callbackEndedFirst{false};
    std::thread closer([&] {
        closerThread = pid_t(::syscall(SYS_gettid));
        in.reset();
        callbackEndedFirst = finished.load();
        closed = true;
    });
    const bool waiting =
        WaitFor([&] { return closed.load() || (closerThread.load() != 0 && ThreadAsleep(closerThread.load())); });
    release = true;
    closer.join();
    player.join();
    ASSERT_TRUE(waiting) << "the close neither returned nor waited";
    EXPECT_TRUE(callbackEndedFirst) << "the close returned while the callback still ran";
}

TEST(RtMidiBackend, OpeningAPortThatIsNotListedFailsWithAText)
{
    // Whatever MIDI system this machine has (or none), there is no output number 100,000.
    auto backend = platform::CreateMidiBackend("QuillmarvenTest");
    try {
        backend->OpenOutput(100000);
        ADD_FAILURE() << "opened";
    } catch (const platform::MidiError& e) {
        EXPECT_STRNE(e.what(), "");
    }
}

namespace {

// An output whose MIDI system reports itself full at every try; once refusing, the next try fails.
class StaysFull : public platform::MidiOutput {
public:
    std::atomic<int> Tries{0};
    std::atomic<bool> Refusing{false};

protected:
    platform::MidiSendResult SendMessage(const std::uint8_t*, std::size_t) override
    {
        ++Tries;
        return Refusing ? platform::MidiSendResult::Failed : platform::MidiSendResult::Full;
    }
    std::string LastError() override { return Refusing ? "refused by the test" : "The output is full."; }
};

} // namespace

// A send to an output that stays full tries again for FullOutputPatience, then gives up with the
// MIDI system's text. The send runs on a thread of its own with a deadline: one that waits for
// ever fails here within seconds, saying so, and is then refused to end it.
TEST(MidiOutput, ASendToAnOutputThatStaysFullGivesUpAfterItsPatience)
{
    using Send = void (*)(platform::MidiOutput&);
    const std::pair<const char*, Send> sends[] = {
        {"a system-exclusive message",
         [](platform::MidiOutput& out) {
             const Bytes change = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x64, 0xF7};
             out.SendLong(change.data(), change.size());
         }},
        {"a control change", [](platform::MidiOutput& out) { out.SendShort(0xB0, 7, 100); }},
    };
    for (const auto& [what, send] : sends) {
        SCOPED_TRACE(what);
        auto output = std::make_shared<StaysFull>();
        std::packaged_task<std::string()> task([output, send] {
            try {
                send(*output);
                return std::string("sent");
            } catch (const platform::MidiError& e) {
                return std::string(e.what());
            }
        });
        std::future<std::string> said = task.get_future();
        const auto start = std::chrono::steady_clock::now();
        std::thread sender(std::move(task));
        const bool ended = said.wait_for(platform::FullOutputPatience + Patience) == std::future_status::ready;
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (!ended) output->Refusing = true;
        if (ended || said.wait_for(Patience) == std::future_status::ready)
            sender.join();
        else
            sender.detach(); // it holds what it uses
        ASSERT_TRUE(ended) << "the send to an output that stays full still waited after " << waited.count() << " ms";
        EXPECT_EQ(said.get(), "The output is full.");
        EXPECT_GE(waited, platform::FullOutputPatience);
        EXPECT_GT(output->Tries.load(), 1) << "it did not try again while it waited";
    }
}

// The ALSA back end's lookup over the names RtMidi reports, as the JACK back end's is tried over
// real ports: the port opened is the one the list showed, whatever came or went since; the
// program's own ports (and a second copy's) are never offered; a number beyond the list is no port.
TEST(RtMidiLookup, OpensThePortItListedWhateverCameOrWentSince)
{
    using platform::OfferedPorts;
    using platform::PlaceOfOfferedPort;
    const std::string me = "Quillmarven";
    const std::string through = "Midi Through:Midi Through Port-0 14:0", other = "Other:Other MIDI 1 20:0",
                      fs1r = "FS1R:FS1R MIDI 1 24:0", own = "Quillmarven:MIDI In 128:0";
    std::vector<platform::MidiPortName> listed;
    for (auto& port : OfferedPorts({own, through, other, fs1r}, me)) listed.push_back(port.Name);
    const platform::MidiPortName& chosen = platform::ListedPort(listed, 2, "output");
    EXPECT_EQ(chosen.Name, "FS1R:FS1R MIDI 1");
    ASSERT_EQ(chosen.FullName, fs1r);

    struct Case {
        const char* what;
        std::vector<std::string> reported;
        std::size_t place; // RtMidi's, which opens it
    };
    const Case cases[] = {
        {"as listed", {own, through, other, fs1r}, 3},
        {"the other client went: the ports after it moved up", {own, through, fs1r}, 2},
        {"a client came before it", {"New:New MIDI 1 30:0", own, through, other, fs1r}, 4},
        {"the program's own ports and a nameless one before it", {own, "Quillmarven:MIDI Out 129:0", "", fs1r}, 3},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaceOfOfferedPort(c.reported, chosen.FullName, me), c.place) << c.what;
    try {
        PlaceOfOfferedPort({own, through, other}, fs1r, me);
        ADD_FAILURE() << "a port that went was opened";
    } catch (const platform::MidiError& e) {
        EXPECT_STREQ(e.what(), "The MIDI device \"FS1R:FS1R MIDI 1\" is not present.");
    }

    // A second copy of the program ("<name>-01") is never offered; clients whose names only begin
    // like the program's are.
    const std::vector<std::string> reported = {own, "Quillmarven-01:MIDI In 129:0", "Quillmarven-01x:out 130:0",
                                               "Quillmarven2:out 131:0", ""};
    std::vector<std::pair<std::size_t, std::string>> offered;
    for (auto& port : OfferedPorts(reported, me)) offered.emplace_back(port.Place, port.Name.FullName);
    EXPECT_EQ(offered, (std::vector<std::pair<std::size_t, std::string>>{{2, reported[2]}, {3, reported[3]}}));
    EXPECT_THROW(PlaceOfOfferedPort(reported, reported[1], me), platform::MidiError) << "a second copy's port";

    // Numbers beyond the list the caller was shown.
    for (int index : {-1, 3}) {
        try {
            platform::ListedPort(listed, index, "input");
            ADD_FAILURE() << "device number " << index;
        } catch (const platform::MidiError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The MIDI input device number " + std::to_string(index) + " is not present.");
        }
    }
}
