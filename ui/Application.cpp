#include "ui/Application.h"

#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"

#include "platform/EndSignals.h"

#include <algorithm>
#include <cstdio>

namespace {
TApplication gApplication;
}
TApplication* Application = &gApplication;

TApplication::TApplication() : FUiThread(std::this_thread::get_id()), FHeadless(new THeadlessBackend)
{
    FBackend = FHeadless;
    FEndRequest = std::make_unique<TWakeSource>([this] { EndSession(); });
}

TApplication::~TApplication()
{
    FEndRequest.reset();
    FBackend = FHeadless;
    // Forms still alive at exit belong to whoever made them; only the back end is ours.
    delete FHeadless;
    FHeadless = nullptr;
}

THeadlessBackend& TApplication::Headless() { return *FHeadless; }

TAppBackend* TApplication::SetBackend(TAppBackend* backend)
{
    TAppBackend* old = FBackend;
    if (!backend) backend = FHeadless;
    if (backend == old) return old;
    FBackend = backend;
    FUiThread = std::this_thread::get_id();
    // Timers move to the new back end (a Qt back end drops its own when it goes).
    if (old == FHeadless) FHeadless->DropTimers();
    for (TTimer* t : FTimers) FBackend->TimerChanged(t);
    // Work already waiting woke the old back end only.
    bool waiting;
    {
        std::lock_guard<std::mutex> lock(FPostLock);
        waiting = !FPosted.empty();
    }
    for (TWakeSource* source : FWakeSources) waiting = waiting || source->FPending.load();
    if (waiting) FBackend->WakeUp();
    return old;
}

void TApplication::FormCreated(TForm* f) { FForms.push_back(f); }

void TApplication::FormDestroyed(TForm* f)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
    FModalStack.erase(std::remove(FModalStack.begin(), FModalStack.end(), f), FModalStack.end());
    if (FMainForm == f) FMainForm = nullptr;
    if (FActiveForm == f) FActiveForm = nullptr;
}

void TApplication::Deactivate()
{
    if (FActiveForm) FActiveForm->Deactivate();
}

void TApplication::Run()
{
    FTerminated = false;
    FEnding = FEnded = FMainFormClosed = false;
    // The handler only raises the wake source's flag (a lock-free atomic) and wakes the loop (the
    // Qt back end writes to its eventfd): EndSession runs here, on the UI thread, as its drain.
    static_assert(std::atomic<bool>::is_always_lock_free);
    platform::EndSignals endSignals([](void* request) { static_cast<TWakeSource*>(request)->Signal(); },
                                    FEndRequest.get());
    if (FMainForm) Dispatch([this] { FMainForm->Show(); });
    if (!FTerminated) FBackend->Run();
    // An end that came while a box or modal window was open ended the loops first.
    FinishEnding();
}

void TApplication::EndSession()
{
    if (FEnding) return;
    FEnding = true;
    Terminate();
    // Those of the boxes and modal windows open now too.
    FBackend->EndLoops();
    FinishEnding();
}

void TApplication::FinishEnding()
{
    if (!FEnding || FEnded || FAsking > 0) return;
    FEnded = true;
    if (!FMainForm || FMainFormClosed) return;
    FMainFormClosed = true;
    TForm* main = FMainForm;
    // Its closing, unasked; it cannot refuse.
    Dispatch([main] {
        TCloseAction action = caFree;
        if (main->OnClose) main->OnClose(main, action);
    });
}

template <class Ask>
auto TApplication::Asking(Ask ask) -> decltype(ask())
{
    struct Count {
        TApplication& App;
        explicit Count(TApplication& app) : App(app) { ++App.FAsking; }
        ~Count()
        {
            // The last one has returned: the closing of an end that came meanwhile follows, once
            // what asked has gone on (headless: the next ProcessPosted; Qt: after the loop).
            if (--App.FAsking == 0 && App.FEnding && !App.FEnded) App.Post([&app = App] { app.FinishEnding(); });
        }
    } count(*this);
    return ask();
}

