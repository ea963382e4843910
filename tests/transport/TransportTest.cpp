// The MIDI transport against the in-process MIDI system.

#include "TransportFixture.h"

#include <atomic>
#include <future>
#include <thread>

using platform::InProcessMidi;

TEST_F(TransportTest, SameBufferSentThreeTimesCarriesTheDeviceNumberOnce)
{
    transport.OpenMidiPorts(0, 0, -1);
    const Bytes message = ParameterChange(0x30, 0x00, 0x0B, 0x64);
    for (int i = 0; i < 3; ++i) transport.SendSysEx(message.data(), int(message.size()), 3);
    EXPECT_EQ(message, ParameterChange(0x30, 0x00, 0x0B, 0x64)) << "the caller's buffer changed";
    Bytes expected = message;
    expected[2] = 0x13;
    EXPECT_EQ(fs1r->Received(), std::vector<Bytes>(3, expected));

    fs1r->ClearReceived();
    transport.SendSysEx(message.data(), int(message.size()), 0);
    EXPECT_EQ(fs1r->Received(), std::vector<Bytes>{message});
}

TEST_F(TransportTest, RelayGoesOutMessageByMessageWithOnlyTheFirstByte2Changed)
{
    transport.OpenMidiPorts(0, 0, -1);
    // A 13,000-byte relayed file: twenty voice dumps and one a byte longer.
    Bytes relay;
    std::vector<Bytes> parts;
    for (int i = 0; i < 21; ++i) {
        parts.push_back(Dump(i == 20 ? 609 : 608, std::uint8_t(i)));
        relay.insert(relay.end(), parts.back().begin(), parts.back().end());
    }
    ASSERT_EQ(relay.size(), 13000u);
    const Bytes original = relay;
    transport.SendSysEx(relay.data(), int(relay.size()), 5);
    EXPECT_EQ(relay, original);
    parts[0][2] = 0x05;
    EXPECT_EQ(fs1r->Received(), parts);
}

TEST_F(TransportTest, MessageLongerThanTheOutputCarriesRaisesInsteadOfVanishing)
{
    fs1r->SetMaxMessageSize(platform::JackMaxMessageSize);
    transport.OpenMidiPorts(0, 0, -1);
    // A relay whose second message is one byte too long: refused before anything goes out.
    Bytes relay = ParameterChange(0x10, 0, 0x10, 1);
    const Bytes big = Dump(platform::JackMaxMessageSize - 10, 0x01);
    relay.insert(relay.end(), big.begin(), big.end());
    EXPECT_THROW(transport.SendSysEx(relay.data(), int(relay.size()), 0), EMidiError);
    EXPECT_TRUE(fs1r->Received().empty());
    transport.SendSysEx(big.data(), int(big.size()) - 1, 0); // cut short, it fits
    const Bytes small = ParameterChange(0x10, 0, 0x10, 1);
    transport.SendSysEx(small.data(), int(small.size()), 0);
    EXPECT_EQ(fs1r->Received().size(), 2u);
}

TEST_F(TransportTest, SendToAFullOutputWaitsForRoomAndFailsOnlyWhenItStaysFull)
{
    transport.OpenMidiPorts(0, 0, -1);
    const Bytes change = ParameterChange(0x10, 0, 0x10, 1);
    fs1r->ReportFull(5); // a JACK output the server has not emptied yet
    transport.SendSysEx(change.data(), int(change.size()), 0);
    EXPECT_EQ(fs1r->Received(), std::vector<Bytes>{change});

    fs1r->ReportFull(1 << 30); // a server that takes nothing more
    // The send runs with a deadline of its own: one that waits for ever fails here, saying so,
    // and is then let through to end it.
    const auto start = std::chrono::steady_clock::now();
    auto send = std::async(std::launch::async, [&] {
        try {
            transport.SendSysEx(change.data(), int(change.size()), 0);
            return false;
        } catch (const EMidiError&) {
            return true;
        }
    });
    const bool ended =
        send.wait_for(platform::FullOutputPatience + std::chrono::seconds(5)) == std::future_status::ready;
    if (!ended) fs1r->ReportFull(0);
    const bool thrown = send.get();
    ASSERT_TRUE(ended) << "the send to an output that stays full did not give up";
    EXPECT_TRUE(thrown) << "the send to an output that stays full did not fail";
    EXPECT_GE(std::chrono::steady_clock::now() - start, platform::FullOutputPatience);
    EXPECT_EQ(fs1r->Received().size(), 1u);
}

