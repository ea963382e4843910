// A device floods the instrument's input (active sensing, clock, notes, controllers, short and
// broken system-exclusive messages) as fast as the port takes them, for ten seconds from the
// start of a receive-all, with the real event loop of the window. Over the in-process
// MIDI system and over real JACK ports (scripts/test starts a server with the dummy driver and
// names it in QM_JACK_SERVER). What must hold:
// - the dumps asked for still arrive and are stored exactly: the editor ends with the
//   instrument's six blocks, and no block is reported missing;
// - the queue from the MIDI thread to the window stays bounded, and what it drops are caption
//   updates only; afterwards every note of the master keyboard is played through;
// - the window stays responsive: no timer tick waits more than 100 ms.
#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "platform/MidiInProcess.h"
#include "tests/support/JackPorts.h"
#include "tests/support/RecordingMainData.h"
#include "tests/support/SimulatedInstrument.h"
#include "ui/qt/QtBackend.h"

#include <RtMidi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

int gArgc = 1;
char gArg0[] = "load_tests";
char* gArgv[] = {gArg0, nullptr};

// The real event loop; message boxes are recorded and answered OK (a real one would wait for a
// person).
class LoopBackend : public QtBackend {
public:
    LoopBackend() : QtBackend(gArgc, gArgv) {}
    int MessageBox(const TMessageBoxRequest& request) override
    {
        Shown.push_back(request.Text);
        return IDOK;
    }
    std::vector<std::string> Shown;
};

// What a busy device sends between the answers: one element per packet, in a loop.
const std::vector<Bytes>& FloodPattern()
{
    static const std::vector<Bytes> pattern = {
        {0xFE},
        {0xF8},
        {0x90, 0x3C, 0x40},
        {0xF8},
        {0xB0, 0x07, 0x64},
        {0x80, 0x3C, 0x00},
        {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},                         // identity request
        {0xF0, 0x43, 0x10, 0x5E, 0x10, 0x00, 0x0B, 0x00, 0x40, 0xF7}, // a knob turned on the instrument
        {0xFE},
        {0xF0, 0x43, 0x00, 0x5E, 0x03, 0x10, 0x10, 0x00, 0x00, 0x01, 0x02}, // a dump cut short
        {0xE0, 0x00, 0x40},
        {0xF0, 0x43, 0x00, 0x5E, 0x04, 0x60, 0x40, 0x90, 0x3C, 0x40}, // a dump broken by a note
        {0xF7},
        {0xD0, 0x10},
    };
    return pattern;
}

// Requests the program sent, handed from whichever thread sends them to the device's thread.
class Requests {
public:
    void Push(const Bytes& m)
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(m);
    }
    std::deque<Bytes> Take()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(pending_, {});
    }

private:
    std::mutex mutex_;
    std::deque<Bytes> pending_;
};

// The two ends of the cable a test plays on: how a packet goes out, how many went.
struct Wire {
    std::function<void(const Bytes&)> Instrument; // from the instrument to the program
    std::function<void(const Bytes&)> Keyboard;   // from the master keyboard to the program
    std::function<int()> NotesThru;               // note-ons the instrument got from the program
};

void SeedInstrument(SimulatedInstrument& instrument)
{
    RecordingMainData source;
    source.Instrument = &instrument;
    TParameterData& d = source.ParameterData;
    std::memcpy(d.PfmCommon.Name.data(), "Flooded     ", 12);
    d.PfmCommon.Volume = 99;
    d.PfmParts[1].Volume = 55;
    for (int v = 0; v < 4; ++v) {
        d.VoiceRecords[std::size_t(v)].VoiceCommon.Algorithm = 20 + v;
        d.VoiceRecords[std::size_t(v)].VoicedOperators[2].OutputLvl = 60 + v;
    }
    d.SystemBlock.MstrTune = 90;
    for (int kind : {DumpPerformance, 0, 1, 2, 3, DumpSystem}) source.SendBulkDump(kind, 0);
}

Bytes EditorPayload(TMainForm& form, int kind)
{
    auto payload = [](const auto& dump) { return Bytes(dump.begin() + 9, dump.end() - 2); };
    if (kind == DumpPerformance) return form.BuildPerformanceDump(kind, 0), payload(form.PerformanceDumpBuffer);
    if (kind == DumpSystem) return form.BuildSystemDump(), payload(form.SystemDumpBuffer);
    return form.BuildVoiceDump(kind, 0), payload(form.VoiceDumpBuffer);
}