void TApplication::Terminate()
{
    FTerminated = true;
    FBackend->Terminate();
}

void TApplication::ProcessMessages() { FBackend->ProcessMessages(); }

void TApplication::Post(std::function<void()> work)
{
    // One wake-up per batch: ProcessPosted takes the whole queue, so work posted while the queue
    // holds some is run by the wake-up already on its way. A flood of input thus never piles up
    // wake-up events in the window system's own queue.
    bool wake;
    {
        std::lock_guard<std::mutex> lock(FPostLock);
        wake = FPosted.empty();
        FPosted.push_back(std::move(work));
    }
    if (wake) FBackend->WakeUp();
}

int TApplication::ProcessPosted()
{
    // Runs what was queued when called; work posted meanwhile waits for the next call.
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(FPostLock);
        batch.swap(FPosted);
    }
    for (auto& work : batch) Dispatch(work);
    int ran = int(batch.size());
    // By index: a drain may add or remove sources. The flag is lowered before the drain runs,
    // so a signal that comes while it runs wakes the UI thread again.
    for (std::size_t i = 0; i < FWakeSources.size(); ++i) {
        TWakeSource* source = FWakeSources[i];
        if (!source->FPending.exchange(false, std::memory_order_acq_rel)) continue;
        Dispatch(source->FDrain);
        ++ran;
    }
    return ran;
}

TWakeSource::TWakeSource(std::function<void()> drain) : FDrain(std::move(drain))
{
    Application->FWakeSources.push_back(this);
}

TWakeSource::~TWakeSource() { std::erase(Application->FWakeSources, this); }

void TWakeSource::Signal()
{
    if (!FPending.exchange(true, std::memory_order_acq_rel)) Application->Backend().WakeUp();
}

void TApplication::HandleException(TObject*)
{
    if (!std::current_exception()) return;
    std::string message;
    try {
        throw;
    } catch (const std::exception& e) {
        message = ExceptionText(e);
    } catch (...) {
        message = "An exception of an unknown kind.";
    }
    MessageBox(message, Title, MB_OK | MB_ICONERROR);
}

bool TApplication::Dispatch(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (...) {
        HandleException();
        return false;
    }
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, int Flags)
{
    TMessageBoxRequest r;
    r.Text = Text;
    r.Caption = Caption;
    r.Buttons = Flags & MB_TYPEMASK;
    r.Icon = Flags & MB_ICONMASK;
    if (FEnding) {
        // Nobody sees it, and what it tells (a failure of the closing, say) is not to be lost: it
        // goes to the standard error, where a session's log keeps it.
        std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
        std::fflush(stderr);
        // Nobody answers: what the box's close button would.
        static const int closed[] = {IDOK, IDCANCEL, IDABORT, IDCANCEL, IDNO, IDCANCEL};
        return r.Buttons >= 0 && r.Buttons < 6 ? closed[r.Buttons] : IDOK;
    }
    return Asking([&] { return FBackend->MessageBox(r); });
}

std::optional<std::string> TApplication::FileDialog(TFileDialogRequest& request)
{
    if (FEnding) return std::nullopt;
    return Asking([&] { return FBackend->FileDialog(request); });
}

void TApplication::RunModal(TForm* form)
{
    if (!FEnding) Asking([&] { FBackend->RunModal(form); });
}

void TApplication::Sleep(unsigned ms) { FBackend->Sleep(ms); }

uint64_t TApplication::NowMs() { return FBackend->NowMs(); }

void TApplication::AdvanceMs(uint64_t ms) { FBackend->AdvanceMs(ms); }

// ---- dialogs --------------------------------------------------------------------------------

bool TOpenDialog::Execute()
{
    TFileDialogRequest r;
    r.Save = IsSave();
    r.Title = Title;
    r.Filter = Filter;
    r.FilterIndex = FilterIndex;
    r.InitialDir = InitialDir;
    r.DefaultExt = DefaultExt;
    r.FileName = FileName;
    r.OverwritePrompt = OverwritePrompt;
    std::optional<std::string> chosen = Application->FileDialog(r);
    if (!chosen) return false;
    FileName = *chosen;
    FilterIndex = r.FilterIndex;
    return true;
}

