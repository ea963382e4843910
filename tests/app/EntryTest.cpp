// The program entry: the exception display when a picture is missing, the single instance, and
// the end signals.
#include "app/Entry.h"
#include "performance/PerformancePage.h"
#include "tests/app/SignalsCaught.h"
#include "tests/support/Patience.h"
#include "tests/support/WindowRig.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

// The program started headless on the in-process MIDI system, with a settings folder of the
// test's own.
class Entry : public WindowRig {
protected:
    Entry() : WindowRig({.build = false}) {}
};

// One picture of the program folder, or the settings file, that is missing, not a regular file
// or too large (a picture of more pixels than the program decodes too): a box names it and why,
// nothing waits on a pipe, and the program goes on without it, except without an algorithm
// picture, until its main window closes. The About window and the memory notice are opened once
// the main window shows.
TEST_F(Entry, AFileThatCannotBeReadIsNamedAndNeverWaitedFor)
{
    MakeForm();
    const fs::path settings = form->SettingsIniFile();
    form.reset();
    enum Spoil { Missing, Folder, Pipe, Large, Wide };
    const struct {
        const char* file;
        Spoil spoil;
        const char* reason;
        bool runs;
    } cases[] = {
        {"alg/alg_88.jpg", Missing, "No such file", false},
        {"alg/alg_88.jpg", Folder, "It is a folder.", false},
        {"alg/alg_88.jpg", Pipe, "It is a named pipe.", false},
        {"graphics/eq_shelv_shelv.bmp", Pipe, "It is a named pipe.", true},
        {"graphics/about_emblem.jpg", Folder, "It is a folder.", true},
        {"graphics/fseq_init_notice.jpg", Pipe, "It is a named pipe.", true},
        {"graphics/effect_routing.bmp", Folder, "It is a folder.", true},
        {"graphics/effect_routing.bmp", Wide, "(too large: 8193 x 2 pixels)", true},
        {"settings", Folder, "it is a folder.", true},
        {"settings", Pipe, "it is a named pipe.", true},
        {"settings", Large, "it is larger than 65536 bytes.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.reason);
        Headless().Reset();
        fs::remove_all(settings);
        const fs::path dir = ProgramFolderCopy(std::to_string(&c - cases));
        const fs::path spoilt = c.file == std::string("settings") ? settings : dir / c.file;
        fs::remove(spoilt);
        if (c.spoil == Folder) fs::create_directory(spoilt);
        if (c.spoil == Pipe) {
            ASSERT_EQ(mkfifo(spoilt.c_str(), 0600), 0);
        }
        if (c.spoil == Large) WriteText(spoilt, "[MIDISetting]\nMIDIIN=FS1R\nMIDIOUT=FS1R\n" + std::string(65536, ';'));
        if (c.spoil == Wide) TBitmap(8193, 2).SaveToFile(spoilt.string());
        bool shown = false;
        // Runs once the main window shows (there is no message loop without it).
        if (c.runs)
            Application->Post([&] {
                auto* main = dynamic_cast<TMainForm*>(Application->MainForm());
                ASSERT_NE(main, nullptr);
                shown = main->Visible();
                main->HelpAboutItem->Click();
                main->PerformancePage->Pfm_Fseq_FseqIntClear->Click();
                main->Close();
            });
        EXPECT_EQ(RunQuillmarven(midi, dir), 0);

        EXPECT_EQ(shown, c.runs);
        // Each window that would show the picture opened all the same.
        EXPECT_EQ(Modals().size(), c.runs ? 3u : 0u); // the setup dialog (no settings read), About, notice
        ASSERT_EQ(Messages().size(), 1u);
        const std::string text = Messages()[0].Text;
        EXPECT_NE(text.find(spoilt.string()), std::string::npos) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    }
}

// Under a file-size limit (ulimit -f 8, as batch hosts and some desktops set), File > Save of a file
// larger than the limit fails as on a full disk: the Write box, the data still changed, the old
// file kept with nothing beside it. The program runs in a child process that starts with the
// limit's signal at its default, which would end it at the save.
TEST_F(Entry, ASaveOverTheFileSizeLimitIsToldAndTheProgramGoesOn)
{
    MakeForm();
    WriteText(form->SettingsIniFile(), "[MIDISetting]\nMIDIIN=FS1R\nMIDIOUT=FS1R\n");
    form.reset();
    const fs::path folder = temp / "saves", saved = folder / "kept.fse";
    fs::create_directories(folder);
    WriteText(saved, "old");
    const auto runLimited = [&] {
        const rlimit noCore{0, 0}, small{8192, 8192};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        std::string caption;
        Application->Post([&] {
            auto& main = dynamic_cast<TMainForm&>(*Application->MainForm());
            Advance(40000); // start-up's receive-all
            main.CurrentFileName = saved.string();
            main.MarkDataChanged();
            main.UserPressesKey('S', {ssCtrl});
            caption = main.Caption();
        });
        RunQuillmarven(midi, QM_PROGRAM_DIR);
        for (const TShownMessage& m : Messages()) std::fprintf(stderr, "told: %s\n", m.Text.c_str());
        std::fprintf(stderr, "caption: %s\n", caption.c_str());
        std::_Exit(0); // no leak check of what the test's process holds
    };
    EXPECT_EXIT(
        runLimited(), testing::ExitedWithCode(0),
        "told: Can't perform one of the following file operations: Write\\.\n\nCannot write \".*kept\\.fse\": "
        "File too large\ncaption: Quillmarven \\(Changed\\)\n");
    EXPECT_EQ(ReadText(saved), "old");
    EXPECT_EQ(EntriesIn(folder), 1) << "a file was left beside the save";
}

// How long a test waits for the real program to be up, which under the sanitizers takes a while.
constexpr std::chrono::milliseconds ProgramPatience{10000};

// Starts the real program with its own runtime folder; returns its process id. With
// `ignoring`, that signal is ignored when it starts, as nohup or a launcher leaves SIGHUP.
static pid_t StartProgram(const fs::path& runtimeDir, int ignoring = 0)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_RUNTIME_DIR=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
        env.push_back(entry);
    }
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir.string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_CONFIG_HOME=" + (runtimeDir / "config").string());
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string program = QM_EXECUTABLE;
    char* argv[] = {program.data(), nullptr};
    // As a session starts it: no signal ignored or held back, whatever the test's starter did,
    // but `ignoring`, which the program inherits ignored from the test for the moment of the start.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    struct sigaction ignore {
    }, before{};
    ignore.sa_handler = SIG_IGN;
    if (ignoring) {
        sigdelset(&defaults, ignoring);
        sigaction(ignoring, &ignore, &before);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv, envp.data());
    if (ignoring) sigaction(ignoring, &before, nullptr);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

