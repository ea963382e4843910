// File > Open, Save and Save As: the save file round trip, every kind of wrong file, the relay of
// the other editor's file, safe writing and the page flip.
#include "tests/files/FormRig.h"
#include "tests/support/FileSizeLimit.h"
#include "voice/VoicePage.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <future>
#include <thread>

namespace {

const char* const WrongFse = "File Error: This file is not Quillmarven's file or broken file";
const char* const WrongFs1 = "File Error: This file is not Tarnwick's file or broken file";
const char* const WriteFailed = "Can't perform one of the following file operations: Write.";

// How long a file command may take before the test takes it for waiting on something.
constexpr std::chrono::seconds WriteDeadline{5};

// The unprivileged user and group a child process takes in place of root's ("nobody").
constexpr uid_t Nobody = 65534;

class FilesTest : public FormRig {
protected:
    FilesTest() : FormRig({.open = Ports::Instrument}) {}

    // A command that writes a file, as a person gives it: the name it writes (chosen in its
    // dialog, or the settings file), what it says when it cannot, and the person's action. The
    // settings, which it reads first, are left alone when it cannot read them: `notRead` is what
    // it then says, ahead of the reason.
    struct Writer {
        std::string what;
        fs::path file;
        std::string failure;
        std::function<void()> write;
        std::string notRead = {};
    };
    // Every command that writes a file, each to its own name in the test's folder; the window is
    // shown on the voice page, which has the shape library's buttons.
    std::vector<Writer> Writers()
    {
        form->Show();
        ShowVoice(0);
        return {
            {"save", temp / "a.fse", WriteFailed, [this] { Click("FileSaveAsItem"); }},
            {"shape library", temp / "a.eg", WriteFailed,
             [this] { EXPECT_TRUE(form->VoicePage->Vc_OpEGShapeSave->UserClicks()); }},
            {"MIDI file", temp / "a.mid", std::string(WriteFailed) + " This file is used by other application! ",
             [this] { Click("ExportSMF"); }},
            {"settings", SettingsFile(), WriteFailed,
             [this] {
                 Headless().ModalResponder = [](TForm& f) {
                     auto& d = dynamic_cast<TMIDISetup&>(f);
                     d.MIDIIN_Box->UserSelects(0);
                     d.MIDIOUT_Box->UserSelects(0);
                     d.OKBitBtn->UserClicks();
                 };
                 Click("MIDI_config");
             },
             "The settings file \"" + SettingsFile().string() + "\" is not written, since it could not be read: "},
        };
    }
    void Write(const Writer& w)
    {
        AnswerFileDialogs([&w](const TFileDialogRequest&) { return w.file.string(); });
        w.write();
    }
    // A save of the current file that the file-size limit's signal kills halfway, in a child
    // process: what it left in the test's folder.
    std::vector<fs::path> LeftBySaveKilledHalfway()
    {
        std::vector<fs::path> before;
        for (const auto& entry : fs::directory_iterator(temp.Path())) before.push_back(entry.path());
        auto saveKilledHalfway = [this] {
            const rlimit noCore{0, 0}, small{5000, 5000};
            setrlimit(RLIMIT_CORE, &noCore);
            setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, SIG_DFL);
            Click("FileSaveItem");
            std::exit(0);
        };
        EXPECT_EXIT(saveKilledHalfway(), testing::KilledBySignal(SIGXFSZ), "");
        std::vector<fs::path> left;
        for (const auto& entry : fs::directory_iterator(temp.Path()))
            if (std::find(before.begin(), before.end(), entry.path()) == before.end()) left.push_back(entry.path());
        return left;
    }
};

// Runs a writer, which never waits for anything, on a thread of its own. One that opens a pipe
// in the file's place as if it were a file waits there for a reader: past the deadline the test
// opens the pipe for reading, takes what comes until the writer is done, and fails.
void WriteWithoutWaiting(const std::function<void()>& write, const fs::path& pipe)
{
    std::packaged_task<void()> task(write);
    std::future<void> done = task.get_future();
    std::thread writer(std::move(task));
    if (done.wait_for(WriteDeadline) == std::future_status::ready) {
        writer.join();
        done.get();
        return;
    }
    // Our end may close before the writer is through: its write then fails instead of ending
    // the process.
    const auto oldPipeSignal = std::signal(SIGPIPE, SIG_IGN);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const auto giveUp = std::chrono::steady_clock::now() + WriteDeadline;
    char buffer[4096];
    while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
           std::chrono::steady_clock::now() < giveUp)
        while (reader >= 0 && ::read(reader, buffer, sizeof buffer) > 0) {}
    if (reader >= 0) ::close(reader);
    std::signal(SIGPIPE, oldPipeSignal);
    if (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        std::fprintf(stderr, "The write still waits %lld s after a reader opened \"%s\"; the test cannot go on.\n",
                     static_cast<long long>(WriteDeadline.count()), pipe.c_str());
        std::_Exit(1);
    }
    writer.join();
    ADD_FAILURE() << "The write waited " << WriteDeadline.count() << " s, until the test opened \"" << pipe.string()
                  << "\" for reading: it opened the pipe as a file instead of refusing it.";
}

