// The program entry: the exception display when a picture is missing, and the single instance.
#include "app/Entry.h"
#include "performance/PerformancePage.h"
#include "tests/support/Patience.h"
#include "tests/support/WindowRig.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

// The program started headless on the in-process MIDI system, with a settings folder of the
// test's own.
class Entry : public WindowRig {
protected:
    Entry() : WindowRig({.build = false}) {}
};

// One picture of the program folder, or the settings file, that is missing, not a regular file
// or too large: a box names it and why, nothing waits on a pipe, and the program goes on
// without it, except without an algorithm picture, until its main window closes. The About
// window and the memory notice are opened once the main window shows.
TEST_F(Entry, AFileThatCannotBeReadIsNamedAndNeverWaitedFor)
{
    MakeForm();
    const fs::path settings = form->SettingsIniFile();
    form.reset();
    enum Spoil { Missing, Folder, Pipe, Large };
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

// How long a test waits for the real program to be up, which under the sanitizers takes a while.
constexpr std::chrono::milliseconds ProgramPatience{10000};

// Starts the real program with its own runtime folder; returns its process id.
static pid_t StartProgram(const fs::path& runtimeDir)
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
    pid_t pid = -1;
    posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data());
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