TEST_F(TransportTest, ShortMessagesAndSendsWithoutAnOutput)
{
    const Bytes message = ParameterChange(0x10, 0, 0x10, 1);
    transport.SendSysEx(message.data(), int(message.size()), 0); // nothing open: nothing happens
    transport.SendNoteOn(0, 60, 100);

    transport.OpenMidiPorts(0, 0, -1);
    transport.SendNoteOn(9, 0x3C, 0x40);
    transport.SendNoteOn(0, 0x3C, 0); // the note-off form
    transport.SendControlChange(15, 121, 0);
    EXPECT_EQ(fs1r->Received(), (std::vector<Bytes>{{0x99, 0x3C, 0x40}, {0x90, 0x3C, 0x00}, {0xBF, 121, 0}}));
}

TEST_F(TransportTest, InputBufferTakesOnlyTheFirstDumpOfAPendingRequest)
{
    transport.OpenMidiPorts(0, 0, -1);
    const Bytes dump = Dump(608, 0x22);
    fs1r->Play(dump); // no request yet: the instrument input is not running
    fs1r->PlayShort(0xB0, 7, 100);
    Deliver();
    EXPECT_TRUE(longData.empty() && shortData.empty());

    transport.StartMidiInBuffer();
    EXPECT_TRUE(transport.IsInputBufferQueued());
    fs1r->Play(dump);
    fs1r->Play(Dump(400, 0x33)); // a second dump of the same request finds no buffer
    fs1r->PlayShort(0xB0, 7, 100);
    Deliver();
    ASSERT_EQ(longData.size(), 1u);
    EXPECT_EQ(longData[0], dump);
    EXPECT_EQ(shortData, std::vector<Bytes>{Bytes({0xB0, 7, 100})});
    transport.StopMidiInBuffer();
    EXPECT_FALSE(transport.IsInputBufferQueued());

    // A dump that arrived in time counts, even when the UI thread only gets to it at the stop;
    // one that arrives after the stop does not.
    transport.StartMidiInBuffer();
    fs1r->Play(dump);
    transport.StopMidiInBuffer();
    fs1r->Play(dump);
    Deliver();
    EXPECT_EQ(longData.size(), 2u);

    // The next request gets its own buffer; an oversized message is cut to it.
    transport.StartMidiInBuffer();
    Bytes huge = Dump(40000, 0x44);
    fs1r->Play(huge);
    Deliver();
    ASSERT_EQ(longData.size(), 3u);
    huge.resize(TMidiInBuffer::Size);
    EXPECT_EQ(longData[2], huge);
}

TEST_F(TransportTest, InputFromAnotherThreadReachesTheHandlersOnTheUiThread)
{
    transport.OpenMidiPorts(0, 0, 1);
    transport.StartMidiInBuffer();
    std::thread::id handlerThread;
    transport.OnLongData = [&](const std::uint8_t* data, int length) {
        handlerThread = std::this_thread::get_id();
        longData.emplace_back(data, data + length);
    };
    const Bytes dump = Dump(608, 0x55);
    std::thread midiThread([&] {
        fs1r->Play(dump);
        keyboard->PlayShort(0x99, 0x3C, 0x40);
    });
    midiThread.join();
    EXPECT_TRUE(longData.empty()) << "a handler ran on the MIDI thread";
    EXPECT_GT(wakes, 0);
    Deliver();
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    EXPECT_EQ(longData, std::vector<Bytes>{dump});
    EXPECT_EQ(shortData, std::vector<Bytes>{Bytes({0x99, 0x3C, 0x40})});
}

