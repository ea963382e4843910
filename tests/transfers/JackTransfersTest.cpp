// Receive-all and send-all over real MIDI ports of a JACK server (scripts/test starts one with
// the dummy driver and names it in QM_JACK_SERVER). The instrument sits on ports of its own; the
// clock of the transfers is virtual, but before it moves past a pending request the test waits
// for the real answer.
#include "TransfersFixture.h"

#include <RtMidi.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Messages that reach the instrument's input, handed over from JACK's thread.
struct Inbox {
    std::mutex mutex;
    std::vector<Bytes> messages;

    std::vector<Bytes> Take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(messages, {});
    }
};

void OnInstrumentInput(double, std::vector<unsigned char>* message, void* inbox)
{
    auto* box = static_cast<Inbox*>(inbox);
    std::lock_guard lock(box->mutex);
    box->messages.emplace_back(message->begin(), message->end());
}

int IndexOf(const std::vector<std::string>& names, const std::string& name)
{
    auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : int(it - names.begin());
}

class JackInstrument {
public:
    JackInstrument()
    {
        input.ignoreTypes(false, true, true);
        input.setCallback(&OnInstrumentInput, &inbox);
        input.openVirtualPort("in");
        output.openVirtualPort("out");
    }

    // Takes what arrived and answers dump requests, on the test's thread.
    void Serve()
    {
        for (const Bytes& message : inbox.Take()) {
            Bytes answer = model.Receive(message);
            if (!answer.empty()) output.sendMessage(&answer);
        }
    }

    SimulatedInstrument model;
    Inbox inbox;
    RtMidiIn input{RtMidi::UNIX_JACK, "qm-test-fs1r"};
    RtMidiOut output{RtMidi::UNIX_JACK, "qm-test-fs1r-out"};
};

// Runs a timed transfer to its end in 100 ms steps of the virtual clock; while a dump request
// is pending, the clock waits (up to a few real seconds) for the answer to come through JACK.
void RunToEnd(TMainForm& form, TTimer& timer, JackInstrument& instrument)
{
    for (int step = 0; step < 1000 && timer.Enabled(); ++step) {
        Application->Headless().AdvanceMs(100);
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (form.Midi.IsInputBufferQueued() && form.DumpReceived == 0 && Clock::now() < deadline) {
            instrument.Serve();
            Application->ProcessPosted();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        instrument.Serve();
    }
}

} // namespace

TEST(JackTransfers, ReceiveAllAndSendAllKeepEditorAndInstrumentAlike)
{
    const char* server = std::getenv("QM_JACK_SERVER");
    if (!server || !*server)
        GTEST_SKIP() << "QM_JACK_SERVER is not set: no JACK server runs for this test (scripts/test starts one "
                        "with jackd's dummy driver where jackd is installed and can start)";
    setenv("JACK_DEFAULT_SERVER", server, 1);
    setenv("QUILLMARVEN_MIDI_API", "jack", 1);
    Application->SetBackend(nullptr);
    Application->Headless().Reset();
    InstallPictureDecoders();

    JackInstrument instrument;
    instrument.model.DeviceNumber = 2;
    SeedInstrument(instrument.model);

    auto backend = platform::CreateMidiBackend();
    TMainForm form(nullptr, *backend, QM_PROGRAM_DIR);
    form.DeviceNumber = 2;
    const int in = IndexOf(form.Midi.InputNames(), "qm-test-fs1r-out:out");
    const int out = IndexOf(form.Midi.OutputNames(), "qm-test-fs1r:in");
    ASSERT_GE(in, 0);
    ASSERT_GE(out, 0);
    form.Midi.OpenMidiPorts(in, out, -1);

    // Receive-all: the editor ends with the instrument's six blocks.
    form.DataRcvAllClick(nullptr);
    RunToEnd(form, *form.AllRcvTimer, instrument);
    EXPECT_TRUE(Application->Headless().Messages.empty()) << "a block did not come through";
    for (int kind : {DumpPerformance, 0, 1, 2, 3, DumpSystem})
        EXPECT_EQ(EditorPayload(form, kind), InstrumentPayload(instrument.model, kind)) << "block " << kind;

    // Send-all of an edited buffer: the instrument ends with the editor's blocks.
    std::memcpy(form.ParameterData.PfmCommon.Name.data(), "Near Side   ", 12);
    form.ParameterData.PfmParts[1].Volume = 12;
    form.ParameterData.VoiceRecords[3].VoiceCommon.Algorithm = 88;
    form.ParameterData.SystemBlock.MstrTune = 20;
    const int dumpsBefore = instrument.model.BulkDumpsTaken;
    const int changesBefore = instrument.model.ParameterChangesTaken;
    form.DataSendAllClick(nullptr);
    RunToEnd(form, *form.AllSendTimer, instrument);
    // Six dumps, then the two switch masks of each voice.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while ((instrument.model.BulkDumpsTaken < dumpsBefore + 6 || instrument.model.ParameterChangesTaken < changesBefore + 8) &&
           Clock::now() < deadline) {
        instrument.Serve();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(instrument.model.BulkDumpsTaken, dumpsBefore + 6);
    EXPECT_EQ(instrument.model.ParameterChangesTaken, changesBefore + 8);
    for (int kind : {DumpPerformance, 0, 1, 2, 3, DumpSystem})
        EXPECT_EQ(InstrumentPayload(instrument.model, kind), EditorPayload(form, kind)) << "block " << kind;

    form.Midi.CloseMidiIn();
    form.Midi.CloseMidiOut();
}
