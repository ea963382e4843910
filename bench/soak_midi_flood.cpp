// The MIDI input road under a flood, with the real (Qt) event loop: a device floods the
// instrument's input (active sensing, clock, notes, controllers, short and broken
// system-exclusive messages) for the first SECONDS of a receive-all and answers the dump
// requests in between; then a master keyboard plays notes through as fast as the port takes
// them. Over the in-process MIDI system, and over real JACK ports when QM_JACK_SERVER names a
// running server. Nothing here passes or fails: it prints what the road took, dropped and kept,
// and how late the window's timer ticks came.
//
//   soak_midi_flood [--seconds S] [--runs N] [--only in-process|jack] [--rate R] [--jack-rate R]
//
// The flood is unpaced in process (--rate 0) and 200,000 packets a second over JACK
// (--jack-rate): RtMidi's JACK output hands its whole buffer to each cycle and drops what the
// cycle's port buffer (32 KB) has no room for, and a writer that never stops keeps that buffer
// full, so an unpaced flood there mostly measures RtMidi's losses (see RESULTS.md). Over JACK a
// second input of the soak's own (the tap) listens on the instrument's output, so a dump the
// server carried can be told from one our input received.
#include "bench/Options.h"
#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "platform/MidiInProcess.h"
#include "tests/support/JackPorts.h"
#include "tests/support/MidiFlood.h"
#include "ui/qt/QtBackend.h"

#include <RtMidi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The real event loop; message boxes are recorded and answered OK.
class LoopBackend : public QtBackend {
public:
    LoopBackend(int& argc, char** argv) : QtBackend(argc, argv) {}
    int MessageBox(const TMessageBoxRequest& request) override
    {
        Shown.push_back(request.Text);
        return IDOK;
    }
    std::vector<std::string> Shown;
};

// The instrument: an edit buffer of its own that differs from the editor's initial one, which
// answers a dump request with the dump of that block.
class FarSide : public TMainData {
public:
    FarSide()
    {
        InitNameTables(*this);
        InitAll();
        std::memcpy(ParameterData.PfmCommon.Name.data(), "Flooded     ", 12);
        ParameterData.PfmCommon.Volume = 99;
        ParameterData.PfmParts[1].Volume = 55;
        for (std::size_t v = 0; v < 4; ++v) {
            ParameterData.VoiceRecords[v].VoiceCommon.Algorithm = 20 + int(v);
            ParameterData.VoiceRecords[v].VoicedOperators[2].OutputLvl = 60 + int(v);
        }
        ParameterData.SystemBlock.MstrTune = 90;
    }
    void SendSysEx(const std::uint8_t*, int) override {}

    // The answer to a request F0 43 2n 5E AH AM AL F7, or nothing.
    Bytes Answer(const Bytes& m)
    {
        if (m.size() != 8 || m[0] != 0xF0 || m[1] != 0x43 || (m[2] & 0xF0) != 0x20 || m[3] != 0x5E) return {};
        return Dump(m[4] == 0x10 ? DumpPerformance : m[4] == 0x00 ? DumpSystem : m[4] - 0x40);
    }
    Bytes Dump(int kind)
    {
        if (kind == DumpPerformance)
            return BuildPerformanceDump(kind, 0), Bytes(PerformanceDumpBuffer.begin(), PerformanceDumpBuffer.end());
        if (kind == DumpSystem) return BuildSystemDump(), Bytes(SystemDumpBuffer.begin(), SystemDumpBuffer.end());
        if (kind < 0 || kind > 3) return {};
        return BuildVoiceDump(kind, 0), Bytes(VoiceDumpBuffer.begin(), VoiceDumpBuffer.end());
    }
};

Bytes EditorDump(TMainForm& form, int kind)
{
    if (kind == DumpPerformance)
        return form.BuildPerformanceDump(kind, 0),
               Bytes(form.PerformanceDumpBuffer.begin(), form.PerformanceDumpBuffer.end());
    if (kind == DumpSystem)
        return form.BuildSystemDump(), Bytes(form.SystemDumpBuffer.begin(), form.SystemDumpBuffer.end());
    return form.BuildVoiceDump(kind, 0), Bytes(form.VoiceDumpBuffer.begin(), form.VoiceDumpBuffer.end());
}