TEST_F(TransportTest, KeyboardIsPlayedThroughUntilCutAndAgainWhenConnected)
{
    transport.OpenMidiPorts(0, 0, 1);
    EXPECT_TRUE(transport.KeyboardThruOn);
    // Byte for byte as a keyboard sends them: program change and channel pressure carry one data
    // byte.
    keyboard->Play({0x90, 60, 90});
    keyboard->Play({0xC0, 5});
    keyboard->Play({0xD3, 0x40});
    transport.CutKeyboardThru();
    keyboard->Play({0x90, 62, 90});
    transport.ConnectKeyboardThru();
    keyboard->Play({0x80, 60, 0});
    EXPECT_EQ(fs1r->Received(), (std::vector<Bytes>{{0x90, 60, 90}, {0xC0, 5}, {0xD3, 0x40}, {0x80, 60, 0}}));
    // The keyboard's messages reach the caption monitor whether or not they go through.
    Deliver();
    EXPECT_EQ(shortData,
              (std::vector<Bytes>{{0x90, 60, 90}, {0xC0, 5, 0}, {0xD3, 0x40, 0}, {0x90, 62, 90}, {0x80, 60, 0}}));
    // Long messages from the keyboard are not taken, even with a buffer queued.
    transport.StartMidiInBuffer();
    keyboard->Play(Dump(10, 1));
    Deliver();
    EXPECT_TRUE(longData.empty());
}

TEST_F(TransportTest, ThruFromItsOwnThreadSurvivesTheOutputBeingReplacedAndClosed)
{
    transport.OpenMidiPorts(0, 0, 1);
    std::atomic<bool> stop{false};
    std::thread player([&] {
        while (!stop) keyboard->PlayShort(0x90, 60, 1);
    });
    for (int i = 0; i < 50; ++i) {
        transport.OpenMidiOut(0);
        transport.ConnectKeyboardThru();
        const Bytes m = ParameterChange(0x10, 0, 0x10, std::uint8_t(i));
        transport.SendSysEx(m.data(), int(m.size()), 0);
    }
    transport.CloseMidiOut();
    stop = true;
    player.join();
    for (const Bytes& m : fs1r->Received())
        EXPECT_TRUE(m == Bytes({0x90, 60, 1}) || m.size() == 10 || (m[0] & 0xF0) == 0xB0) << int(m[0]);
}

TEST_F(TransportTest, FailedOpenLeavesNoHalfOpenPair)
{
    // Output 1 fails after input 0 has been opened.
    auto out = midi.AddDevice("Broken out", false, true);
    out->FailOpen("MIDI output in use");
    try {
        transport.OpenMidiPorts(0, 1, -1);
        ADD_FAILURE() << "opened";
    } catch (const EMidiError& e) {
        EXPECT_STREQ(e.what(), "MIDI output in use");
    }
    EXPECT_FALSE(transport.MidiPortsOpen);
    EXPECT_FALSE(transport.IsMidiInOpen());
    EXPECT_EQ(fs1r->OpenInputs(), 0);

    EXPECT_THROW(transport.OpenMidiPorts(7, 0, -1), EMidiError);
    EXPECT_FALSE(transport.IsMidiOutOpen());

    // Only the keyboard fails: the pair stays open and usable.
    keyboard->FailOpen("keyboard unplugged");
    EXPECT_THROW(transport.OpenMidiPorts(0, 0, 1), EMidiError);
    EXPECT_TRUE(transport.MidiPortsOpen);
    EXPECT_FALSE(transport.KeyboardThruOn);
    EXPECT_FALSE(transport.IsKeyboardInOpen());
    EXPECT_EQ(fs1r->OpenInputs(), 1);
    EXPECT_EQ(fs1r->OpenOutputs(), 1);

    // Opening again replaces the devices instead of stacking them.
    keyboard->FailOpen("");
    transport.OpenMidiPorts(0, 0, 1);
    EXPECT_EQ(fs1r->OpenInputs(), 1);
    EXPECT_EQ(fs1r->OpenOutputs(), 1);
    EXPECT_EQ(keyboard->OpenInputs(), 1);
}

