// The transport over real MIDI ports of a JACK server.
#include "tests/support/JackPorts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sysex(std::size_t size, std::uint8_t group, std::uint8_t seed)
{
    Bytes m(size);
    for (std::size_t i = 0; i < size; ++i) m[i] = std::uint8_t((i * 7 + seed) & 0x7F);
    m[0] = 0xF0;
    m[1] = 0x43;
    m[2] = group;
    m[3] = 0x5E;
    m.back() = 0xF7;
    return m;
}

} // namespace

TEST(JackMidi, MessagesCrossRealJackPortsByteExact)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("far");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend();
    Mailbox<int> wakes;
    TMidiTransport transport(*backend, [&] { wakes.Push(1); });
    Bytes received;
    transport.OnLongData = [&](const std::uint8_t* data, int length) { received.assign(data, data + length); };
    ASSERT_TRUE(far.Connect(transport));
    for (const auto& name : transport.OutputNames())
        EXPECT_NE(name.rfind("Quillmarven", 0), 0u) << "own port listed: " << name;

    // A parameter change, a voice dump and a 13,000-byte relay of twenty-one dumps.
    const Bytes change = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x64, 0xF7};
    const Bytes dump = Sysex(619, 0x00, 1);
    Bytes relay;
    std::vector<Bytes> expected = {change, dump};
    for (int i = 0; i < 21; ++i) {
        expected.push_back(Sysex(i == 20 ? 620 : 619, 0x00, std::uint8_t(i + 2)));
        relay.insert(relay.end(), expected.back().begin(), expected.back().end());
    }
    ASSERT_EQ(relay.size(), 13000u);
    transport.SendSysEx(change.data(), int(change.size()), 3);
    transport.SendSysEx(dump.data(), int(dump.size()), 3);
    transport.SendSysEx(relay.data(), int(relay.size()), 3);
    expected[0][2] = 0x13;
    expected[1][2] = 0x03;
    expected[2][2] = 0x03;
    EXPECT_EQ(far.Received.WaitFor(expected.size()), expected) << far.XRuns() << " late cycles";

    // And the other way: a dump answered into the queued input buffer.
    transport.StartMidiInBuffer();
    far.Send(dump);
    ASSERT_FALSE(wakes.WaitFor(1).empty()) << "the dump sent to the program's input did not arrive";
    transport.DeliverInput();
    EXPECT_EQ(received, dump);
    transport.StopMidiInBuffer();

    // The longest message RtMidi's JACK output carries arrives whole; one byte more is
    // refused, not lost silently.
    const Bytes longest = Sysex(platform::JackMaxMessageSize, 0x00, 8);
    transport.SendSysEx(longest.data(), int(longest.size()), 0);
    const auto all = far.Received.WaitFor(expected.size() + 1);
    ASSERT_EQ(all.size(), expected.size() + 1) << "the longest message did not arrive";
    EXPECT_EQ(all.back(), longest);
    const Bytes tooLong = Sysex(platform::JackMaxMessageSize + 1, 0x00, 9);
    EXPECT_THROW(transport.SendSysEx(tooLong.data(), int(tooLong.size()), 0), EMidiError);

    transport.CloseMidiIn();
    transport.CloseMidiOut();
}

TEST(JackMidi, OpensThePortItListedWhateverCameOrWentSince)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    auto other = std::make_unique<JackFarEnd>("other");
    JackFarEnd far("listed");
    ASSERT_EQ(far.Trouble() + other->Trouble(), "");
    auto backend = platform::CreateMidiBackend();
    Mailbox<int> wakes;
    TMidiTransport transport(*backend, [&] { wakes.Push(1); });
    Bytes received;
    transport.OnLongData = [&](const std::uint8_t* data, int length) { received.assign(data, data + length); };

    // The ports are listed; then the other client goes, and the ports after it move up a place.
    const auto inputs = transport.InputNames();
    const auto outputs = transport.OutputNames();
    const auto in = std::find(inputs.begin(), inputs.end(), far.OutPort());
    const auto out = std::find(outputs.begin(), outputs.end(), far.InPort());
    ASSERT_TRUE(in != inputs.end() && out != outputs.end());
    other.reset();
    transport.OpenMidiPorts(int(in - inputs.begin()), int(out - outputs.begin()), -1);

    const Bytes change = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x64, 0xF7};
    transport.SendSysEx(change.data(), int(change.size()), 0);
    EXPECT_EQ(far.Received.WaitFor(1), std::vector<Bytes>{change}) << "the message did not reach the listed port";
    transport.StartMidiInBuffer();
    far.Send(change);
    ASSERT_FALSE(wakes.WaitFor(1).empty()) << "nothing came from the listed port";
    transport.DeliverInput();
    EXPECT_EQ(received, change);
}

TEST(JackMidi, PortsCloseAndOpenAgainWhileJackDelivers)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("busy");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend();
    std::atomic<int> wakes{0};
    TMidiTransport transport(*backend, [&] { ++wakes; });
    // The far end sends something every cycle, a dump among notes, while the program's ports are
    // closed and opened again under it: nothing may reach a port that is gone.
    struct Flood {
        JackFarEnd& far;
        std::atomic<bool> stop{false};
        std::thread thread{[this] {
            const Bytes dump = Sysex(619, 0x00, 3);
            while (!stop) {
                far.Send({0x90, 60, 100});
                far.Send(dump);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }};
        ~Flood()
        {
            stop = true;
            thread.join();
        }
    };
    const Bytes change = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x64, 0xF7};
    {
        Flood flood{far};
        for (int round = 0; round < 5; ++round) {
            ASSERT_TRUE(far.Connect(transport)) << "round " << round << ": the far end's ports are not listed";
            transport.StartMidiInBuffer();
            transport.SendSysEx(change.data(), int(change.size()), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            transport.CloseMidiIn();
            transport.CloseMidiOut();
        }
    }
    EXPECT_GT(wakes.load(), 0) << "nothing came from the far end";
    EXPECT_GE(far.Received.WaitFor(5).size(), 5u) << "a message sent before a close was lost";
}
