// The application object: title, main form, the message loop, posted work, timers, and the
// services that need a real window system (message boxes, file dialogs, modal windows, Sleep,
// the clock), all behind one back-end interface.
//
// Two back ends: THeadlessBackend here (the default; tests use it) and QtBackend in ui/qt.
// Rules kept here:
// - Post() may be called from any thread; the work runs later on the UI thread, in order
//   (headless: ProcessPosted() or AdvanceMs(); Qt: the event loop). A TWakeSource does the same
//   for a thread that must not lock or allocate (MIDI input): it only raises a flag.
// - Timers fire only on the UI thread, one OnTimer per due tick, earliest first; ticks due at the
//   same moment fire in the order the timers were (re)started.
// - HandleException() (call it inside a catch block) is the last-resort display: what the
//   exception says (ExceptionText) in a box captioned with Title (OK, error icon).
// - Sleep() never runs events. Headless: recorded and skipped (the clock does not move).
// - The session's end (EndSession(): SIGTERM, SIGHUP or SIGINT while Run() runs, through
//   platform/EndSignals.h and a wake source) asks nothing, since nobody is left to answer: the
//   main form closes without OnCloseQuery, its OnClose running as on any close, and the program
//   ends. From then on message boxes, file dialogs and modal windows are not shown: a box gets
//   the answer of its close button (Cancel where it has one, else OK; No for Yes/No), a dialog is
//   cancelled. One that is open when the end comes ends first (the loops end), and the main form
//   closes once every one has returned. A second signal ends the process at once.
// - Headless: AdvanceMs(n) runs posted work, then fires due timers in time order up to now + n,
//   running posted work after each tick. Message boxes, file dialogs and modal windows ask the
//   responders the test installs and are recorded.
#pragma once

#include "ui/Classes.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class TForm;
class TTimer;

struct TMessageBoxRequest {
    std::string Text;
    std::string Caption;
    int Buttons = MB_OK; // MB_OK .. MB_RETRYCANCEL
    int Icon = 0;        // MB_ICONERROR .. MB_ICONINFORMATION, 0 for none
};

struct TFileDialogRequest {
    bool Save = false;
    std::string Title;
    std::string Filter; // "Quillmarven file (*.fse)|*.fse|All files (*.*)|*.*"
    int FilterIndex = 1;
    std::string InitialDir;
    std::string DefaultExt; // without the dot
    std::string FileName;   // proposed name
    bool OverwritePrompt = false;
};

class TAppBackend {
public:
    virtual ~TAppBackend() = default;
    // Answers IDOK, IDCANCEL, IDYES, IDNO, ...
    virtual int MessageBox(const TMessageBoxRequest& request) = 0;
    // The chosen path, or nothing when cancelled.
    // A person may pick another filter: the back end leaves its number in request.FilterIndex.
    virtual std::optional<std::string> FileDialog(TFileDialogRequest& request) = 0;
    // Runs until the form's ModalResult is set (TForm::ShowModal does the rest).
    virtual void RunModal(TForm* form) = 0;
    virtual void Sleep(unsigned ms) = 0;
    virtual uint64_t NowMs() = 0;
    // The timer was started, restarted or stopped: (re)schedule it from now, or drop it.
    virtual void TimerChanged(TTimer* timer) = 0;
    // Work was posted or a wake source signalled (called on that thread): ProcessPosted should
    // run soon on the UI thread. Must not lock or allocate.
    virtual void WakeUp() {}
    // A form was shown or hidden, or a control's form tree changed.
    virtual void FormShown(TForm*) {}
    virtual void FormHidden(TForm*) {}
    // Runs the message loop until Terminate.
    virtual void Run() = 0;
    virtual void Terminate() {}
    // The session ends: every loop running now ends at once, those of message boxes and dialogs
    // too, also before Run.
    virtual void EndLoops() {}
    // Runs pending events once.
    virtual void ProcessMessages() = 0;
    // Lets time pass: virtual in the headless back end, real (with events) in the Qt one.
    virtual void AdvanceMs(uint64_t ms) = 0;
    // The clipboard's text (edit boxes cut, copy and paste through it).
    virtual std::string ClipboardText() { return FClipboard; }
    virtual void SetClipboardText(const std::string& s) { FClipboard = s; }

private:
    std::string FClipboard;
};

// Work that another thread hands to the UI thread by raising a flag, without locking or
// allocating: Signal() may be called from any thread; the UI thread then runs `drain` once (in
// ProcessPosted), however many signals came since it last ran. At most one wake-up of the back
// end is pending per source. Created and destroyed on the UI thread, and only while no other
// thread can still signal it.
class TWakeSource {
public:
    explicit TWakeSource(std::function<void()> drain);
    ~TWakeSource();
    TWakeSource(const TWakeSource&) = delete;
    TWakeSource& operator=(const TWakeSource&) = delete;

    void Signal();

private:
    friend class TApplication;
    std::function<void()> FDrain;
    std::atomic<bool> FPending{false};
};

class TApplication {
public:
    TApplication();
    ~TApplication();

    std::string Title;

    TForm* MainForm() const { return FMainForm; }
    // The form whose closing ends the program.
    void SetMainForm(TForm* f) { FMainForm = f; }
    void Initialize() {}
    // Shows the main form (its OnShow runs as a message: an exception is displayed) and runs the
    // message loop until Terminate; the end signals end the session meanwhile.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Ends the program without asking anything (see above); on the UI thread.
    void EndSession();
    bool Ending() const { return FEnding; }
    void ProcessMessages();