TEST_F(TransportTest, ClosingReleasesEverythingAndSilencesTheOutput)
{
    transport.OpenMidiPorts(0, 0, 1);
    transport.StartMidiInBuffer();
    fs1r->Play(Dump(608, 1)); // arrives, but the UI thread only gets to it after the close

    transport.CloseMidiIn();
    EXPECT_TRUE(transport.MidiPortsOpen) << "CloseMidiOut still has to see it";
    EXPECT_FALSE(transport.KeyboardThruOn);
    EXPECT_FALSE(transport.IsInputBufferQueued());
    EXPECT_EQ(fs1r->OpenInputs(), 0);
    EXPECT_EQ(keyboard->OpenInputs(), 0);
    Deliver();
    EXPECT_TRUE(longData.empty());

    transport.CloseMidiOut();
    EXPECT_FALSE(transport.MidiPortsOpen);
    EXPECT_EQ(fs1r->OpenOutputs(), 0);
    const auto sent = fs1r->Received();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent[0], (Bytes{0xB0, 123, 0}));
    EXPECT_EQ(sent[15], (Bytes{0xBF, 123, 0}));

    // Closed devices are never used again.
    const Bytes m = ParameterChange(0x10, 0, 0x10, 1);
    transport.SendSysEx(m.data(), int(m.size()), 0);
    transport.ConnectKeyboardThru();
    transport.CloseMidiIn();
    transport.CloseMidiOut();
    EXPECT_EQ(fs1r->Received().size(), 16u);
}

TEST(ReceivedMidiCaption, MonitorTextsOfShortMessages)
{
    const std::string blanks(20, ' ');
    EXPECT_EQ(ReceivedMidiCaption("Quillmarven", 0x99, 0x3C, 0x40),
              "Quillmarven" + blanks + "Received MIDI Data : CH 10 NOTE ON 3C 40");
    EXPECT_EQ(ReceivedMidiCaption("Quillmarven (Changed)", 0xF3, 0x05, 0x00), "Quillmarven (Changed)F3 05 00");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0x80, 0x7F, 0x00), "Q" + blanks + "Received MIDI Data : CH 1 NOTE OFF 7F 00");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0xA1, 1, 2), "Q" + blanks + "Received MIDI Data : CH 2 POLY AFTER 01 02");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0xBF, 0x0A, 0x0B),
              "Q" + blanks + "Received MIDI Data : CH 16 CTRL CHANGE 0A 0B");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0xC0, 0x05, 0), "Q" + blanks + "Received MIDI Data : CH 1 PROG CHANGE 05 00");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0xD3, 0x40, 0), "Q" + blanks + "Received MIDI Data : CH 4 CH AFTER TOUCH 40 00");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0xEE, 0x00, 0x40), "Q" + blanks + "Received MIDI Data : CH 15 PITCH BEND 00 40");
    EXPECT_EQ(ReceivedMidiCaption("Q", 0xFF, 0, 0), "QFF 00 00");
    EXPECT_FALSE(ReceivedMidiCaption("Q", 0xF8, 0, 0).has_value());
    EXPECT_FALSE(ReceivedMidiCaption("Q", 0xFE, 0, 0).has_value());
}

TEST_F(TransportTest, PacketsArePassedOnAsWholeMessagesOnly)
{
    transport.OpenMidiPorts(0, 0, -1);
    transport.StartMidiInBuffer();
    const Bytes dump = Dump(400, 0x11);
    // What RtMidi hands over after a device left a message unclosed: the broken start, a note,
    // clock in the middle of the dump, and the dump itself, in one packet.
    Bytes packet = {0xF0, 0x43, 0x00, 0x5E, 0x03, 0x10, 0x90, 0x3C, 0x40, 0x7F};
    packet.insert(packet.end(), dump.begin(), dump.begin() + 20);
    packet.push_back(0xF8);
    packet.push_back(0xFA); // start: real time, passed on by itself
    packet.insert(packet.end(), dump.begin() + 20, dump.end());
    // A program change, channel pressure, a cut-off controller.
    packet.insert(packet.end(), {0xC0, 0x05, 0xD0, 0x40, 0xB0, 0x07});
    fs1r->Play(packet);
    fs1r->Play({0xF7, 0x40, 0xF0, 0x43}); // a stray end, a data byte without a status, a start cut off
    Deliver();
    EXPECT_EQ(longData, std::vector<Bytes>{dump});
    EXPECT_EQ(shortData, (std::vector<Bytes>{{0x90, 0x3C, 0x40}, {0xFA, 0, 0}, {0xC0, 0x05, 0}, {0xD0, 0x40, 0}}));
}

