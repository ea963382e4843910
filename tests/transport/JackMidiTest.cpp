// The transport over real MIDI ports of a JACK server.
#include "tests/support/JackPorts.h"
#include "tests/support/Patience.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using Bytes = std::vector<std::uint8_t>;

// The output holds 16,383 bytes, each message with four bytes of length before it.
constexpr std::size_t Room = 16383, Length = 4;

TEST(JackMidi, MessagesCrossRealJackPortsByteExact)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("far");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    Mailbox<int> wakes;
    TMidiTransport transport(*backend, [&] { wakes.Push(1); });
    Bytes received;
    transport.OnLongData = [&](const std::uint8_t* data, int length) { received.assign(data, data + length); };
    ASSERT_TRUE(far.Connect(transport));
    for (const auto& name : transport.OutputNames())
        EXPECT_NE(name.rfind(EditorClientName(), 0), 0u) << "own port listed: " << name;

    // A parameter change, a voice dump and a 13,000-byte relay of twenty-one dumps.
    const Bytes& change = JackTestChange;
    const Bytes dump = JackTestSysex(619, 0x00, 1);
    Bytes relay;
    std::vector<Bytes> expected = {change, dump};
    for (int i = 0; i < 21; ++i) {
        expected.push_back(JackTestSysex(i == 20 ? 620 : 619, 0x00, std::uint8_t(i + 2)));
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
    const Bytes longest = JackTestSysex(platform::JackMaxMessageSize, 0x00, 8);
    transport.SendSysEx(longest.data(), int(longest.size()), 0);
    const auto all = far.Received.WaitFor(expected.size() + 1);
    ASSERT_EQ(all.size(), expected.size() + 1) << "the longest message did not arrive";
    EXPECT_EQ(all.back(), longest);
    const Bytes tooLong = JackTestSysex(platform::JackMaxMessageSize + 1, 0x00, 9);
    EXPECT_THROW(transport.SendSysEx(tooLong.data(), int(tooLong.size()), 0), EMidiError);

    transport.CloseMidiIn();
    transport.CloseMidiOut();
}

// Opening the ports waits until what they carry crosses the server, and closing the output until
// what was sent last has gone out: a running server takes a few cycles for each, never the waits'
// patience (two seconds for an open, one for a close), however busy the machine. How many cycles
// they take is measured by bench/bench_jack_ports.
TEST(JackMidi, OpeningAndClosingThePortsTakeAFewCyclesNotTheirPatience)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("cycles");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    Mailbox<int> wakes;
    TMidiTransport transport(*backend, [&] { wakes.Push(1); });
    const int runOut = platform::JackClient::WaitsRunOut();

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round + 1));
        ASSERT_TRUE(far.Connect(transport));
        transport.SendSysEx(JackTestChange.data(), int(JackTestChange.size()), 0);
        transport.CloseMidiIn();
        transport.CloseMidiOut();
        // The change, then the notes switched off on each of the 16 channels as the output closed.
        const std::size_t each = 17, sent = each * std::size_t(round + 1);
        const auto got = far.Received.WaitFor(sent);
        ASSERT_EQ(got.size(), sent) << "what was sent before and at the close did not all arrive";
        EXPECT_EQ(got[sent - each], JackTestChange);
        EXPECT_EQ(platform::JackClient::WaitsRunOut(), runOut) << "a wait ran out its patience";
    }
}