// Requests the program sent, handed from whichever thread received them to the device's.
class Requests {
public:
    void Push(const Bytes& m)
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(m);
        Log("heard", m.size() > 4 ? m[4] : 0);
    }
    // When each request was heard and answered, and when the editor asked, for a run that
    // lost a block: seconds since the run started.
    void Log(const char* what, std::uint8_t ah)
    {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        char line[64];
        std::snprintf(line, sizeof line, "%s%s %02X at %.3f s", timeline_.empty() ? "" : ", ", what, ah, seconds);
        std::lock_guard lock(timelineMutex_);
        timeline_ += line;
    }
    std::string Timeline()
    {
        const double epoch = std::chrono::duration<double>(startWall_.time_since_epoch()).count();
        std::lock_guard lock(timelineMutex_);
        return timeline_ + " (the run started at " + std::to_string(epoch) + " s since the epoch)";
    }
    std::deque<Bytes> Take()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(pending_, {});
    }

private:
    std::mutex mutex_;
    std::deque<Bytes> pending_;
    std::mutex timelineMutex_;
    std::string timeline_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    const std::chrono::system_clock::time_point startWall_ = std::chrono::system_clock::now();
};

// The two ends of the cable a run plays on.
struct Wire {
    std::function<void(const Bytes&)> Instrument; // from the instrument to the program
    std::function<void(const Bytes&)> Keyboard;   // from the master keyboard to the program
    std::function<int()> NotesThru;               // note-ons the instrument got from the program
    std::function<int()> DumpsTapped;             // dumps the tap saw on the instrument's output (JACK)
    Requests* Asked = nullptr;
};

struct Figures {
    long Sent = 0;
    double Seconds = 0;
    TMidiInputCounts Counts;
    double LongestTickWait = 0;
    int NotesThru = 0, Notes = 0;
    int DumpsAnswered = 0, DumpsTapped = -1, DumpsStored = 0;
    std::string Missing, Shown, Timeline;
};

