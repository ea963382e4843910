// The application object on the headless back end: timers on the virtual clock, posted work,
// message boxes, file dialogs and Sleep.
#include "UiFixture.h"

#include <atomic>
#include <new>
#include <stdexcept>
#include <thread>

namespace {

using Strings = std::vector<std::string>;

class ApplicationTest : public UiTest {
protected:
    TTimer* TracedTimer(const std::string& name, unsigned interval, bool enabled = false)
    {
        auto* t = new TTimer(Form);
        t->Name = name;
        t->SetEnabled(enabled);
        t->SetInterval(interval);
        t->OnTimer = [this, t](TObject*) { Log.push_back(t->Name + "@" + IntToStr(Application->NowMs())); };
        return t;
    }
};

TEST_F(ApplicationTest, TimersTickEveryIntervalInTimeOrder)
{
    auto* slow = TracedTimer("Pfm", 1000);
    auto* fast = TracedTimer("AllSend", 500);
    slow->SetEnabled(true);
    fast->SetEnabled(true);
    Application->AdvanceMs(999);
    EXPECT_EQ(Log, (Strings{"AllSend@500"}));
    Application->AdvanceMs(1001);
    // At 1000 both are due: the one started first fires first.
    EXPECT_EQ(Log, (Strings{"AllSend@500", "Pfm@1000", "AllSend@1000", "AllSend@1500", "Pfm@2000", "AllSend@2000"}));
    EXPECT_EQ(Application->NowMs(), 2000u);
}

TEST_F(ApplicationTest, TimerRestartRules)
{
    auto* t = TracedTimer("T", 100, true);
    Application->AdvanceMs(60);
    t->SetEnabled(true); // already enabled: the count goes on
    Application->AdvanceMs(40);
    EXPECT_EQ(Log, (Strings{"T@100"}));

    Application->AdvanceMs(50);
    t->SetEnabled(false);
    t->SetEnabled(true); // false -> true restarts at 150
    Application->AdvanceMs(99);
    EXPECT_EQ(Log.size(), 1u);
    Application->AdvanceMs(1);
    EXPECT_EQ(Log.back(), "T@250");

    Application->AdvanceMs(30);
    t->SetInterval(100); // same interval: nothing
    t->SetInterval(200); // new interval while enabled restarts at 280
    Application->AdvanceMs(199);
    EXPECT_EQ(Log.size(), 2u);
    Application->AdvanceMs(1);
    EXPECT_EQ(Log.back(), "T@480");

    t->SetEnabled(false);
    Application->AdvanceMs(1000);
    EXPECT_EQ(Log.size(), 3u);
    t->SetInterval(0);
    t->SetEnabled(true); // interval 0 never ticks
    Application->AdvanceMs(1000);
    EXPECT_EQ(Log.size(), 3u);
}

TEST_F(ApplicationTest, TagStepsAHandlerThatStopsAndRestartsItself)
{
    // A transfer: step 0 starts, step 5 stops; the handler stops and re-arms mid-way.
    auto* t = new TTimer(Form);
    t->SetEnabled(false);
    t->SetInterval(500);
    std::vector<intptr_t> steps;
    t->OnTimer = [&](TObject*) {
        steps.push_back(t->Tag);
        if (t->Tag == 2) { // re-arm: the next step comes a full interval from now
            t->SetEnabled(false);
            t->SetEnabled(true);
        }
        if (++t->Tag > 4) t->SetEnabled(false);
    };
    t->Tag = 0;
    t->SetEnabled(true);
    Application->AdvanceMs(10000);
    EXPECT_EQ(steps, (std::vector<intptr_t>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(t->Enabled());
    EXPECT_EQ(Headless().DueAt(t), std::nullopt);

    // A timer freed inside the run is never fired again.
    auto* gone = TracedTimer("Gone", 10, true);
    delete gone;
    Application->AdvanceMs(100);
    EXPECT_TRUE(Log.empty());
}

TEST_F(ApplicationTest, PostedWorkRunsOnTheUiThreadWhenAsked)
{
    std::thread::id ran;
    std::thread midi([&] { Application->Post([&] { ran = std::this_thread::get_id(); }); });
    midi.join();
    EXPECT_EQ(ran, std::thread::id{});
    EXPECT_EQ(Application->ProcessPosted(), 1);
    EXPECT_EQ(ran, std::this_thread::get_id());
    EXPECT_TRUE(Application->OnUiThread());

    // AdvanceMs runs posted work too, before and between ticks; Sleep never does.
    Application->Post([&] { Log.push_back("posted"); });
    Application->Sleep(50);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(Application->NowMs(), 0u);
    EXPECT_EQ(Headless().Sleeps, (std::vector<unsigned>{50}));
    auto* t = TracedTimer("T", 10, true);
    t->OnTimer = [&](TObject*) {
        Log.push_back("tick");
        Application->Post([&] { Log.push_back("after tick"); });
        t->SetEnabled(false);
    };
    Application->AdvanceMs(20);
    EXPECT_EQ(Log, (Strings{"posted", "tick", "after tick"}));

    // Work that throws is shown like any other message.
    Application->Post([] { throw Exception("late failure"); });
    Application->ProcessMessages();
    ASSERT_FALSE(Headless().Messages.empty());
    EXPECT_EQ(Headless().Messages.back().Text, "late failure");
}

// A flood of posts or signals from the MIDI thread wakes the event loop once per batch, never
// once per message: the window system's own queue must not fill with wake-ups the loop cannot
// keep up with.
TEST_F(ApplicationTest, PostsAndWakeSourcesWakeTheLoopOncePerBatch)
{
    struct CountingBackend : THeadlessBackend {
        std::atomic<int> WakeUps{0};
        void WakeUp() override { ++WakeUps; }
    } counting;
    TAppBackend* previous = Application->SetBackend(&counting);
    std::thread midi([] {
        for (int i = 0; i < 1000; ++i) Application->Post([] {});
    });
    midi.join();
    EXPECT_EQ(counting.WakeUps, 1);
    EXPECT_EQ(Application->ProcessPosted(), 1000);
    Application->Post([] {});
    Application->Post([] {});
    EXPECT_EQ(counting.WakeUps, 2);
    // Work left waiting when the back end changes wakes the new one.
    Application->SetBackend(previous);
    counting.WakeUps = 0;
    Application->SetBackend(&counting);
    EXPECT_EQ(counting.WakeUps, 1);
    Application->SetBackend(previous);
    EXPECT_EQ(Application->ProcessPosted(), 2);

    // A wake source runs its drain once for any number of signals; one that comes while the
    // drain runs wakes the loop again.
    int drains = 0;
    TWakeSource* source = nullptr;
    TWakeSource input([&] {
        if (++drains == 1) source->Signal();
    });
    source = &input;
    Application->SetBackend(&counting);
    counting.WakeUps = 0;
    std::thread([&] {
        for (int i = 0; i < 1000; ++i) input.Signal();
    }).join();
    EXPECT_EQ(counting.WakeUps, 1);
    EXPECT_EQ(Application->ProcessPosted(), 1);
    EXPECT_EQ(counting.WakeUps, 2);
    EXPECT_EQ(Application->ProcessPosted(), 1);
    EXPECT_EQ(Application->ProcessPosted(), 0);
    EXPECT_EQ(drains, 2);
    Application->SetBackend(previous);
}

TEST_F(ApplicationTest, MessageBoxesAreAnsweredAndRecorded)
{
    EXPECT_EQ(Application->MessageBox("Please connect MIDI cable!", "Quillmarven : MIDI setting error",
                                      MB_OK | MB_ICONINFORMATION),
              IDOK);
    Headless().MessageResponder = [](const TShownMessage& m) { return m.Buttons == MB_YESNOCANCEL ? IDCANCEL : IDOK; };
    EXPECT_EQ(Application->MessageBox("Do you want to save changes to file ?", "LQuillmarven",
                                      MB_YESNOCANCEL | MB_ICONINFORMATION),
              IDCANCEL);
    Application->Title = "Quillmarven";
    ShowMessageBox("File Error", MB_OKCANCEL);
    ASSERT_EQ(Headless().Messages.size(), 3u);
    const TShownMessage& m = Headless().Messages[1];
    EXPECT_EQ(m.Text, "Do you want to save changes to file ?");
    EXPECT_EQ(m.Caption, "LQuillmarven");
    EXPECT_EQ(m.Buttons, MB_YESNOCANCEL);
    EXPECT_EQ(m.Icon, MB_ICONINFORMATION);
    EXPECT_EQ(m.Answer, IDCANCEL);
    EXPECT_EQ(Headless().Messages[2].Caption, "Quillmarven");
}

// The last-resort display shows what every exception says, the library's or not (a failed
// allocation in words), in a box captioned with the title.
TEST_F(ApplicationTest, TheExceptionDisplayShowsTheTextOfEveryException)
{
    Application->Title = "Quillmarven";
    Application->Dispatch([] { throw std::logic_error("the end signals are caught already"); });
    Application->Dispatch([] { throw std::bad_alloc(); });
    Application->Dispatch([] { throw 42; });
    Strings shown;
    for (const TShownMessage& m : Headless().Messages) {
        EXPECT_EQ(m.Caption, "Quillmarven");
        EXPECT_EQ(m.Icon, MB_ICONERROR);
        shown.push_back(m.Text);
    }
    EXPECT_EQ(shown, (Strings{"the end signals are caught already", "Not enough memory (std::bad_alloc).",
                              "An exception of an unknown kind."}));
}

TEST_F(ApplicationTest, FileDialogsAskTheResponderAndRecordTheRequest)
{
    TOpenDialog open(nullptr);
    open.Title = "Open";
    open.Filter = "Quillmarven file (*.fse)|*.fse";
    open.InitialDir = "data";
    open.DefaultExt = "fse";
    EXPECT_FALSE(open.Execute()); // no responder: cancelled
    EXPECT_EQ(open.FileName, "");

    Headless().FileResponder = [](const TFileDialogRequest& r) -> std::optional<std::string> {
        return r.Save ? std::optional<std::string>(r.InitialDir + "/" + r.FileName + "." + r.DefaultExt) : std::nullopt;
    };
    TSaveDialog save(nullptr);
    save.InitialDir = "data";
    save.DefaultExt = "fse";
    save.FileName = "InitPerfrmnc";
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "data/InitPerfrmnc.fse");
    ASSERT_EQ(Headless().FileDialogs.size(), 2u);
    EXPECT_FALSE(Headless().FileDialogs[0].Request.Save);
    EXPECT_EQ(Headless().FileDialogs[0].Request.Filter, "Quillmarven file (*.fse)|*.fse");
    EXPECT_EQ(Headless().FileDialogs[1].Answer, std::optional<std::string>("data/InitPerfrmnc.fse"));

    // The filter a person picks comes back to the dialog; a cancel leaves it as it was.
    Headless().FileResponder = [](TFileDialogRequest& r) -> std::optional<std::string> {
        r.FilterIndex = 2;
        return std::string("data/song.fs1");
    };
    TOpenDialog pick(nullptr);
    pick.Filter = "Quillmarven file (*.fse)|*.fse|Tarnwick file (*.fs1)|*.fs1";
    ASSERT_TRUE(pick.Execute());
    EXPECT_EQ(pick.FilterIndex, 2);
    Headless().FileResponder = [](TFileDialogRequest& r) -> std::optional<std::string> {
        r.FilterIndex = 1;
        return std::nullopt;
    };
    EXPECT_FALSE(pick.Execute());
    EXPECT_EQ(pick.FilterIndex, 2);
}

TEST_F(ApplicationTest, RunShowsTheMainFormAsAMessageAndStopsWhenItCloses)
{
    auto* main = new TForm(nullptr);
    main->OnShow = [&](TObject*) {
        Log.push_back("show");
        main->Close(); // a first show that stops the program
    };
    Application->SetMainForm(main);
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Log, (Strings{"show"}));
    delete main;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

} // namespace
