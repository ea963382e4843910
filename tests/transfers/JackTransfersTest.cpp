// Receive-all and send-all over real MIDI ports of a JACK server. The instrument sits on ports of
// its own; the clock of the transfers is virtual, but before it moves past a pending request the
// test waits for the real answer.
#include "TransfersFixture.h"
#include "tests/support/JackPorts.h"

#include <thread>

namespace {

class JackTransfers : public WindowRig {
protected:
    JackTransfers() : WindowRig({.build = false}) {}
    void SetUp() override
    {
        if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
        WindowRig::SetUp();
        far.emplace("qm-test-fs1r");
        backend = platform::CreateMidiBackend();
    }

    // Takes what reached the instrument's ports and answers dump requests, on the test's thread.
    void Serve()
    {
        for (const Bytes& message : far->Received.Take()) {
            const Bytes answer = instrument.Receive(message);
            if (!answer.empty()) far->Send(answer);
        }
    }
    // Runs a timed transfer to its end in 100 ms steps of the virtual clock; while a dump
    // request is pending, the clock waits (up to a few real seconds) for the answer to come
    // through JACK.
    void RunToEnd(TTimer& timer)
    {
        for (int step = 0; step < 1000 && timer.Enabled(); ++step) {
            Advance(100);
            const auto deadline = Clock::now() + std::chrono::seconds(5);
            while (form->Midi.IsInputBufferQueued() && form->DumpReceived == 0 && Clock::now() < deadline) {
                Serve();
                Application->ProcessPosted();
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            Serve();
        }
    }

    std::optional<JackFarEnd> far;
    std::unique_ptr<platform::MidiBackend> backend;
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
    RunToEnd(*form->AllRcvTimer);
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
    RunToEnd(*form->AllSendTimer);
    // Six dumps, then the two switch masks of each voice.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while ((instrument.BulkDumpsTaken < dumpsBefore + 6 || instrument.ParameterChangesTaken < changesBefore + 8) &&
           Clock::now() < deadline) {
        Serve();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(instrument.BulkDumpsTaken, dumpsBefore + 6);
    EXPECT_EQ(instrument.ParameterChangesTaken, changesBefore + 8);
    for (int32_t kind : AllBlocks)
        EXPECT_EQ(InstrumentPayload(instrument, kind), Body(Built(kind))) << "block " << kind;

    form->Midi.CloseMidiIn();
    form->Midi.CloseMidiOut();
}