// What a child process that is not root reported, or why none could run.
struct ChildReport {
    bool ran = false;
    std::string text;
};

// Runs `body` in a child process without root's rights, which would let it write any file: as
// root, the child gives up root for the user and group "nobody" first. It runs only where it may
// write into each of `folders`. The child cannot report test failures of its own, so `body`
// returns its findings as text. Bounded in time like the writes: a child that has not finished by
// then is killed and said to have waited.
ChildReport RunWithoutRoot(const std::vector<fs::path>& folders, const std::function<std::string()>& body)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) return {false, std::string("no pipe: ") + std::strerror(errno)};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return {false, std::string("cannot start a process: ") + std::strerror(errno)};
    if (child == 0) {
        ::close(channel[0]);
        std::string text;
        int code = 0;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)) {
            text = std::string("root cannot become user and group 65534 here: ") + std::strerror(errno);
            code = 2;
        }
        for (const fs::path& folder : folders)
            if (code == 0 && ::access(folder.c_str(), W_OK | X_OK) != 0) {
                text = "without root, \"" + folder.string() + "\" cannot be written into: " + std::strerror(errno);
                code = 2;
            }
        if (code == 0) text = body();
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(channel[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += std::size_t(n);
        }
        ::_exit(code); // no exit handlers: they belong to the test process
    }
    ::close(channel[1]);
    ChildReport report{true, ""};
    const auto giveUp = std::chrono::steady_clock::now() + 2 * WriteDeadline;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
        pollfd in{channel[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, int(left.count())) == 0) {
            ::kill(child, SIGKILL);
            report.text += "\n(the child waited " + std::to_string(2 * WriteDeadline.count()) + " s and was killed)";
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        report.text.append(buffer, std::size_t(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) report.ran = false;
    if (WIFSIGNALED(status)) report.text += "\n(the child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return report;
}

} // namespace

TEST_F(FilesTest, SavedFileReopensAndSavesAgainByteForByte)
{
    Scramble();
    const TParameterData saved = form->ParameterData;
    form->MarkDataChanged();
    const fs::path path = temp / "scrambled.fse";
    AnswerFileDialogs([&](const TFileDialogRequest& r) {
        EXPECT_TRUE(r.Save);
        EXPECT_EQ(r.Title, "Quillmarven SaveDialog");
        EXPECT_EQ(r.InitialDir, "data");
        EXPECT_TRUE(r.OverwritePrompt);
        return path.string();
    });
    Click("FileSaveItem"); // no file name yet: Save As
    ASSERT_EQ(Headless().FileDialogs.size(), 1u);
    const Bytes image = ReadBytes(path);
    ASSERT_EQ(image.size(), 12996u);
    EXPECT_EQ(std::memcmp(image.data(), "Quillmarven\0\x64\0\0\0", 16), 0);
    EXPECT_EQ(form->CurrentFileName, path.string());
    EXPECT_EQ(form->Caption(), "Quillmarven");

    MakeForm();
    form->MarkDataChanged();
    OpenFile(path, 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Same(form->ParameterData, saved));
    EXPECT_EQ(form->CurrentFileName, path.string());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->Caption(), "Quillmarven");
    EXPECT_TRUE(form->AllSendTimer->Enabled());
    EXPECT_EQ(form->AllSendTimer->Tag, 0);

    fs::remove(path);
    Click("FileSaveItem"); // to the same name, no dialog
    EXPECT_EQ(Headless().FileDialogs.size(), 2u);
    EXPECT_EQ(ReadBytes(path), image);
}