TEST_F(Entry, SecondStartEndsAtOnceWithCodeOne)
{
    const fs::path& runtimeDir = temp.Path();
    const pid_t first = StartProgram(runtimeDir);
    ASSERT_GT(first, 0);

    // Every process of the test ends with it, however it ends.
    std::vector<pid_t> started{first};
    struct EndAll {
        std::vector<pid_t>& Pids;
        ~EndAll()
        {
            for (pid_t pid : Pids) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    } endAll{started};

    // Wait until the first instance holds its lock.
    const fs::path lockFile = runtimeDir / "Quillmarven.lock";
    const auto held = [&] {
        const int fd = open(lockFile.c_str(), O_RDWR);
        if (fd < 0) return false;
        const bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0;
        close(fd);
        return locked;
    };
    ASSERT_TRUE(WaitFor(held, ProgramPatience))
        << "the first instance did not take its lock within " << ProgramPatience.count() << " ms";

    const pid_t second = StartProgram(runtimeDir);
    ASSERT_GT(second, 0);
    int status = 0;
    // It ends at once, before anything of the program is set up.
    const bool ended = WaitFor([&] { return waitpid(second, &status, WNOHANG) == second; });
    if (!ended) started.push_back(second);
    ASSERT_TRUE(ended) << "the second start was still running after " << Patience.count() << " ms";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);

    // The first one runs on, undisturbed.
    EXPECT_EQ(waitpid(first, &status, WNOHANG), 0);
}

