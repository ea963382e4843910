// What a steady stream of short MIDI messages costs the program with its main window shown and
// the real (Qt) event loop running: a master keyboard plays note-ons and note-offs at a fixed
// rate, each message passes through to the instrument and is shown in the window's caption.
// Over the in-process MIDI system. For each rate it prints the CPU time the process and its UI
// thread took per second of input, how often the window's title changed, and whether the title
// ended on the caption of the last message. Nothing here passes or fails (see RESULTS.md).
//
//   soak_input_rate [--seconds S] [--runs N] [--rates 0,370,3000] [--server-pid PID]
//
// Rate 0 is the window idle, for comparison. The Qt platform is the environment's
// (QT_QPA_PLATFORM, or the X server of DISPLAY, as under xvfb-run); offscreen when neither is set.
// With --server-pid the CPU time of that process (the X server) over each run is printed too.
#include "bench/BenchWindow.h"
#include "bench/Options.h"

#include <QEvent>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The CPU time of another process so far, from /proc; 0 when it cannot be read.
double CpuSecondsOf(long pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t name = stat.rfind(')');
    if (pid <= 0 || name == std::string::npos) return 0;
    std::istringstream fields(stat.substr(name + 1));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) // the 14th and 15th: user and system time
        if (n >= 14) ticks += std::atof(field.c_str());
    return ticks / double(sysconf(_SC_CLK_TCK));
}

// Counts the title changes of one window.
class TitleChanges : public QObject {
public:
    explicit TitleChanges(QWidget& window) : FWindow(window) { window.installEventFilter(this); }
    ~TitleChanges() override { FWindow.removeEventFilter(this); }
    long Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::WindowTitleChange) ++Count;
        return false;
    }

private:
    QWidget& FWindow;
};

struct Figures {
    double Rate = 0, Seconds = 0;
    long Played = 0, TitleChanges = 0;
    double ProcessCpu = 0, UiCpu = 0, ServerCpu = 0;
    bool EndsOnLast = true;
};

Figures Run(QtBackend& backend, TBenchWindow& window, platform::InProcessMidi::Device& keyboard, double rate,
            double seconds, long serverPid)
{
    Figures f;
    f.Rate = rate;
    TMainForm& form = *window.Form;
    QWidget* shown = backend.WindowFor(&form);
    TitleChanges titles(*shown);
    std::atomic<bool> running{true};
    std::atomic<long> played{0};
    std::uint8_t lastNote = 0;
    bool lastOn = false;
    const double process0 = CpuSeconds(RUSAGE_SELF), ui0 = CpuSeconds(RUSAGE_THREAD);
    const double server0 = CpuSecondsOf(serverPid);
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::thread player([&] {
        // Each message at its time: the n-th at start + n / rate.
        for (long n = 0; rate > 0 && running; ++n) {
            const auto at =
                start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(n / rate));
            if (at >= end) break;
            std::this_thread::sleep_until(at);
            lastNote = std::uint8_t(36 + (n / 2) % 48);
            lastOn = n % 2 == 0;
            keyboard.PlayShort(lastOn ? 0x90 : 0x80, lastNote, 0x40);
            ++played;
        }
    });
    while (Clock::now() < end) backend.AdvanceMs(20);
    running = false;
    player.join();
    f.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    f.ProcessCpu = CpuSeconds(RUSAGE_SELF) - process0;
    f.UiCpu = CpuSeconds(RUSAGE_THREAD) - ui0;
    f.ServerCpu = CpuSecondsOf(serverPid) - server0;
    // What came last is shown by now: the title ends on the caption of the last message.
    backend.AdvanceMs(100);
    f.Played = played;
    f.TitleChanges = titles.Count;
    if (f.Played > 0) {
        const auto last = ReceivedMidiCaption(form.CaptionText, lastOn ? 0x90 : 0x80, lastNote, 0x40);
        f.EndsOnLast = last && form.Caption() == *last && shown->windowTitle().toStdString() == *last;
    }
    window.Instrument->ClearReceived(); // the notes played through
    return f;
}

std::vector<double> Rates(const std::string& list)
{
    std::vector<double> rates;
    for (std::size_t at = 0; at < list.size();) {
        std::size_t comma = list.find(',', at);
        if (comma == std::string::npos) comma = list.size();
        rates.push_back(std::atof(list.substr(at, comma - at).c_str()));
        at = comma + 1;
    }
    return rates;
}

} // namespace

int main(int argc, char** argv)
{
    const TBenchOptions options(argc, argv);
    const double seconds = options.Number("--seconds", 5);
    const int runs = int(options.Number("--runs", 1));
    const std::string rates = options.Text("--rates", "0,370,3000");
    const long serverPid = long(options.Number("--server-pid", 0));
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char arg0[] = "soak_input_rate";
    static char* qtArgv[] = {arg0, nullptr};
    auto* backend = new QtBackend(qtArgc, qtArgv); // lives to the end of the process, as Qt wants
    auto* window = new TBenchWindow;
    auto keyboard = window->Midi.AddDevice("Keyboard", true, false);
    window->Form->Midi.OpenMidiPorts(0, 0, 1);
    backend->AdvanceMs(500); // the window shown and drawn
    std::printf("platform %s\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "of DISPLAY" : qgetenv("QT_QPA_PLATFORM").data());
    for (int run = 1; run <= runs; ++run)
        for (double rate : Rates(rates)) {
            const Figures f = Run(*backend, *window, *keyboard, rate, seconds, serverPid);
            std::printf("run %d, %5.0f messages a second: %ld played in %.2f s; CPU per second of input: process "
                        "%.1f ms, UI thread %.1f ms",
                        run, rate, f.Played, f.Seconds, 1000 * f.ProcessCpu / f.Seconds, 1000 * f.UiCpu / f.Seconds);
            if (serverPid > 0) std::printf(", X server %.1f ms", 1000 * f.ServerCpu / f.Seconds);
            std::printf("; %.1f title changes a second; title ends on the last message: %s\n",
                        double(f.TitleChanges) / f.Seconds, f.EndsOnLast ? "yes" : "NO");
            std::fflush(stdout);
        }
    return 0;
}