TEST_F(FilesTest, WrongFilesAreRefusedAndChangeNothing)
{
    Bytes shortFile = SaveFileImage();
    shortFile.pop_back();
    Bytes badMagic = SaveFileImage();
    badMagic[11] = 'x'; // no NUL after the name
    const Bytes fs1 = {0xF0, 0x43, 0x00, 0x5E, 0x00, 0xF7};
    Bytes huge(16u << 20, 0);
    huge[0] = 0xF0, huge[1] = 0x43;
    huge.push_back(0xF7);
    struct Case {
        std::string what;
        fs::path path;
        int filter;
        std::string text;
    } cases[] = {
        {"one byte short", WriteFile("short.fse", shortFile), 1, WrongFse},
        {"version 99", WriteFile("v99.fse", SaveFileImage(99)), 1, WrongFse},
        {"wrong magic", WriteFile("magic.fse", badMagic), 1, WrongFse},
        {".fs1 read as .fse", WriteFile("other.fs1", fs1), 1, WrongFse},
        {"missing .fse", temp / "missing.fse", 1, WrongFse},
        {"a folder", temp.Path(), 1, WrongFse},
        {".fse read as .fs1", WriteFile("good.fse", SaveFileImage()), 2, WrongFs1},
        {"one byte .fs1", WriteFile("one.fs1", {0xF0}), 2, WrongFs1},
        {".fs1 broken off inside its second message",
         WriteFile("cut.fs1", {0xF0, 0x43, 0x00, 0x5E, 0x10, 0x00, 0x00, 0x01, 0xF7, 0xF0, 0x43, 0x00, 0x5E}), 2,
         WrongFs1},
        {"empty .fs1", WriteFile("empty.fs1", {}), 2, WrongFs1},
        {"over 16 MiB", WriteFile("huge.fs1", huge), 2, WrongFs1},
        {"missing .fs1", temp / "missing.fs1", 2,
         "Can't perform one of the following file operations: Open, Seek, Read, Close.\n\nCannot read \"" +
             (temp / "missing.fs1").string() + "\": No such file or directory"},
    };
    form->MarkDataChanged();
    const TParameterData before = form->ParameterData;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Messages().clear();
        fs1r->ClearReceived();
        OpenFile(c.path, c.filter);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, c.text);
        const bool fileError = Messages()[0].Caption == "File Error";
        EXPECT_EQ(Messages()[0].Buttons, fileError ? MB_OKCANCEL : MB_OK);
        EXPECT_EQ(Messages()[0].Icon, fileError ? 0 : MB_ICONEXCLAMATION);
        EXPECT_TRUE(fs1r->Received().empty());
        EXPECT_TRUE(Same(form->ParameterData, before));
        EXPECT_TRUE(form->CurrentFileName.empty());
        EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
        EXPECT_FALSE(form->AllSendTimer->Enabled() || form->AllRcvTimer->Enabled());
    }
}

TEST_F(FilesTest, OtherEditorsFileIsRelayedWithTheDeviceNumberSetThenReadBack)
{
    form->DeviceNumber = 3;
    form->CurrentFileName = "kept.fse";
    form->MarkDataChanged();
    const Bytes file = {0xF0, 0x43, 0x0F, 0x5E, 0x10, 0x00, 0x00, 0x01, 0xF7,
                        0xF0, 0x43, 0x0F, 0x5E, 0x40, 0x00, 0x00, 0x02, 0xF7};
    // A message longer than the output carries is refused with the MIDI system's text.
    fs1r->SetMaxMessageSize(8);
    EXPECT_THROW(OpenFile(WriteFile("set.fs1", file), 2), Exception);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(form->AllRcvTimer->Enabled());

    fs1r->SetMaxMessageSize(1024);
    OpenFile(temp / "set.fs1", 2);

    ASSERT_GE(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "File reading was successful !");
    EXPECT_EQ(Messages()[0].Icon, MB_ICONINFORMATION);
    const auto sent = fs1r->Received();
    ASSERT_GE(sent.size(), 2u);
    Bytes first(file.begin(), file.begin() + 9), second(file.begin() + 9, file.end());
    first[2] = second[2] = 0x03; // set into the low four bits, not added (0x12)
    EXPECT_EQ(sent[0], first);
    EXPECT_EQ(sent[1], second);
    EXPECT_TRUE(form->AllRcvTimer->Enabled());
    EXPECT_TRUE(form->CurrentFileName.empty()) << "the buffer is no longer the save file's";
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->Caption(), "Quillmarven");
}