TEST(JackMidi, OpensThePortItListedWhateverCameOrWentSince)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    auto other = std::make_unique<JackFarEnd>("other");
    JackFarEnd far("listed");
    ASSERT_EQ(far.Trouble() + other->Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
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

    const Bytes& change = JackTestChange;
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
    auto backend = platform::CreateMidiBackend(EditorClientName());
    std::atomic<int> wakes{0};
    TMidiTransport transport(*backend, [&] { ++wakes; });
    // The far end sends something every cycle, a dump among notes, while the program's ports are
    // closed and opened again under it: nothing may reach a port that is gone.
    struct Flood {
        JackFarEnd& far;
        std::atomic<bool> stop{false};
        std::thread thread{[this] {
            const Bytes dump = JackTestSysex(619, 0x00, 3);
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
    const Bytes& change = JackTestChange;
    {
        Flood flood{far};
        for (int round = 0; round < 5; ++round) {
            ASSERT_TRUE(far.Connect(transport)) << "round " << round << ": the far end's ports are not listed";
            const int before = wakes.load();
            transport.StartMidiInBuffer();
            transport.SendSysEx(change.data(), int(change.size()), 0);
            // The ports close while what the far end sends still comes in.
            EXPECT_TRUE(WaitFor([&] { return wakes.load() > before; }, JackPatience))
                << "round " << round << ": nothing came from the far end";
            transport.CloseMidiIn();
            transport.CloseMidiOut();
        }
    }
    EXPECT_GE(far.Received.WaitFor(5).size(), 5u) << "a message sent before a close was lost";
}

// Bursts that fill the output's 16 KiB more than once, long and short messages mixed: pairs that
// fill the room an emptied output has to the byte, then a message that must wait for the next
// cycle, and so on around the ring at every offset. All of it arrives, byte-exact, in order.
TEST(JackMidi, BurstsThatFillTheOutputArriveWholeAndInOrder)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("burst");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    TMidiTransport transport(*backend);
    ASSERT_TRUE(far.Connect(transport));

    std::vector<Bytes> expected;
    auto send = [&](const Bytes& message) {
        if (message.size() <= 3)
            transport.SendControlChange(message[0] & 0x0F, message[1], message[2]);
        else
            transport.SendSysEx(message.data(), int(message.size()), 0);
        expected.push_back(message);
    };
    std::uint8_t seed = 0;
    for (std::size_t first : {std::size_t(10), std::size_t(619), std::size_t(8000), std::size_t(16369)}) {
        // Once the output is empty: two messages that fill it exactly, then more behind them.
        ASSERT_EQ(far.Received.WaitFor(expected.size()).size(), expected.size()) << "the burst before stalled";
        ASSERT_TRUE(far.WaitCycles(2));
        send(JackTestSysex(first, 0x00, ++seed));
        send(JackTestSysex(Room - 2 * Length - first, 0x00, ++seed));
        send({0xB3, 7, std::uint8_t(seed & 0x7F)});
        for (std::size_t size : {std::size_t(619), std::size_t(411), std::size_t(87), std::size_t(10)})
            for (int i = 0; i < 12; ++i) {
                send(JackTestSysex(size + std::size_t(i), 0x00, ++seed));
                send({0xB0, std::uint8_t(i), std::uint8_t(seed & 0x7F)});
            }
        send(JackTestSysex(platform::JackMaxMessageSize, 0x00, ++seed));
        send({0xB1, 1, std::uint8_t(seed & 0x7F)});
    }
    std::size_t bytes = 0;
    for (const Bytes& message : expected) bytes += message.size() + Length;
    ASSERT_GT(bytes, 4 * Room);
    const auto got = far.Received.WaitFor(expected.size());
    ASSERT_EQ(got.size(), expected.size()) << "messages lost; " << far.XRuns() << " late cycles";
    for (std::size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(got[i], expected[i]) << "message " << i << "; " << far.XRuns() << " late cycles";
}

// A message that finds one to four bytes too little room in the output (its four bytes of length
// counted) waits for the cycle that empties it, behind a message that filled the output almost
// to the end: it never goes in cut short, which would garble it and everything after it.
TEST(JackMidi, AMessageAFewBytesTooLongForTheRoomLeftWaitsAndArrivesWhole)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("room");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    TMidiTransport transport(*backend);
    ASSERT_TRUE(far.Connect(transport));

    std::vector<Bytes> expected;
    std::uint8_t seed = 0;
    for (std::size_t first : {std::size_t(10), std::size_t(619), std::size_t(8000)})
        for (std::size_t over = 1; over <= Length; ++over) {
            SCOPED_TRACE("after " + std::to_string(first) + " bytes, " + std::to_string(over) + " too many");
            // The output is empty: the first message, then one that misses the room left by
            // `over` bytes, then a short one behind it.
            ASSERT_TRUE(far.WaitCycles(2));
            const Bytes filler = JackTestSysex(first, 0x00, ++seed);
            const Bytes tight = JackTestSysex(Room - Length - first - Length + over, 0x00, ++seed);
            const Bytes after = {0xB2, 7, std::uint8_t(seed & 0x7F)};
            transport.SendSysEx(filler.data(), int(filler.size()), 0);
            transport.SendSysEx(tight.data(), int(tight.size()), 0);
            transport.SendControlChange(2, after[1], after[2]);
            expected.insert(expected.end(), {filler, tight, after});
            const auto got = far.Received.WaitFor(expected.size());
            std::string sizes;
            for (std::size_t i = got.size() > 3 ? got.size() - 3 : 0; i < got.size(); ++i)
                sizes += " " + std::to_string(got[i].size());
            ASSERT_TRUE(got == expected) << "sent " << first << ", " << tight.size()
                                         << " and 3 bytes; the last to come:" << sizes << "; " << far.XRuns()
                                         << " late cycles";
        }
}

// What is sent just before an output closes still arrives: a send right before the ports are
// chosen again, and the All Notes Off the close itself sends.
TEST(JackMidi, WhatIsSentJustBeforeAnOutputClosesArrives)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd far("closing");
    ASSERT_EQ(far.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    TMidiTransport transport(*backend);
    const Bytes& change = JackTestChange;
    const Bytes dump = JackTestSysex(619, 0x00, 4);
    std::vector<Bytes> expected;
    auto allNotesOff = [&] {
        for (std::uint8_t channel = 0; channel < 16; ++channel)
            expected.push_back({std::uint8_t(0xB0 | channel), 123, 0});
    };
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(far.Connect(transport));
        transport.SendSysEx(dump.data(), int(dump.size()), 0);
        transport.SendSysEx(change.data(), int(change.size()), 0);
        expected.push_back(dump);
        expected.push_back(change);
        allNotesOff(); // the ports are chosen again: the old output is silenced and closed
        transport.CloseMidiIn();
        transport.CloseMidiOut();
    }
    EXPECT_EQ(far.Received.WaitFor(expected.size()), expected) << far.XRuns() << " late cycles";
}

// A second copy of the program on the same server ("<name>-01") offers ports like any client;
// they are never offered as devices, in the input list nor in the output list. A client whose
// name only begins like the program's is.
TEST(JackMidi, PortsOfASecondCopyOfTheProgramAreNeverOffered)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    JackFarEnd copy("copy", EditorClientName() + "-01");
    JackFarEnd other("other", EditorClientName() + "-01x");
    JackFarEnd longer("longer", EditorClientName() + "2");
    ASSERT_EQ(copy.Trouble() + other.Trouble() + longer.Trouble(), "");
    auto backend = platform::CreateMidiBackend(EditorClientName());
    TMidiTransport transport(*backend);
    const auto inputs = transport.InputNames();
    const auto outputs = transport.OutputNames();
    auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    EXPECT_FALSE(listed(inputs, copy.OutPort()));
    EXPECT_FALSE(listed(outputs, copy.InPort()));
    for (const JackFarEnd* end : {&other, &longer}) {
        EXPECT_TRUE(listed(inputs, end->OutPort())) << end->OutPort();
        EXPECT_TRUE(listed(outputs, end->InPort())) << end->InPort();
    }
    // And the program's own ports, once open (one client for each, the second one "<name>-01"),
    // are not offered either.
    ASSERT_TRUE(other.Connect(transport));
    for (const auto& names : {transport.InputNames(), transport.OutputNames()})
        for (const auto& name : names) {
            const std::string client = name.substr(0, name.find(':'));
            if (client.rfind(EditorClientName(), 0) == 0) {
                EXPECT_TRUE(client == EditorClientName() + "-01x" || client == EditorClientName() + "2")
                    << "offered: " << name;
            }
        }
}
