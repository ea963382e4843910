// The program entry: the exception display when a picture is missing, and the single instance.
#include "app/Entry.h"
#include "tests/support/WindowRig.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

// The program started headless on the in-process MIDI system, with a settings folder of the
// test's own.
class Entry : public WindowRig {
protected:
    Entry() : WindowRig({.build = false}) {}
};

TEST_F(Entry, MissingPictureIsShownAndNoWindowOpens)
{
    auto& headless = Headless();
    const fs::path dir = ProgramFolderCopy("nopic");
    fs::remove(dir / "alg" / "alg_88.jpg");

    EXPECT_EQ(RunQuillmarven(midi, dir), 0);

    ASSERT_EQ(headless.Messages.size(), 1u);
    EXPECT_NE(headless.Messages[0].Text.find("alg_88.jpg"), std::string::npos) << headless.Messages[0].Text;
    EXPECT_EQ(headless.Messages[0].Caption, "Quillmarven");
    for (TForm* shown : Application->Forms()) EXPECT_FALSE(shown->Visible());
}

TEST_F(Entry, RunsUntilTheMainWindowCloses)
{
    auto& headless = Headless();
    // An instrument to talk to and no settings: start-up offers the setup dialog (which the
    // headless back end closes) and runs on.
    bool wasShown = false;
    Application->Post([&] {
        TForm* main = Application->MainForm();
        ASSERT_NE(main, nullptr);
        wasShown = main->Visible();
        main->Close();
    });
    EXPECT_EQ(RunQuillmarven(midi, QM_PROGRAM_DIR), 0);
    EXPECT_TRUE(wasShown);
    EXPECT_TRUE(headless.Messages.empty());
    ASSERT_EQ(headless.Modals.size(), 1u);
    EXPECT_EQ(headless.Modals[0].FormName, "MIDISetup");
}

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

    // Wait until the first instance holds its lock.
    const fs::path lockFile = runtimeDir / "Quillmarven.lock";
    bool held = false;
    for (int i = 0; i < 300 && !held; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int fd = open(lockFile.c_str(), O_RDWR);
        if (fd >= 0) {
            held = flock(fd, LOCK_EX | LOCK_NB) != 0;
            close(fd);
        }
    }
    ASSERT_TRUE(held) << "the first instance never took its lock";

    const pid_t second = StartProgram(runtimeDir);
    ASSERT_GT(second, 0);
    int status = 0;
    ASSERT_EQ(waitpid(second, &status, 0), second);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);

    // The first one runs on, undisturbed.
    EXPECT_EQ(waitpid(first, &status, WNOHANG), 0);
    kill(first, SIGKILL);
    waitpid(first, &status, 0);
}