// The session ends (or the terminal goes, or Ctrl+C) while the program runs with a part muted and
// an edit not saved, with no box open, the save question open, or a modal window open: nothing
// more is asked, and a lift that fails is told on the standard error, not in a box. The closing
// runs once the box or window has returned: the instrument gets the part's stored volume back and
// every note off, and the program ends. (Real boxes: tests/app/ClosingViewTest.cpp, the real
// program below.)
TEST_F(Entry, AnEndSignalLiftsTheMutesAndSwitchesTheNotesOffWithoutAsking)
{
    MakeForm();
    WriteText(form->SettingsIniFile(), "[MIDISetting]\nMIDIIN=FS1R\nMIDIOUT=FS1R\n");
    form.reset();
    enum Open { Nothing, SaveQuestion, AboutWindow };
    const struct {
        int signal;
        Open open;
        bool liftFails;
    } cases[] = {{SIGTERM, Nothing, false},
                 {SIGHUP, SaveQuestion, false},
                 {SIGINT, AboutWindow, false},
                 {SIGTERM, Nothing, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.liftFails ? ", the lift fails" : ""));
        Headless().Reset();
        fs1r->SetMaxMessageSize(1024);
        ASSERT_NE(signal(c.signal, SIG_DFL), SIG_ERR); // the test's starter may ignore it
        Application->Post([&] {
            auto& main = dynamic_cast<TMainForm&>(*Application->MainForm());
            bool raised = false; // once: a second signal would end the test
            const auto endNow = [&] {
                if (std::exchange(raised, true)) return;
                // (Without a handler of the program's, the signal would end the test.)
                if (!Catches(getpid(), c.signal)) return ADD_FAILURE() << "the program does not catch the signal";
                raise(c.signal);
                Application->ProcessPosted();
            };
            const auto endUnderABox = [&] {
                endNow();
                EXPECT_TRUE(main.Midi.MidiPortsOpen) << "closed while a box or window was open";
            };
            Advance(40000); // start-up's receive-all
            main.PerformancePage->Pfm_PartTab->SetTabIndex(1);
            main.DisplayPerformancePart(1);
            ASSERT_TRUE(dynamic_cast<TScrollBar&>(*main.FindComponent("Pfm_Part_VolumeBar")).UserScrollsTo(77));
            ASSERT_TRUE(main.PerformancePage->Pfm_PartMuteBtn[1]->UserClicks());
            fs1r->ClearReceived();
            if (c.liftFails) fs1r->SetMaxMessageSize(4);
            Headless().MessageResponder = [&](const TShownMessage&) { return endUnderABox(), IDCANCEL; };
            Headless().ModalResponder = [&](TForm&) { endUnderABox(); };
            if (c.open == Nothing) endNow();
            if (c.open == SaveQuestion) main.UserPressesKey(VK_F4, {ssAlt});
            if (c.open == AboutWindow) main.HelpAboutItem->Click();
        });
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunQuillmarven(midi, QM_PROGRAM_DIR), 0);
        const std::string told = testing::internal::GetCapturedStderr();

        EXPECT_EQ(Messages().size() + Modals().size(), c.open == Nothing ? 0u : 1u) << "asked after the signal";
        // What nobody saw in a box is on the standard error.
        EXPECT_EQ(told.find("Quillmarven: A MIDI message of 10 bytes is too long for this MIDI output") !=
                      std::string::npos,
                  c.liftFails)
            << told;
        std::vector<Bytes> sent = fs1r->Received();
        ASSERT_EQ(sent.size(), c.liftFails ? 16u : 17u);
        if (!c.liftFails) {
            const Bytes lift = sent[0];
            sent.erase(sent.begin());
            ASSERT_EQ(lift.size(), 10u);
            EXPECT_EQ(lift[4], 0x31) << "the lift is part 2's";
            EXPECT_EQ(lift[6], 0x0B) << "the lift is the volume's";
            EXPECT_EQ(lift[8], 77) << "the lift carries the stored volume";
        }
        for (uint8_t channel = 0; channel < 16; ++channel)
            EXPECT_EQ(sent[channel], (Bytes{uint8_t(0xB0 | channel), 123, 0})) << "channel " << int(channel);
        EXPECT_EQ(fs1r->OpenOutputs() + fs1r->OpenInputs(), 0);
    }
}