// A file stored for device 1, of several blocks, over an instrument set to device 3: every block
// lands, not only the first. Another maker's message goes out as stored.
TEST_F(FilesTest, AnImportReachesAnInstrumentOnAnotherDeviceNumberWithEveryBlock)
{
    SetDeviceNumber(2);
    SimulatedInstrument theirs;
    for (std::size_t i = 0; i < theirs.Performance.size(); ++i) theirs.Performance[i] = uint8_t((i * 5 + 1) & 0x7F);
    for (std::size_t v = 0; v < 4; ++v)
        for (std::size_t i = 0; i < theirs.Voices[v].size(); ++i) theirs.Voices[v][i] = uint8_t((i * 3 + v + 1) & 0x7F);
    theirs.System[0] = 0x45;
    const Bytes generalMidiOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    Bytes file;
    for (const Bytes& block : {theirs.BulkDumpOf(0x10, 0, 0), theirs.BulkDumpOf(0x40, 0, 0), generalMidiOn,
                               theirs.BulkDumpOf(0x43, 0, 0), theirs.BulkDumpOf(0, 0, 0)})
        file.insert(file.end(), block.begin(), block.end());
    ASSERT_EQ(file[2], 0x00);

    OpenFile(WriteFile("theirs.fs1", file), 2);
    ASSERT_GE(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "File reading was successful !");
    EXPECT_EQ(instrument.BulkDumpsTaken, 4);
    EXPECT_EQ(instrument.MessagesIgnored, 1) << "only the other maker's message";
    EXPECT_EQ(instrument.Performance, theirs.Performance);
    EXPECT_EQ(instrument.Voices[0], theirs.Voices[0]);
    EXPECT_EQ(instrument.Voices[3], theirs.Voices[3]);
    EXPECT_EQ(instrument.System, theirs.System);
    const auto sent = fs1r->Received();
    EXPECT_TRUE(std::find(sent.begin(), sent.end(), generalMidiOn) != sent.end());
}

// File > New and an import replace the whole edit buffer: the file last opened or saved no
// longer holds it, and the next Save asks for a name instead of writing over that file.
TEST_F(FilesTest, NewAndAnImportForgetTheFileNameSoTheNextSaveAsksForOne)
{
    std::memcpy(instrument.Performance.data(), "Far Side    ", 12);
    const Bytes fs1 = instrument.BulkDumpOf(0x10, 0, 0);
    const struct {
        const char* what;
        std::function<void()> replace;
        const char* proposal; // the name of the performance the buffer now holds
    } commands[] = {
        {"File > New", [this] { form->MainMenu1->IsShortCut('N', {ssCtrl}); }, "InitPerfrmnc.fse"},
        {"an .fs1 import", [&] { OpenFile(WriteFile("theirs.fs1", fs1), 2); }, "Far Side.fse"},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.what);
        Headless().Reset();
        MakeForm().Show();
        Scramble();
        form->MarkDataChanged();
        const fs::path mine = temp / "n_saved.fse";
        AnswerFileDialogs([&](const TFileDialogRequest&) { return mine.string(); });
        Click("FileSaveAsItem");
        const Bytes saved = ReadBytes(mine);
        ASSERT_EQ(saved.size(), 12996u);

        c.replace();
        Advance(40000); // the send-all of New, the receive-all of the import
        EXPECT_TRUE(form->CurrentFileName.empty());
        auto& bar = dynamic_cast<TScrollBar&>(*form->FindComponent("Pfm_VolumeBar"));
        bar.UserSteps(bar.Position() > 64 ? scLineUp : scLineDown);
        Headless().FileDialogs.clear();
        AnswerFileDialogs([](const TFileDialogRequest&) { return std::nullopt; });
        form->MainMenu1->IsShortCut('S', {ssCtrl});
        EXPECT_EQ(ReadBytes(mine), saved);
        EXPECT_EQ(Headless().FileDialogs.size(), 1u) << "Save went without a dialog";
        for (const auto& dialog : Headless().FileDialogs) {
            EXPECT_TRUE(dialog.Request.Save);
            EXPECT_EQ(dialog.Request.FileName, c.proposal);
        }
        EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    }
}