Figures Run(LoopBackend& backend, TMainForm& form, Wire& wire, FarSide& far, double seconds, double rate)
{
    using Clock = std::chrono::steady_clock;
    Figures figures;
    figures.Seconds = seconds;
    backend.Shown.clear();

    // The probe: a window timer every 20 ms; how much later than that its ticks come.
    TTimer probe(nullptr);
    probe.SetInterval(20);
    Clock::time_point last{};
    probe.OnTimer = [&](TObject*) {
        const auto now = Clock::now();
        if (last != Clock::time_point{})
            figures.LongestTickWait =
                std::max(figures.LongestTickWait, std::chrono::duration<double, std::milli>(now - last).count() - 20);
        last = now;
    };
    probe.SetEnabled(true);

    std::atomic<bool> running{true};
    std::atomic<long> sent{0};
    std::atomic<int> answered{0};
    const auto start = Clock::now();
    const auto floodEnd = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::thread device([&] {
        const auto& pattern = FloodPattern();
        const long perMs = rate > 0 ? std::max(1L, long(rate / 1000)) : 0;
        auto next = Clock::now();
        for (std::size_t i = 0; running; ++i) {
            if (perMs > 0 && long(i) % perMs == perMs - 1)
                std::this_thread::sleep_until(next += std::chrono::milliseconds(1));
            for (const Bytes& m : wire.Asked->Take())
                if (const Bytes answer = far.Answer(m); !answer.empty()) {
                    wire.Instrument(answer);
                    ++answered;
                    wire.Asked->Log("answered", answer[6]);
                }
            if (Clock::now() < floodEnd) {
                wire.Instrument(pattern[i % pattern.size()]);
                ++sent;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    form.DataRcvAllClick(nullptr);
    for (int asked = -1; form.TransferRunning() && Clock::now() - start < std::chrono::seconds(120);) {
        Application->AdvanceMs(50);
        if (form.ReceiveTarget == asked || !form.Midi.IsInputBufferQueued()) continue;
        asked = form.ReceiveTarget;
        wire.Asked->Log("asked", std::uint8_t(DumpRequestFor(asked)[4]));
    }
    while (Clock::now() < floodEnd) Application->AdvanceMs(50);
    running = false;
    device.join();
    Application->AdvanceMs(100);
    probe.SetEnabled(false);

    // The master keyboard, played through as fast as the program takes it.
    const int notesBefore = wire.NotesThru();
    figures.Notes = 2000;
    std::thread keyboard([&] {
        for (int n = 0; n < figures.Notes; ++n) {
            wire.Keyboard({0x90, std::uint8_t(n % 128), 0x40});
            if (n % 64 == 63) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const auto keysStart = Clock::now();
    while (wire.NotesThru() - notesBefore < figures.Notes && Clock::now() - keysStart < std::chrono::seconds(20))
        Application->AdvanceMs(20);
    keyboard.join();
    Application->AdvanceMs(100);

    figures.Sent = sent;
    figures.Counts = form.Midi.InputCounts();
    figures.NotesThru = wire.NotesThru() - notesBefore;
    figures.DumpsAnswered = answered;
    if (wire.DumpsTapped) figures.DumpsTapped = wire.DumpsTapped();
    const char* names[] = {"performance", "voice 1", "voice 2", "voice 3", "voice 4", "system"};
    const int kinds[] = {DumpPerformance, 0, 1, 2, 3, DumpSystem};
    for (int b = 0; b < 6; ++b) {
        if (EditorDump(form, kinds[b]) == far.Dump(kinds[b]))
            ++figures.DumpsStored;
        else
            figures.Missing += std::string(figures.Missing.empty() ? "" : ", ") + names[b];
    }
    for (const std::string& text : backend.Shown) figures.Shown += (figures.Shown.empty() ? "" : "; ") + text;
    if (figures.DumpsStored < 6) figures.Timeline = wire.Asked->Timeline();
    return figures;
}

void Print(const char* name, int run, const Figures& f)
{
    std::printf("%s, run %d: %ld packets in %.1f s (%.0f a second); %llu short messages queued for the window, %llu "
                "caption updates dropped, peak queue %zu of %zu; longest tick wait %.1f ms; thru %d of %d notes "
                "(%llu lost); dumps answered %d",
                name, run, f.Sent, f.Seconds, double(f.Sent) / f.Seconds, (unsigned long long)f.Counts.Posted,
                (unsigned long long)f.Counts.DroppedShort, f.Counts.PeakQueued, TMidiTransport::ShortQueueSize,
                f.LongestTickWait, f.NotesThru, f.Notes, (unsigned long long)f.Counts.ThruLost, f.DumpsAnswered);
    if (f.DumpsTapped >= 0) std::printf(", seen by the tap %d", f.DumpsTapped);
    std::printf(", taken by the input %llu, stored %d of 6%s%s%s%s\n", (unsigned long long)f.Counts.DumpsTaken,
                f.DumpsStored, f.Missing.empty() ? "" : " (differ: ", f.Missing.c_str(), f.Missing.empty() ? "" : ")",
                f.Shown.empty() ? "" : ("; shown: " + f.Shown).c_str());
    if (!f.Timeline.empty()) std::printf("  requests (address byte): %s\n", f.Timeline.c_str());
    std::fflush(stdout);
}

void InProcess(LoopBackend& backend, double seconds, int runs, double rate)
{
    for (int run = 1; run <= runs; ++run) {
        platform::InProcessMidi midi;
        auto fs1r = midi.AddDevice("FS1R");
        auto keys = midi.AddDevice("Keyboard", true, false);
        FarSide far;
        Requests requests;
        std::atomic<int> notesThru{0};
        fs1r->SetOnReceive([&](const Bytes& m) {
            if (!m.empty() && m[0] == 0xF0) requests.Push(m);
            if (m.size() == 3 && m[0] == 0x90) ++notesThru;
        });
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Midi.OpenMidiPorts(0, 0, 1);
        Wire wire{[&](const Bytes& p) { fs1r->Play(p); },
                  [&](const Bytes& p) { keys->Play(p); },
                  [&] { return notesThru.load(); },
                  {},
                  &requests};
        Print("in-process", run, Run(backend, form, wire, far, seconds, rate));
        form.Midi.CloseMidiIn();
        form.Midi.CloseMidiOut();
        fs1r->SetOnReceive(nullptr);
    }
}

// The instrument's and the keyboard's own JACK ports.
struct JackEnd {
    Requests requests;
    std::atomic<int> notes{0};
    std::atomic<int> tapped{0};
    static void OnInput(double, std::vector<unsigned char>* message, void* self)
    {
        auto* end = static_cast<JackEnd*>(self);
        if (message->empty()) return;
        if ((*message)[0] == 0xF0) end->requests.Push(Bytes(message->begin(), message->end()));
        if (message->size() == 3 && (*message)[0] == 0x90) ++end->notes;
    }
    // Counts the whole bulk dumps (F0 43 0n 5E with their length and F7) in a packet.
    static void OnTap(double, std::vector<unsigned char>* m, void* self)
    {
        for (std::size_t i = 0; i + 9 < m->size(); ++i) {
            if ((*m)[i] != 0xF0 || (*m)[i + 1] != 0x43 || ((*m)[i + 2] & 0xF0) != 0 || (*m)[i + 3] != 0x5E) continue;
            const std::size_t n = (std::size_t((*m)[i + 4]) << 7) + (*m)[i + 5];
            if ((n == 400 || n == 608 || n == 76) && i + n + 11 <= m->size() && (*m)[i + n + 10] == 0xF7)
                ++static_cast<JackEnd*>(self)->tapped;
        }
    }
};

int IndexOf(const std::vector<std::string>& names, const std::string& name)
{
    auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : int(it - names.begin());
}

void Jack(LoopBackend& backend, double seconds, int runs, double rate)
{
    if (const char* missing = JackServerMissing()) {
        std::printf("JACK: skipped: %s\n", missing);
        return;
    }
    for (int run = 1; run <= runs; ++run) {
        JackEnd end;
        RtMidiIn instrumentIn(RtMidi::UNIX_JACK, "qm-soak-fs1r");
        instrumentIn.ignoreTypes(false, true, true);
        instrumentIn.setCallback(&JackEnd::OnInput, &end);
        instrumentIn.openVirtualPort("in");
        RtMidiOut instrumentOut(RtMidi::UNIX_JACK, "qm-soak-fs1r-out");
        instrumentOut.openVirtualPort("out");
        RtMidiOut keyboardOut(RtMidi::UNIX_JACK, "qm-soak-keyboard");
        keyboardOut.openVirtualPort("out");
        RtMidiIn tap(RtMidi::UNIX_JACK, "qm-soak-tap");
        tap.ignoreTypes(false, true, true);
        tap.setCallback(&JackEnd::OnTap, &end);
        for (unsigned i = 0; i < tap.getPortCount(); ++i)
            if (tap.getPortName(i).find("qm-soak-fs1r-out:out") != std::string::npos) tap.openPort(i, "tap");

        FarSide far;
        auto midiBackend = platform::CreateMidiBackend();
        TMainForm form(nullptr, *midiBackend, QM_PROGRAM_DIR);
        const int in = IndexOf(form.Midi.InputNames(), "qm-soak-fs1r-out:out");
        const int out = IndexOf(form.Midi.OutputNames(), "qm-soak-fs1r:in");
        const int keys = IndexOf(form.Midi.InputNames(), "qm-soak-keyboard:out");
        if (in < 0 || out < 0 || keys < 0) {
            std::printf("JACK: the soak's ports are not listed\n");
            return;
        }
        form.Midi.OpenMidiPorts(in, out, keys);
        // RtMidi's JACK output waits while its buffer is full: as fast as the port takes them.
        Wire wire{[&](const Bytes& p) { instrumentOut.sendMessage(&p); },
                  [&](const Bytes& p) { keyboardOut.sendMessage(&p); }, [&] { return end.notes.load(); },
                  [&] { return end.tapped.load(); }, &end.requests};
        Print("JACK", run, Run(backend, form, wire, far, seconds, rate));
        form.Midi.CloseMidiIn();
        form.Midi.CloseMidiOut();
    }
}

} // namespace

int main(int argc, char** argv)
{
    const TBenchOptions options(argc, argv);
    const double seconds = options.Number("--seconds", 10), rate = options.Number("--rate", 0),
                 jackRate = options.Number("--jack-rate", 200000);
    const int runs = int(options.Number("--runs", 1));
    const std::string only = options.Text("--only", "");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char arg0[] = "soak_midi_flood";
    static char* qtArgv[] = {arg0, nullptr};
    auto* backend = new LoopBackend(qtArgc, qtArgv); // lives to the end of the process, as Qt wants
    InstallPictureDecoders();
    if (only.empty() || only == "in-process") InProcess(*backend, seconds, runs, rate);
    if (only.empty() || only == "jack") Jack(*backend, seconds, runs, jackRate);
    return 0;
}