TEST_F(TransportTest, OnlyTheAwaitedDumpTakesTheBuffer)
{
    transport.OpenMidiPorts(0, 0, -1);
    const Bytes dump = Dump(608, 0x22);
    transport.StartMidiInBuffer({[](std::int32_t fill, const std::uint8_t* data, std::size_t length) {
                                     return length == 619 && data[3] == 0x5E && data[9] == fill;
                                 },
                                 0x22});
    // A knob turned on the instrument, another maker's message: the buffer waits for the answer.
    fs1r->Play(ParameterChange(0x10, 0x00, 0x0B, 0x40));
    fs1r->Play({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
    fs1r->Play(dump);
    fs1r->Play(dump); // still one per request
    Deliver();
    EXPECT_EQ(longData, std::vector<Bytes>{dump});
}

TEST_F(TransportTest, FloodIsBoundedDropsOnlyCaptionsAndTheCaptionEndsOnTheLastMessage)
{
    transport.OpenMidiPorts(0, 0, 1);
    const Bytes dump = Dump(76, 0x01);
    transport.StartMidiInBuffer();
    // The UI thread is busy: nothing is taken while both inputs flood.
    constexpr int Queue = int(TMidiTransport::ShortQueueSize), Flood = 3 * Queue;
    for (int i = 0; i < Flood; ++i) {
        fs1r->PlayShort(0xB0, 7, std::uint8_t(i & 0x7F));
        keyboard->PlayShort(0x90, std::uint8_t(i & 0x7F), 0x40);
    }
    fs1r->Play(dump);
    TMidiInputCounts counts = transport.InputCounts();
    EXPECT_EQ(counts.PeakQueued, TMidiTransport::ShortQueueSize);
    EXPECT_EQ(counts.DroppedShort, std::uint64_t(2 * (Flood - Queue)));
    // Every key went through; the dump the request waits for was kept.
    EXPECT_EQ(counts.ThruSent, std::uint64_t(Flood));
    Deliver();
    EXPECT_EQ(longData, std::vector<Bytes>{dump});
    // What each queue held, in the order of arrival, then the last message of all.
    ASSERT_EQ(shortData.size(), std::size_t(2 * Queue + 1));
    EXPECT_EQ(shortData[1], (Bytes{0x90, 0, 0x40}));
    EXPECT_EQ(shortData.back(), (Bytes{0x90, std::uint8_t((Flood - 1) & 0x7F), 0x40}));

    // A message that found its queue full is not shown after a newer one that did fit.
    for (int i = 0; i <= Queue; ++i) keyboard->PlayShort(0xA0, 1, std::uint8_t(i & 0x7F));
    fs1r->PlayShort(0xC0, 9);
    shortData.clear();
    Deliver();
    ASSERT_EQ(shortData.size(), std::size_t(Queue + 1));
    EXPECT_EQ(shortData.back(), (Bytes{0xC0, 9, 0}));
    Deliver();
    EXPECT_EQ(shortData.size(), std::size_t(Queue + 1)) << "nothing new came";
}

TEST_F(TransportTest, KeyboardNotesWaitNeitherForABusyNorForAFullOutputAndAreNotLost)
{
    transport.OpenMidiPorts(0, 0, 1);
    // The keyboard plays, on its own thread, while the UI thread's send holds the output: it
    // does not wait for it, and its note follows the send.
    const Bytes change = ParameterChange(0x10, 0, 0x10, 1);
    fs1r->SetOnReceive([&](const Bytes& m) {
        if (m[0] == 0xF0) std::thread([&] { keyboard->PlayShort(0x90, 60, 100); }).join();
    });
    transport.SendSysEx(change.data(), int(change.size()), 0);
    fs1r->SetOnReceive(nullptr);
    EXPECT_EQ(fs1r->Received(), (std::vector<Bytes>{change, {0x90, 60, 100}}));

    // An output whose buffer is full keeps the notes queued, in order, until it takes them.
    fs1r->ReportFull(3);
    keyboard->PlayShort(0x90, 62, 100);
    keyboard->PlayShort(0x80, 62, 0);
    EXPECT_TRUE(Deliver()) << "the notes wait: try again";
    EXPECT_FALSE(Deliver());
    EXPECT_EQ(fs1r->Received().back(), (Bytes{0x80, 62, 0}));
    EXPECT_EQ(fs1r->Received().size(), 4u);
    const TMidiInputCounts counts = transport.InputCounts();
    EXPECT_EQ(counts.ThruSent, 3u);
    EXPECT_EQ(counts.ThruLost, 0u);
}