int ShowMessageBox(const std::string& Text, int Flags)
{
    return Application->MessageBox(Text, Application->Title, Flags);
}

// ---- headless back end ----------------------------------------------------------------------

void THeadlessBackend::Reset()
{
    MessageResponder = nullptr;
    FileResponder = nullptr;
    ModalResponder = nullptr;
    Messages.clear();
    FileDialogs.clear();
    Modals.clear();
    Sleeps.clear();
    FTimers.clear();
    FNow = 0;
    FSeq = 0;
    Application->FTerminated = false;
    Application->FEnding = Application->FEnded = Application->FMainFormClosed = false;
    if (Application && &Application->Backend() == this)
        for (TTimer* t : Application->Timers()) TimerChanged(t);
}

int THeadlessBackend::MessageBox(const TMessageBoxRequest& request)
{
    TShownMessage shown{request.Text, request.Caption, request.Buttons, request.Icon, IDOK};
    static const int firstButton[] = {IDOK, IDOK, IDABORT, IDYES, IDYES, IDRETRY};
    shown.Answer = request.Buttons >= 0 && request.Buttons < 6 ? firstButton[request.Buttons] : IDOK;
    if (MessageResponder) shown.Answer = MessageResponder(shown);
    Messages.push_back(shown);
    return shown.Answer;
}

std::optional<std::string> THeadlessBackend::FileDialog(TFileDialogRequest& request)
{
    TShownFileDialog shown{request, std::nullopt};
    if (FileResponder) shown.Answer = FileResponder(request);
    FileDialogs.push_back(shown);
    return shown.Answer;
}

void THeadlessBackend::RunModal(TForm* form)
{
    for (int round = 0;; ++round) {
        if (round == 100) throw EInvalidOperation("The modal window \"" + form->Name + "\" never closed");
        if (ModalResponder) ModalResponder(*form);
        if (Application->Terminated()) break;
        // Left open by the responder: the person closes it with the close button.
        if (form->ModalResult() == mrNone) form->UserCloses();
        if (form->TryEndModal()) break;
    }
    Modals.push_back({form->Name, form->Caption(), form->ModalResult()});
}

void THeadlessBackend::TimerChanged(TTimer* timer)
{
    FTimers.erase(
        std::remove_if(FTimers.begin(), FTimers.end(), [timer](const TSchedule& s) { return s.Timer == timer; }),
        FTimers.end());
    bool alive =
        std::find(Application->Timers().begin(), Application->Timers().end(), timer) != Application->Timers().end();
    if (alive && timer->Enabled() && timer->Interval() > 0)
        FTimers.push_back({timer, FNow + timer->Interval(), ++FSeq});
}

std::optional<uint64_t> THeadlessBackend::DueAt(const TTimer* timer) const
{
    for (const TSchedule& s : FTimers)
        if (s.Timer == timer) return s.Due;
    return std::nullopt;
}

void THeadlessBackend::Run() { Application->ProcessPosted(); }

void THeadlessBackend::ProcessMessages() { Application->ProcessPosted(); }

void THeadlessBackend::AdvanceMs(uint64_t ms)
{
    uint64_t target = FNow + ms;
    Application->ProcessPosted();
    for (;;) {
        auto next = std::min_element(FTimers.begin(), FTimers.end(), [](const TSchedule& a, const TSchedule& b) {
            return a.Due != b.Due ? a.Due < b.Due : a.Seq < b.Seq;
        });
        if (next == FTimers.end() || next->Due > target) break;
        TTimer* timer = next->Timer;
        FNow = next->Due;
        // The next tick is booked before the handler runs, so a restart inside it wins.
        next->Due += timer->Interval();
        next->Seq = ++FSeq;
        Application->Dispatch([timer] { timer->Tick(); });
        Application->ProcessPosted();
    }
    FNow = target;
}