Bytes InstrumentPayload(const SimulatedInstrument& instrument, int kind)
{
    if (kind == DumpPerformance) return Bytes(instrument.Performance.begin(), instrument.Performance.end());
    if (kind != DumpSystem)
        return Bytes(instrument.Voices[std::size_t(kind)].begin(), instrument.Voices[std::size_t(kind)].end());
    Bytes system(instrument.System.begin(), instrument.System.end());
    system[0x47] = 0; // the memory mode, which the editor's dump always sends as 0
    return system;
}

class MidiLoadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Backend = new LoopBackend; }
    static void TearDownTestSuite()
    {
        delete Backend;
        Backend = nullptr;
    }

    // Floods `wire` while a receive-all runs on `form`, then plays notes on the keyboard;
    // `serve` answers the requests that came in, on the device's thread.
    void Run(TMainForm& form, const Wire& wire, const std::function<void()>& serve, const char* name)
    {
        Backend->Shown.clear();
        // The probe: a timer of the window, whose ticks must never come late by more than 100 ms.
        TTimer probe(nullptr);
        probe.SetInterval(20);
        Clock::time_point last{};
        double longestWait = 0;
        probe.OnTimer = [&](TObject*) {
            const auto now = Clock::now();
            if (last != Clock::time_point{})
                longestWait = std::max(longestWait, std::chrono::duration<double, std::milli>(now - last).count() - 20);
            last = now;
        };
        probe.SetEnabled(true);

        // Ten seconds of flood from the start of the receive-all; the device answers requests
        // until the receive-all is over.
        std::atomic<bool> running{true};
        std::atomic<long> sent{0};
        const auto start = Clock::now();
        const auto floodEnd = start + std::chrono::seconds(10);
        std::thread device([&] {
            const auto& pattern = FloodPattern();
            for (std::size_t i = 0; running; ++i) {
                serve();
                if (Clock::now() < floodEnd) {
                    wire.Instrument(pattern[i % pattern.size()]);
                    ++sent;
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
        });

        form.DataRcvAllClick(nullptr);
        while (form.TransferRunning() && Clock::now() - start < std::chrono::seconds(90)) Application->AdvanceMs(50);
        while (Clock::now() < floodEnd) Application->AdvanceMs(50);
        running = false;
        device.join();
        Application->AdvanceMs(100);
        probe.SetEnabled(false);
        const double seconds = 10.0;

        // The master keyboard, played through as fast as the program takes it.
        const int notesBefore = wire.NotesThru();
        constexpr int Notes = 2000;
        std::thread keyboard([&] {
            for (int n = 0; n < Notes; ++n) {
                wire.Keyboard({0x90, uint8_t(n % 128), 0x40});
                if (n % 64 == 63) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        const auto keysStart = Clock::now();
        while (wire.NotesThru() - notesBefore < Notes && Clock::now() - keysStart < std::chrono::seconds(20))
            Application->AdvanceMs(20);
        keyboard.join();
        Application->AdvanceMs(100);

        const TMidiInputCounts counts = form.Midi.InputCounts();
        std::printf("[ figures  ] %s: %ld messages in %.1f s (%.0f per second) taken by the input; %llu handed to "
                    "the window, %llu caption updates dropped, peak queue %d; longest tick wait %.1f ms\n",
                    name, sent.load(), seconds, sent.load() / seconds, (unsigned long long)counts.Posted,
                    (unsigned long long)counts.DroppedShort, counts.PeakQueued, longestWait);

        EXPECT_TRUE(Backend->Shown.empty()) << "shown: " << (Backend->Shown.empty() ? "" : Backend->Shown[0]);
        EXPECT_LE(counts.PeakQueued, TMidiTransport::MaxQueuedShort + 2) << "the queue to the window grew";
        EXPECT_EQ(wire.NotesThru() - notesBefore, Notes) << "the keyboard thru lost notes";
        EXPECT_LT(longestWait, 100.0) << "a timer tick waited too long";
    }

    static inline LoopBackend* Backend = nullptr;
};

TEST_F(MidiLoadTest, InProcessFloodLeavesDumpsThruAndTicksIntact)
{
    InstallPictureDecoders();
    platform::InProcessMidi midi;
    auto fs1r = midi.AddDevice("FS1R");
    auto keyboard = midi.AddDevice("Keyboard", true, false);
    SimulatedInstrument instrument;
    SeedInstrument(instrument);
    Requests requests;
    std::atomic<int> notesThru{0};
    fs1r->SetOnReceive([&](const Bytes& m) {
        if (!m.empty() && m[0] == 0xF0) requests.Push(m);
        if (m.size() == 3 && m[0] == 0x90) ++notesThru;
    });

    TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
    form.Midi.OpenMidiPorts(0, 0, 1);
    Wire wire{[&](const Bytes& p) { fs1r->Play(p); }, [&](const Bytes& p) { keyboard->Play(p); },
              [&] { return notesThru.load(); }};
    auto serve = [&] {
        for (const Bytes& m : requests.Take()) {
            const Bytes answer = instrument.Receive(m);
            if (!answer.empty()) fs1r->Play(answer);
        }
    };
    Run(form, wire, serve, "in-process");
    for (int kind : {DumpPerformance, 0, 1, 2, 3, DumpSystem})
        EXPECT_EQ(EditorPayload(form, kind), InstrumentPayload(instrument, kind)) << "block " << kind;
    form.Midi.CloseMidiIn();
    form.Midi.CloseMidiOut();
    fs1r->SetOnReceive(nullptr);
}

// ---- over JACK ------------------------------------------------------------------------------

struct JackEnd {
    Requests requests;
    std::atomic<int> notes{0};
    static void OnInput(double, std::vector<unsigned char>* message, void* self)
    {
        auto* end = static_cast<JackEnd*>(self);
        if (message->empty()) return;
        if ((*message)[0] == 0xF0) end->requests.Push(Bytes(message->begin(), message->end()));
        if (message->size() == 3 && (*message)[0] == 0x90) ++end->notes;
    }
};

// Sends a packet, waiting while the port's buffer is full: as fast as the port carries.
void SendWhole(RtMidiOut& out, std::atomic<bool>& full, const Bytes& packet)
{
    for (int tries = 0; tries < 1000; ++tries) {
        full = false;
        out.sendMessage(packet.data(), packet.size());
        if (!full) return;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

int IndexOf(const std::vector<std::string>& names, const std::string& name)
{
    auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : int(it - names.begin());
}

TEST_F(MidiLoadTest, JackFloodLeavesDumpsThruAndTicksIntact)
{
    if (const char* missing = JackServerMissing()) GTEST_SKIP() << missing;
    InstallPictureDecoders();

    JackEnd end;
    std::atomic<bool> full{false};
    auto onError = [](RtMidiError::Type, const std::string&, void* flag) {
        *static_cast<std::atomic<bool>*>(flag) = true;
    };
    RtMidiIn instrumentIn(RtMidi::UNIX_JACK, "qm-load-fs1r");
    instrumentIn.ignoreTypes(false, true, true);
    instrumentIn.setCallback(&JackEnd::OnInput, &end);
    instrumentIn.openVirtualPort("in");
    RtMidiOut instrumentOut(RtMidi::UNIX_JACK, "qm-load-fs1r-out");
    instrumentOut.setErrorCallback(onError, &full);
    instrumentOut.openVirtualPort("out");
    std::atomic<bool> keyboardFull{false};
    RtMidiOut keyboardOut(RtMidi::UNIX_JACK, "qm-load-keyboard");
    keyboardOut.setErrorCallback(onError, &keyboardFull);
    keyboardOut.openVirtualPort("out");

    SimulatedInstrument instrument;
    SeedInstrument(instrument);
    auto backend = platform::CreateMidiBackend();
    TMainForm form(nullptr, *backend, QM_PROGRAM_DIR);
    const int in = IndexOf(form.Midi.InputNames(), "qm-load-fs1r-out:out");
    const int out = IndexOf(form.Midi.OutputNames(), "qm-load-fs1r:in");
    const int keys = IndexOf(form.Midi.InputNames(), "qm-load-keyboard:out");
    ASSERT_GE(in, 0);
    ASSERT_GE(out, 0);
    ASSERT_GE(keys, 0);
    form.Midi.OpenMidiPorts(in, out, keys);

    Wire wire{[&](const Bytes& p) { SendWhole(instrumentOut, full, p); },
              [&](const Bytes& p) { SendWhole(keyboardOut, keyboardFull, p); }, [&] { return end.notes.load(); }};
    auto serve = [&] {
        for (const Bytes& m : end.requests.Take()) {
            const Bytes answer = instrument.Receive(m);
            if (!answer.empty()) SendWhole(instrumentOut, full, answer);
        }
    };
    Run(form, wire, serve, "JACK");
    for (int kind : {DumpPerformance, 0, 1, 2, 3, DumpSystem})
        EXPECT_EQ(EditorPayload(form, kind), InstrumentPayload(instrument, kind)) << "block " << kind;
    form.Midi.CloseMidiIn();
    form.Midi.CloseMidiOut();
}

} // namespace