// A send that fails is told; it marks the data changed only when it followed an edit that was
// stored, so that closing asks to save that edit and nothing else: a relay of a file one message
// too long for a JACK output, or of what is stored already (a mute, the performance transmitted),
// leaves the caption and File > Exit as they were.
TEST_F(FilesTest, OnlyAnEditWhoseSendFailsMarksTheDataChanged)
{
    Bytes oneMessage(20000, 0x01);
    oneMessage[0] = 0xF0, oneMessage[1] = 0x43, oneMessage[2] = 0x00, oneMessage[3] = 0x5E, oneMessage.back() = 0xF7;
    const fs::path fs1 = WriteFile("long.fs1", oneMessage);
    const auto pick = [this](const char* item) { Application->Dispatch([&] { Click(item); }); };
    const struct {
        const char* what;
        std::size_t carries; // the longest message the output takes
        std::function<void()> act;
        bool edit;
    } cases[] = {
        {"a 20,000-byte .fs1 opened", platform::JackMaxMessageSize,
         [&] {
             Headless().FileResponder = [&](TFileDialogRequest& r) { return r.FilterIndex = 2, fs1.string(); };
             form->UserPressesKey('O', {ssCtrl});
         },
         false},
        {"part 2 muted", 4, [&] { form->PerformancePage->Pfm_PartMuteBtn[1]->UserClicks(); }, false},
        {"part 2 muted after the instrument's data came", 4,
         [&] {
             fs1r->SetMaxMessageSize(1024);
             pick("DataRcvAll"); // the first: it leaves the data unchanged
             Advance(40000);
             fs1r->SetMaxMessageSize(4);
             form->PerformancePage->Pfm_PartMuteBtn[1]->UserClicks();
         },
         false},
        {"the performance transmitted", 4, [&] { form->PerformancePage->Pfm_Data_Send_Btn->UserClicks(); }, false},
        {"part 2 muted after an edit was saved", 4,
         [&] {
             fs1r->SetMaxMessageSize(1024);
             auto& bar = dynamic_cast<TScrollBar&>(*form->FindComponent("Pfm_VolumeBar"));
             bar.UserSteps(bar.Position() > 64 ? scLineUp : scLineDown);
             Headless().FileResponder = [&](TFileDialogRequest&) { return (temp / "saved.fse").string(); };
             pick("FileSaveAsItem");
             ASSERT_EQ(form->Caption(), "Quillmarven");
             fs1r->SetMaxMessageSize(4);
             form->PerformancePage->Pfm_PartMuteBtn[1]->UserClicks();
         },
         false},
        {"a step of the volume", 4,
         [&] {
             auto& bar = dynamic_cast<TScrollBar&>(*form->FindComponent("Pfm_VolumeBar"));
             bar.UserSteps(bar.Position() > 64 ? scLineUp : scLineDown);
         },
         true},
        {"a category chosen", 4, [&] { form->PerformancePage->Pfm_Category->UserSelects(3); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Headless().Reset();
        MakeForm().Show();
        fs1r->SetMaxMessageSize(c.carries);
        c.act();
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Icon, MB_ICONERROR) << Messages()[0].Text;
        EXPECT_EQ(form->DataChanged, c.edit ? 1 : 0);
        EXPECT_EQ(form->Caption(), c.edit ? "Quillmarven (Changed)" : "Quillmarven");

        Messages().clear();
        AnswerMessages(IDCANCEL);
        pick("FileExitItem");
        const auto questions = std::count_if(Messages().begin(), Messages().end(),
                                             [](const TShownMessage& m) { return m.Buttons == MB_YESNOCANCEL; });
        EXPECT_EQ(questions, c.edit ? 1 : 0);
        EXPECT_EQ(form->Visible(), c.edit);
    }
}

// Each writer, given a name that leads through links to a file, a pipe, a folder or round a loop.
TEST_F(FilesTest, EveryWriterWritesWhereTheLinksLeadAndRefusesWhatIsNoFile)
{
    enum End { Chain, Pipe, Folder, Loop };
    const char* const endNames[] = {"a chain of links", "a pipe", "a link to a folder", "a loop of links"};
    const char* const notReadBecause[] = {"", "it is a named pipe.", "it is a folder.",
                                          "Too many levels of symbolic links."};
    for (const Writer& w : Writers()) {
        const fs::path a = w.file, dir = a.parent_path();
        const fs::path b = dir / ("b" + a.extension().string()), c = dir / ("c" + a.extension().string());
        for (End end : {Chain, Pipe, Folder, Loop}) {
            SCOPED_TRACE(w.what + " to " + endNames[end]);
            for (const fs::path& p : {a, b, c}) fs::remove_all(p);
            Messages().clear();
            switch (end) {
            case Chain: // a -> b -> c, and c is written in place, keeping its permissions
                fs::create_symlink(b.filename(), a);
                fs::create_symlink(c, b);
                WriteText(c, "old");
                fs::permissions(c, fs::perms(0640));
                break;
            case Pipe: ASSERT_EQ(mkfifo(a.c_str(), 0600), 0); break;
            case Folder:
                fs::create_directory(c);
                fs::create_symlink(c, a);
                break;
            case Loop:
                fs::create_symlink(b, a);
                fs::create_symlink(a, b);
                break;
            }
            const long entries = EntriesIn(dir);
            WriteWithoutWaiting([&] { Write(w); }, a);
            EXPECT_EQ(EntriesIn(dir), entries) << "a file was added or left beside";
            if (end == Chain) {
                EXPECT_TRUE(Messages().empty());
                EXPECT_TRUE(fs::is_symlink(a) && fs::is_symlink(b));
                EXPECT_GT(ReadText(c).size(), 3u);
                EXPECT_EQ(fs::status(c).permissions(), fs::perms(0640));
            } else {
                ASSERT_EQ(Messages().size(), 1u);
                // What the system said follows the box's text, naming the file the links lead to.
                const std::string cause = end == Loop ? "Cannot follow the links of \"" + a.string() +
                                                            "\": Too many levels of symbolic links"
                                                      : "Cannot write \"" + (end == Pipe ? a : c).string() + "\": " +
                                                            std::string(notReadBecause[end]).substr(
                                                                0, std::strlen(notReadBecause[end]) - 1);
                EXPECT_EQ(Messages()[0].Text,
                          w.notRead.empty() ? w.failure + "\n\n" + cause : w.notRead + notReadBecause[end]);
                EXPECT_EQ(fs::symlink_status(a).type(), end == Pipe ? fs::file_type::fifo : fs::file_type::symlink);
                EXPECT_TRUE(end != Loop || fs::is_symlink(b));
                EXPECT_TRUE(end != Folder || fs::is_directory(c));
            }
        }
    }
}

// Each writer, given a file that its user may not write: it says it cannot, and the file stays
// as it was, read-only, with nothing beside it. Root may write any file, so the writers run in a
// child process that has given up root; the folders are open to it, so only the file's own
// permissions stand in its way.
TEST_F(FilesTest, EveryWriterLeavesAReadOnlyFileAsItWas)
{
    const std::vector<Writer> writers = Writers();
    std::vector<fs::path> folders;
    std::string expected;
    for (const Writer& w : writers) {
        ASSERT_EQ(w.file.string().rfind(temp.Path().string() + "/", 0), 0u)
            << w.file << " is outside the test's folder";
        for (fs::path dir = w.file.parent_path(); dir != temp.Path().parent_path(); dir = dir.parent_path()) {
            fs::create_directories(dir);
            fs::permissions(dir, fs::perms::all);
        }
        folders.push_back(w.file.parent_path());
        fs::remove_all(w.file);
        WriteText(w.file, "old");
        fs::permissions(w.file, fs::perms(0444));
        expected += w.what + ": " + w.failure + "\n\nCannot write \"" + w.file.string() + "\": Permission denied\n";
    }
    std::vector<long> entries;
    for (const fs::path& folder : folders) entries.push_back(EntriesIn(folder));
    const ChildReport report = RunWithoutRoot(folders, [&] {
        std::string said;
        for (const Writer& w : writers) {
            Messages().clear();
            Write(w);
            said += w.what + ":";
            for (const TShownMessage& m : Messages()) said += " " + m.Text;
            said += "\n";
        }
        return said;
    });
    if (!report.ran) GTEST_SKIP() << report.text;
    EXPECT_EQ(report.text, expected);
    for (std::size_t i = 0; i < writers.size(); ++i) {
        SCOPED_TRACE(writers[i].what);
        const std::string now = ReadText(writers[i].file);
        EXPECT_TRUE(now == "old") << "the file was replaced: it holds " << now.size() << " bytes";
        EXPECT_EQ(fs::status(writers[i].file).permissions(), fs::perms(0444));
        EXPECT_EQ(EntriesIn(folders[i]), entries[i]) << "a file was added or left beside";
    }
}

// A settings file that its user may write but not read: OK in the setup dialog leaves it as it was
// and says why. Root may read any file, so the dialog runs in a child that has given up root.
TEST_F(FilesTest, TheSetupLeavesASettingsFileItMayNotReadAsItWas)
{
    const std::vector<Writer> writers = Writers();
    const Writer& settings = writers.back();
    const fs::path folder = settings.file.parent_path();
    for (fs::path dir = folder; dir != temp.Path().parent_path(); dir = dir.parent_path()) {
        fs::create_directories(dir);
        fs::permissions(dir, fs::perms::all);
    }
    WriteText(settings.file, "[MIDISetting]\nMIDIIN=Mine\n; and more\n");
    fs::permissions(settings.file, fs::perms(0222));
    const long entries = EntriesIn(folder);
    const ChildReport report = RunWithoutRoot({folder}, [&] {
        Messages().clear();
        Write(settings);
        std::string said;
        for (const TShownMessage& m : Messages()) said += m.Text + "\n";
        return said;
    });
    if (!report.ran) GTEST_SKIP() << report.text;
    EXPECT_EQ(report.text, settings.notRead + "Permission denied.\n");
    EXPECT_EQ(ReadText(settings.file), "[MIDISetting]\nMIDIIN=Mine\n; and more\n");
    EXPECT_EQ(fs::status(settings.file).permissions(), fs::perms(0222));
    EXPECT_EQ(EntriesIn(folder), entries) << "a file was added or left beside";
}

// A save over a file that the disk takes only part of (here a file-size limit): the Write message,
// the data still marked changed, the old file unchanged with nothing beside it. A save killed
// halfway (by the limit's signal) leaves its temporary file beside the file; the next save removes
// it, and leaves those of writers that still run.
TEST_F(FilesTest, SaveCutShortKeepsTheOldFileAndTheNextSaveRemovesWhatAKilledSaveLeft)
{
    form->ParameterData.PfmCommon.Volume = 11;
    const Bytes old = SaveFileImage();
    const fs::path path = WriteFile("kept.fse", old);
    form->CurrentFileName = path.string();
    form->ParameterData.PfmCommon.Volume = 99;
    form->MarkDataChanged();
    {
        FileSizeLimit limit(5000);
        Click("FileSaveItem");
    }
    ExpectFileError("Can't perform one of the following file operations: Write.");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    EXPECT_EQ(EntriesIn(temp.Path()), 1);

    const std::vector<fs::path> left = LeftBySaveKilledHalfway();
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(left[0].filename().string().rfind("kept.fse.tmp-", 0), 0u);
    const fs::path running = temp / "kept.fse.tmp-1-0-0"; // process 1 runs as long as the system
    const fs::path otherFile = temp / ("other" + left[0].filename().string().substr(4));
    WriteText(running, "x");
    WriteText(otherFile, "x");

    Click("FileSaveItem");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadBytes(path), SaveFileImage());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_FALSE(fs::exists(left[0]));
    EXPECT_TRUE(fs::exists(running) && fs::exists(otherFile));
}