    // Thread-safe: queue work for the UI thread.
    void Post(std::function<void()> work);
    // Runs the queued work, then the drains of the signalled wake sources, on the calling thread
    // (the UI thread); returns how many ran.
    int ProcessPosted();
    bool OnUiThread() const { return std::this_thread::get_id() == FUiThread; }

    void HandleException(TObject* Sender = nullptr);
    // Runs work as one message: any exception goes to HandleException. False when one did.
    bool Dispatch(const std::function<void()>& work);

    int MessageBox(const std::string& Text, const std::string& Caption, int Flags = MB_OK);
    std::optional<std::string> FileDialog(TFileDialogRequest& request);
    void Sleep(unsigned ms);
    uint64_t NowMs();
    void AdvanceMs(uint64_t ms);

    // The form that takes keys; set by TForm::Activate.
    TForm* ActiveForm() const { return FActiveForm; }
    // Another program takes the activation: the active form loses it (TForm::Deactivate).
    void Deactivate();
    // The innermost form shown modally, or nullptr.
    TForm* ModalForm() const { return FModalStack.empty() ? nullptr : FModalStack.back(); }
    // Every form alive, in creation order.
    const std::vector<TForm*>& Forms() const { return FForms; }
    // Every timer alive, in creation order.
    const std::vector<TTimer*>& Timers() const { return FTimers; }

    TAppBackend& Backend() { return *FBackend; }
    // Installs a back end (nullptr: the built-in headless one); returns the previous one.
    TAppBackend* SetBackend(TAppBackend* backend);
    class THeadlessBackend& Headless();

private:
    friend class TForm;
    friend class TTimer;
    friend class THeadlessBackend;
    friend class TWakeSource;
    void FormCreated(TForm* f);
    void FormDestroyed(TForm* f);
    // Runs a message box, file dialog or modal loop of the back end, counted in FAsking.
    template <class Ask>
    auto Asking(Ask ask) -> decltype(ask());
    // The rest of EndSession once nothing is asked any more: the main form's closing.
    void FinishEnding();
    // TForm::ShowModal's loop: the back end's, counted; nothing while the session ends.
    void RunModal(TForm* form);
    TForm* FMainForm = nullptr;
    TForm* FActiveForm = nullptr;
    std::vector<TForm*> FForms;
    std::vector<TTimer*> FTimers;
    std::vector<TForm*> FModalStack;
    bool FTerminated = false;
    // The session's end: asked for; carried out. The main form closed by its own road.
    bool FEnding = false;
    bool FEnded = false;
    bool FMainFormClosed = false;
    // Message boxes, file dialogs and modal loops running, one inside another.
    int FAsking = 0;
    std::thread::id FUiThread;
    std::mutex FPostLock;
    std::deque<std::function<void()>> FPosted;
    std::vector<TWakeSource*> FWakeSources; // UI thread only
    // Signalled by the end signals' handler; lives as long as the application object, so that a
    // handler still running on another thread never finds it gone.
    std::unique_ptr<TWakeSource> FEndRequest;
    TAppBackend* FBackend;
    class THeadlessBackend* FHeadless;
};

extern TApplication* Application;

// ---- the headless back end ------------------------------------------------------------------
struct TShownMessage {
    std::string Text, Caption;
    int Buttons = MB_OK, Icon = 0, Answer = IDOK;
};
struct TShownFileDialog {
    TFileDialogRequest Request;
    std::optional<std::string> Answer;
};
struct TShownModal {
    std::string FormName, Caption;
    TModalResult Result = mrNone;
};

class THeadlessBackend : public TAppBackend {
public:
    // Answers a message box; with none installed, the first button (IDOK, IDYES, IDABORT, ...).
    std::function<int(const TShownMessage&)> MessageResponder;
    // Answers a file dialog; with none installed, cancelled.
    // It may pick another filter by changing the request's FilterIndex, as a person can.
    std::function<std::optional<std::string>(TFileDialogRequest&)> FileResponder;
    // Acts in a modal window as a person would (set values, click buttons, set ModalResult).
    // With none installed, or when it leaves ModalResult at mrNone, the window is closed with
    // its close button (mrCancel unless OnCloseQuery refuses).
    std::function<void(TForm& form)> ModalResponder;

    std::vector<TShownMessage> Messages;
    std::vector<TShownFileDialog> FileDialogs;
    std::vector<TShownModal> Modals;
    std::vector<unsigned> Sleeps;

    // A fresh session: forgets records, responders and the timers' schedule (enabled timers start
    // counting again from 0, where the clock goes back to), and the application is no longer
    // terminated.
    void Reset();

    int MessageBox(const TMessageBoxRequest& request) override;
    std::optional<std::string> FileDialog(TFileDialogRequest& request) override;
    void RunModal(TForm* form) override;
    void Sleep(unsigned ms) override { Sleeps.push_back(ms); }
    uint64_t NowMs() override { return FNow; }
    void TimerChanged(TTimer* timer) override;
    // Runs the posted work and returns: a test drives the rest itself.
    void Run() override;
    void Terminate() override {}
    void ProcessMessages() override;
    void AdvanceMs(uint64_t ms) override;
    void DropTimers() { FTimers.clear(); }
    // When the timer fires next, if scheduled.
    std::optional<uint64_t> DueAt(const TTimer* timer) const;

private:
    struct TSchedule {
        TTimer* Timer;
        uint64_t Due;
        uint64_t Seq;
    };
    std::vector<TSchedule> FTimers;
    uint64_t FNow = 0;
    uint64_t FSeq = 0;
};
