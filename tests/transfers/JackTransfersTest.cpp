// Receive-all and send-all over real MIDI ports of a JACK server. The instrument sits on ports of
// its own; the clock of the transfers is virtual, but before it moves past a pending request the
// test waits for the real answer.
#include "TransfersFixture.h"
#include "tests/support/JackPorts.h"

#include <cstdio>
#include <filesystem>
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
    // JackPatience at most for each answer.
    testing::AssertionResult RunToEnd(TTimer& timer)
    {
        for (int step = 0; step < 1000 && timer.Enabled(); ++step) {
            Advance(100);
            const int asked = requests;
            const auto deadline = Clock::now() + JackPatience;
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

namespace {

constexpr const char* ServerStopped = "The JACK server has stopped";

// The main window over a JACK server of the test's own, shown without the first show, as a
// person uses it while the world around the program fails.
class JackWindow : public WindowRig {
protected:
    explicit JackWindow(bool synchronous = true)
        : WindowRig({.build = false, .shown = true}), server({}, synchronous)
    {}
    void SetUp() override
    {
        ASSERT_EQ(server.Trouble(), "");
        WindowRig::SetUp();
        far.emplace("fs1r");
        ASSERT_EQ(far->Trouble(), "");
        backend = platform::CreateMidiBackend(EditorClientName());
        MakeMainForm(*backend);
        ASSERT_TRUE(far->Connect(form->Midi));
    }
    void TearDown() override
    {
        form.reset();
        far.reset();
        WindowRig::TearDown();
    }

    TScrollBar& Volume() { return *dynamic_cast<TScrollBar*>(form->FindComponent("Pfm_VolumeBar")); }
    // A person's step on the volume slider; the boxes it showed.
    std::vector<TShownMessage> Step()
    {
        Messages().clear();
        Volume().UserSteps(Volume().Position() > 64 ? scLineUp : scLineDown);
        return Messages();
    }
    // Steps until one shows a box (the window learns of the server's end a moment after it);
    // that box, or none after JackPatience.
    std::optional<TShownMessage> StepUntilABox()
    {
        const auto deadline = Clock::now() + JackPatience;
        while (Clock::now() < deadline) {
            if (auto shown = Step(); !shown.empty()) return shown.front();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::nullopt;
    }

    PrivateJackServer server;
    std::optional<JackFarEnd> far;
    std::unique_ptr<platform::MidiBackend> backend;
};

// The same over a server in JACK's default asynchronous mode, which wakes each client every
// period, late or not: a reader that misses a cycle loses what the program's output held in it.
class JackLateWindow : public JackWindow {
protected:
    JackLateWindow() : JackWindow(false) {}
};

} // namespace

// A send-all through such cycles does not end as if all went well.
TEST_F(JackLateWindow, ASendAllWhileTheInstrumentsPortRunsLateSaysItMayHaveMissedMessages)
{
    // Each of the far end's cycles takes four periods: the server reports every one late.
    far->SlowCycles(std::chrono::milliseconds(20));
    const TMidiLossMark before = form->Midi.LossMark();
    form->DataSendAllClick(nullptr);
    Advance(15000);
    EXPECT_FALSE(form->TransferRunning());
    EXPECT_GT(form->Midi.LossMark().LostCycles, before.LostCycles) << "the program heard of no late cycle";
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text.rfind("The MIDI system fell behind during this transfer", 0), 0u)
        << Messages()[0].Text;
    EXPECT_GT(far->XRuns(), 0);
}

// The server is killed while the editor runs: each action of the person shows one box that says
// so, a send-all stops at its first send with one box, the setup dialog says there is no server;
// once it is back, the devices are chosen again and edits reach the instrument.
TEST_F(JackWindow, EachActionIsToldOnceAndTheDevicesAreChosenAgainWhenTheServerIsBack)
{
    ASSERT_TRUE(Step().empty());
    ASSERT_EQ(far->Received.WaitFor(1).size(), 1u) << "the edit before the server went did not arrive";
    form->DataChanged = 0; // as after a save
    server.Stop(SIGKILL);

    const auto first = StepUntilABox();
    ASSERT_TRUE(first) << "no step told that the server went";
    EXPECT_NE(first->Text.find(ServerStopped), std::string::npos) << first->Text;
    // The step is stored and shown although the instrument did not get it: closing must ask.
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    // Each step fails at once, saying that the server stopped (one that waited for room in the
    // output would give up after its patience saying that the output is full).
    for (int i = 0; i < 3; ++i) {
        const auto shown = Step();
        ASSERT_EQ(shown.size(), 1u) << "step " << i;
        EXPECT_EQ(shown[0].Text, first->Text);
    }

    Messages().clear();
    Click("DataSendAll");
    for (int tick = 0; tick < 40; ++tick) Advance(500);
    ASSERT_EQ(Messages().size(), 1u) << "boxes of one send-all";
    EXPECT_NE(Messages()[0].Text.find(ServerStopped), std::string::npos);
    EXPECT_FALSE(form->AllSendTimer->Enabled());
    EXPECT_TRUE(form->Enabled()) << "the window stayed locked";

    // The setup dialog: no server is not "no devices".
    Messages().clear();
    Click("MIDI_config");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "The JACK server is not running.");
    EXPECT_TRUE(Modals().empty()) << "the dialog was shown without devices";

    server.Start();
    ASSERT_EQ(server.Trouble(), "");
    far.emplace("fs1r-back");
    ASSERT_EQ(far->Trouble(), "");
    Messages().clear();
    Headless().ModalResponder = [this](TForm& f) {
        auto& d = dynamic_cast<TMIDISetup&>(f);
        auto choose = [](TComboBox* box, const std::string& name) {
            const auto items = box->Items.Items();
            box->UserSelects(int(std::find(items.begin(), items.end(), name) - items.begin()));
        };
        choose(d.MIDIIN_Box, far->OutPort());
        choose(d.MIDIOUT_Box, far->InPort());
        d.OKBitBtn->UserClicks();
    };
    Click("MIDI_config");
    EXPECT_TRUE(Messages().empty()) << Messages().front().Text;
    ASSERT_TRUE(form->Midi.MidiPortsOpen);
    ASSERT_TRUE(Step().empty());
    EXPECT_EQ(far->Received.WaitFor(1).size(), 1u) << "an edit after the devices were chosen again";
}

// The instrument's client goes and comes back under its name while the editor's MIDI OUT feeds a
// monitor too: while it is gone each step says that the device is not present; once it is back,
// that it is there but not connected, and how to get back to it; a send-all stops at its first
// send with one box; nothing reaches the instrument that came back.
TEST_F(JackWindow, AGoneInstrumentIsToldAlsoWhenMidiOutFeedsAMonitorToo)
{
    JackFarEnd monitor("monitor");
    ASSERT_EQ(monitor.Trouble(), "");
    const auto feeding = far->ConnectionsOf(far->InPort());
    ASSERT_EQ(feeding.size(), 1u);
    ASSERT_TRUE(monitor.Wire(feeding[0], monitor.InPort())) << monitor.Trouble();
    ASSERT_TRUE(Step().empty());
    ASSERT_EQ(far->Received.WaitFor(1).size(), 1u);
    ASSERT_EQ(monitor.Received.WaitFor(1).size(), 1u);

    const std::string gone = "The MIDI output device \"" + far->InPort() + "\" is not present.";
    const std::string back = "The MIDI output device \"" + far->InPort() +
                             "\" is present, but MIDI OUT is no longer connected to it. Connect them again, or "
                             "choose the MIDI devices again with Options > MIDI Interface Setting.";
    far.reset();
    const auto first = StepUntilABox();
    ASSERT_TRUE(first) << "no step told that the instrument went";
    EXPECT_EQ(first->Text, gone);
    far.emplace("fs1r");
    ASSERT_EQ(far->Trouble(), "");
    for (int i = 0; i < 3; ++i) {
        const auto shown = Step();
        ASSERT_EQ(shown.size(), 1u) << "step " << i;
        EXPECT_EQ(shown[0].Text, back);
    }
    Messages().clear();
    Click("DataSendAll");
    for (int tick = 0; tick < 40; ++tick) Advance(500);
    ASSERT_EQ(Messages().size(), 1u) << "boxes of one send-all";
    EXPECT_EQ(Messages()[0].Text, back);
    EXPECT_FALSE(form->AllSendTimer->Enabled());
    ASSERT_TRUE(far->WaitCycles(2)); // what may have been sent meanwhile has arrived
    EXPECT_TRUE(far->Received.Take().empty()) << "the instrument that came back got messages";
}

// Quitting while the server is gone: the mutes cannot be lifted, which is told once, and the
// program ends all the same.
TEST_F(JackWindow, QuittingWithoutAServerTellsOnceAndEnds)
{
    ASSERT_TRUE(form->PerformancePage->Pfm_PartMuteBtn[1]->UserClicks());
    server.Stop(SIGTERM);
    ASSERT_TRUE(StepUntilABox()) << "no step told that the server went";
    Messages().clear();
    AnswerMessages(IDNO); // the changes are not saved
    Click("FileExitItem");
    EXPECT_TRUE(Application->Terminated()) << "the program did not end";
    std::vector<std::string> texts;
    for (const auto& m : Messages())
        if (m.Buttons == MB_OK) texts.push_back(m.Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(ServerStopped), std::string::npos) << texts[0];
}

// Quitting with the server there: the mutes are lifted and the notes switched off on the
// instrument, after the last edit.
TEST_F(JackWindow, QuittingLiftsTheMutesAndSwitchesTheNotesOffOnTheInstrument)
{
    ASSERT_TRUE(form->PerformancePage->Pfm_PartMuteBtn[1]->UserClicks());
    ASSERT_TRUE(Step().empty());
    const std::size_t before = far->Received.WaitFor(2).size();
    ASSERT_EQ(before, 2u) << "the mute and the edit";
    AnswerMessages(IDNO);
    Click("FileExitItem");
    ASSERT_TRUE(Application->Terminated());
    const auto got = far->Received.WaitFor(before + 17);
    ASSERT_EQ(got.size(), before + 17) << "what quitting sent did not all arrive";
    const Bytes& lift = got[before];
    ASSERT_EQ(lift.size(), 10u);
    EXPECT_EQ(lift[4], 0x31) << "the lift is part 2's";
    EXPECT_EQ(lift[6], 0x0B) << "the lift is the volume's";
    EXPECT_EQ(lift[8], form->ParameterData.PfmParts[1].Volume) << "the lift carries the stored volume";
    for (std::uint8_t channel = 0; channel < 16; ++channel)
        EXPECT_EQ(got[before + 1 + channel], (Bytes{std::uint8_t(0xB0 | channel), 123, 0}))
            << "channel " << int(channel);
}

// JACK refuses the program's client for good (something stands where JACK binds the client's
// socket): start-up says that JACK refused and why, not that there are no devices, and ends.
TEST_F(JackTransfers, AStartUpThatJackRefusesSaysWhyAndEnds)
{
    const std::filesystem::path block = "/dev/shm/jack_" + EditorClientName() + "_" + std::to_string(getuid()) + "_0";
    ASSERT_TRUE(std::filesystem::create_directory(block)) << block;
    MakeMainForm(*backend).Show();
    std::filesystem::remove(block);
    EXPECT_TRUE(Application->Terminated()) << "start-up went on";
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "JACK refused the client \"" + EditorClientName() +
                                      "\": the server could not set the client up (status 0x21).");
    EXPECT_EQ(Messages()[0].Caption, "Quillmarven");
}