// A file named as long as a name may be (255 bytes, of two-byte characters) opens and saves
// again, as each writer given such a name writes, with nothing beside it. A save of it cut short
// keeps the old file with nothing beside it; one killed halfway leaves its temporary file, named
// within the limit and with no character cut in two, which the next save removes, and not that
// of another file of the same long beginning.
TEST_F(FilesTest, AFileWithTheLongestNameSavesWithEveryWriter)
{
    std::string twoByteName;
    while (twoByteName.size() < 250) twoByteName += "\u00e9";
    const fs::path path = WriteFile(twoByteName + "x.fse", SaveFileImage());
    ASSERT_EQ(path.filename().string().size(), 255u);
    form->Show();
    OpenFile(path);
    Advance(40000); // the send-all that follows
    EXPECT_TRUE(Messages().empty());
    auto& bar = dynamic_cast<TScrollBar&>(*form->FindComponent("Pfm_VolumeBar"));
    ASSERT_TRUE(bar.UserSteps(bar.Position() > 64 ? scLineUp : scLineDown));
    form->UserPressesKey('S', {ssCtrl});
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadBytes(path), SaveFileImage());
    EXPECT_EQ(EntriesIn(temp.Path()), 1);

    const Bytes saved = ReadBytes(path);
    ASSERT_TRUE(bar.UserSteps(bar.Position() > 64 ? scLineUp : scLineDown));
    {
        FileSizeLimit limit(5000);
        Click("FileSaveItem");
    }
    ExpectFileError(WriteFailed);
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_EQ(EntriesIn(temp.Path()), 1);

    const std::vector<fs::path> left = LeftBySaveKilledHalfway();
    ASSERT_EQ(left.size(), 1u);
    const std::string leftName = left[0].filename().string();
    const std::string cutName = leftName.substr(0, leftName.find('~'));
    EXPECT_EQ(twoByteName.rfind(cutName, 0), 0u) << leftName;
    EXPECT_EQ(cutName.size() % 2, 0u) << "a character was cut in two: " << leftName;
    // What a killed save of another file of the same long beginning left is that file's.
    form->CurrentFileName = (temp / (twoByteName + "y.fse")).string();
    const std::vector<fs::path> othersLeft = LeftBySaveKilledHalfway();
    ASSERT_EQ(othersLeft.size(), 1u);
    form->CurrentFileName = path.string();
    Click("FileSaveItem");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadBytes(path), SaveFileImage());
    EXPECT_FALSE(fs::exists(left[0])) << "what the killed save left stays";
    EXPECT_TRUE(fs::exists(othersLeft[0])) << "what another file's save left was removed";
    fs::remove(othersLeft[0]);

    for (Writer w : Writers()) {
        if (w.file == SettingsFile()) continue; // its name is the program's
        SCOPED_TRACE(w.what);
        const std::string extension = w.file.extension().string();
        w.file = temp / (std::string(255 - extension.size(), 'w') + extension);
        const long entries = EntriesIn(temp.Path());
        Write(w);
        EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
        Messages().clear();
        EXPECT_GT(fs::file_size(w.file), 0u);
        EXPECT_EQ(EntriesIn(temp.Path()), entries + 1) << "a file was left beside";
    }
}