// The real program in a runtime folder of its own, killed if the test leaves it running.
class ProgramRun {
public:
    explicit ProgramRun(const fs::path& runtimeDir, int ignoring = 0)
    {
        fs::create_directories(runtimeDir);
        fs::permissions(runtimeDir, fs::perms::owner_all);
        pid_ = StartProgram(runtimeDir, ignoring);
    }
    ~ProgramRun()
    {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    }
    pid_t Pid() const { return pid_; }
    // Whether it catches the end signals within the patience (it is then up).
    bool Up() const
    {
        return pid_ > 0 && WaitFor([&] { return Catches(pid_, SIGTERM); }, ProgramPatience);
    }
    // Whether it has ended, its status then in `status`.
    bool Ended(int& status)
    {
        if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
        pid_ = -1;
        return true;
    }
    bool EndsWithin(std::chrono::milliseconds patience, int& status)
    {
        return WaitFor([&] { return Ended(status); }, patience);
    }

private:
    pid_t pid_ = -1;
};

std::string HowItEnded(int status)
{
    return WIFSIGNALED(status) ? strsignal(WTERMSIG(status)) : "exit code " + std::to_string(WEXITSTATUS(status));
}

// The real program asked to end once ends through its closing with code 0, the box it shows at
// start-up (no MIDI system here, or no settings) open or not; asked twice it ends at once, by the
// signal. It is stopped while the signals come, so that it cannot finish the first end before the
// second comes.
TEST_F(Entry, TheProgramEndsThroughItsClosingOnOneEndSignalAndAtOnceOnTwo)
{
    const struct {
        std::vector<int> signals;
        bool closes;
    } cases[] = {{{SIGTERM}, true}, {{SIGTERM, SIGINT}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signals.size());
        ProgramRun program(temp / ("run" + std::to_string(c.signals.size())));
        ASSERT_TRUE(program.Up()) << "the program does not catch SIGTERM";

        kill(program.Pid(), SIGSTOP);
        for (int s : c.signals) kill(program.Pid(), s);
        kill(program.Pid(), SIGCONT);
        int status = 0;
        ASSERT_TRUE(program.EndsWithin(ProgramPatience, status))
            << "the program was still running after " << ProgramPatience.count() << " ms";
        if (c.closes) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << HowItEnded(status);
        } else {
            ASSERT_TRUE(WIFSIGNALED(status)) << HowItEnded(status);
            EXPECT_TRUE(WTERMSIG(status) == SIGTERM || WTERMSIG(status) == SIGINT) << HowItEnded(status);
        }
    }
}

// Started with SIGHUP ignored (nohup, a launcher): the program leaves it ignored, so that it goes
// on when its terminal closes; SIGTERM still ends it through its closing, as the first end signal.
TEST_F(Entry, ASignalIgnoredAtTheStartStaysIgnoredAndTheOthersStillEndItPolitely)
{
    ProgramRun program(temp / "nohup", SIGHUP);
    ASSERT_TRUE(program.Up()) << "the program does not catch SIGTERM";
    EXPECT_FALSE(Catches(program.Pid(), SIGHUP)) << "the program catches the SIGHUP it was started ignoring";

    // SIGHUP, then SIGTERM, both taken once it goes on (stopped meanwhile, so that neither comes
    // before the other is there, however busy the machine): a SIGHUP that ended it would leave its
    // own mark, and one that counted as an end signal would make SIGTERM the second, which ends at
    // once by the signal.
    kill(program.Pid(), SIGSTOP);
    kill(program.Pid(), SIGHUP);
    kill(program.Pid(), SIGTERM);
    kill(program.Pid(), SIGCONT);
    int status = 0;
    ASSERT_TRUE(program.EndsWithin(ProgramPatience, status))
        << "the program was still running after " << ProgramPatience.count() << " ms";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << HowItEnded(status);
}
