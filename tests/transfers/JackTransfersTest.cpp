// Receive-all and send-all over real MIDI ports of a JACK server. The instrument sits on ports of
// its own; the clock of the transfers is virtual, but before it moves past a pending request the
// test waits for the real answer.
#include "TransfersFixture.h"
#include "tests/support/JackPorts.h"

#include <cstdio>
#include <thread>

namespace {

std::string Hex(const Bytes& message)
{
    std::string text;
    char byte[4];
    for (std::uint8_t b : message) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    return text;
}

class JackTransfers : public WindowRig {
protected:
    JackTransfers() : WindowRig({.build = false}) {}
    void SetUp() override
    {
        if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
        WindowRig::SetUp();
        far.emplace("fs1r");
        ASSERT_EQ(far->Trouble(), "");
        backend = platform::CreateMidiBackend(EditorClientName());
    }

    // Takes what reached the instrument's ports and answers dump requests, on the test's thread.
    void Serve()
    {
        for (const Bytes& message : far->Received.Take()) {
            const bool request = message.size() == 8 && (message[2] & 0xF0) == 0x20;
            if (request) lastRequest = message, ++requests, answered = false;
            const Bytes answer = instrument.Receive(message);
            if (request) answered = !answer.empty();
            if (!answer.empty()) far->Send(answer);
        }
    }
    // Runs a timed transfer to its end in 100 ms steps of the virtual clock; while a dump
    // request is pending, the clock waits for the real answer to come through JACK, as long as
    // JackPatience at most for the whole transfer.
    testing::AssertionResult RunToEnd(TTimer& timer)
    {
        const auto deadline = Clock::now() + JackPatience;
        for (int step = 0; step < 1000 && timer.Enabled(); ++step) {
            Advance(100);
            const int asked = requests;
            while (form->Midi.IsInputBufferQueued() && form->DumpReceived == 0) {
                if (Clock::now() > deadline) return Stuck(requests > asked);
                Serve();
                Application->ProcessPosted();
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            Serve();
        }
        if (timer.Enabled()) return testing::AssertionFailure() << "the transfer did not end";
        return testing::AssertionSuccess();
    }

    // What did not come while the editor waited for a dump.
    testing::AssertionResult Stuck(bool asked) const
    {
        auto failure = testing::AssertionFailure();
        if (!asked)
            failure << "no dump request reached the instrument (the one before: " << Hex(lastRequest) << ")";
        else if (!answered)
            failure << "the instrument did not answer the dump request " << Hex(lastRequest);
        else
            failure << "the instrument answered the dump request " << Hex(lastRequest)
                    << "but the editor took no answer";
        return failure << "; " << far->XRuns() << " late cycles";
    }

    std::optional<JackFarEnd> far;
    std::unique_ptr<platform::MidiBackend> backend;
    Bytes lastRequest;
    int requests = 0;
    bool answered = false;
};

} // namespace

TEST_F(JackTransfers, ReceiveAllAndSendAllKeepEditorAndInstrumentAlike)
{
    instrument.DeviceNumber = 2;
    SeedInstrument(instrument);
    MakeForm(*backend).DeviceNumber = 2;
    ASSERT_TRUE(far->Connect(form->Midi));

    // Receive-all: the editor ends with the instrument's six blocks.
    form->DataRcvAllClick(nullptr);
    ASSERT_TRUE(RunToEnd(*form->AllRcvTimer));
    EXPECT_TRUE(Messages().empty()) << "a block did not come through";
    for (int32_t kind : AllBlocks)
        EXPECT_EQ(Body(Built(kind)), InstrumentPayload(instrument, kind)) << "block " << kind;

    // Send-all of an edited buffer: the instrument ends with the editor's blocks.
    std::memcpy(form->ParameterData.PfmCommon.Name.data(), "Near Side   ", 12);
    form->ParameterData.PfmParts[1].Volume = 12;
    form->ParameterData.VoiceRecords[3].VoiceCommon.Algorithm = 88;
    form->ParameterData.SystemBlock.MstrTune = 20;
    const int dumpsBefore = instrument.BulkDumpsTaken;
    const int changesBefore = instrument.ParameterChangesTaken;
    form->DataSendAllClick(nullptr);
    ASSERT_TRUE(RunToEnd(*form->AllSendTimer));
    // Six dumps, then the two switch masks of each voice.
    const auto deadline = Clock::now() + JackPatience;
    while ((instrument.BulkDumpsTaken < dumpsBefore + 6 || instrument.ParameterChangesTaken < changesBefore + 8) &&
           Clock::now() < deadline) {
        Serve();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(instrument.BulkDumpsTaken, dumpsBefore + 6) << "dumps that reached the instrument";
    EXPECT_EQ(instrument.ParameterChangesTaken, changesBefore + 8) << "switch masks that reached the instrument";
    for (int32_t kind : AllBlocks)
        EXPECT_EQ(InstrumentPayload(instrument, kind), Body(Built(kind))) << "block " << kind;

    form->Midi.CloseMidiIn();
    form->Midi.CloseMidiOut();
}