TEST_F(FilesTest, SaveAsProposesTheTrimmedPerformanceNameAndMayBeCancelledAndTheNextOneForgetsTheCancel)
{
    // A name chooses no folder: "../../qq" would write two folders above the dialog's.
    const std::pair<const char*, const char*> names[] = {{" \tMy Pfm  \x01", "My Pfm.fse"},
                                                         {"            ", ".fse"},
                                                         {"Pad/Str 2   ", "Pad_Str 2.fse"},
                                                         {"../../qq    ", ".._.._qq.fse"}};
    for (const auto& [name, proposal] : names) {
        std::memcpy(form->ParameterData.PfmCommon.Name.data(), name, 12);
        form->RefreshPerformancePages();
        form->MarkDataChanged();
        Headless().FileDialogs.clear();
        Click("FileSaveAsItem");
        ASSERT_EQ(Headless().FileDialogs.size(), 1u);
        EXPECT_EQ(Headless().FileDialogs[0].Request.FileName, proposal);
        EXPECT_EQ(form->SaveAsCancelled, 1);
        EXPECT_EQ(form->DataChanged, 1);
        EXPECT_TRUE(form->CurrentFileName.empty());
    }

    // The next Save As forgets the cancel: Open, then Exit, answered Yes and saved, go on.
    TParameterData other = form->ParameterData;
    other.PfmCommon.Volume = 17;
    const fs::path saved = temp / "kept.fse", opened = WriteFile("other.fse", ::SaveFileImage(other));
    const Bytes edited = SaveFileImage();
    AnswerFileDialogs([&](const TFileDialogRequest& r) { return (r.Save ? saved : opened).string(); });
    AnswerMessages(IDYES);
    form->Show();
    Click("FileOpenItem");
    EXPECT_EQ(ReadBytes(saved), edited);
    EXPECT_EQ(form->CurrentFileName, opened.string());
    EXPECT_EQ(form->ParameterData.PfmCommon.Volume, 17);
    AnswerFileDialogs([](const TFileDialogRequest&) { return std::nullopt; });
    Click("FileSaveAsItem");
    ASSERT_EQ(form->SaveAsCancelled, 1);
    form->CurrentFileName.clear();
    form->MarkDataChanged();
    fs::remove(saved);
    AnswerFileDialogs([&](const TFileDialogRequest&) { return saved.string(); });
    Click("FileExitItem");
    EXPECT_EQ(ReadBytes(saved), ::SaveFileImage(other));
    EXPECT_FALSE(form->Visible()) << "the program ends";
}

TEST_F(FilesTest, OpeningFlipsThePagesSoBothShowHandlersRun)
{
    form->Show();
    int performanceShown = 0, voiceShown = 0;
    auto count = [](TNotifyEvent& event, int& n) {
        event = [old = event, &n](TObject* s) {
            ++n;
            if (old) old(s);
        };
    };
    count(form->Pfm_TabSheet->OnShow, performanceShown);
    count(form->Vc_TabSheet->OnShow, voiceShown);
    OpenFile(WriteFile("flip.fse", SaveFileImage()), 1);
    EXPECT_EQ(performanceShown, 1);
    EXPECT_EQ(voiceShown, 1);
    EXPECT_EQ(form->FS1R_PageControl->ActivePage(), form->Pfm_TabSheet);
}
