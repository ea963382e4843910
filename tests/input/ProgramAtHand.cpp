#include "tests/input/ProgramAtHand.h"

#include "app/Entry.h"
#include "mainform/MainForm.h"
#include "platform/Folders.h"
#include "tests/support/QtPerson.h"

#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// The start of every freed block is overwritten: Qt is not instrumented, and an event handed to
// a window Qt has freed would otherwise read the stale window unseen until its memory is reused,
// a crash now and then on a busy machine; with the fill it is one at once.
extern "C" const char* __asan_default_options() { return "max_free_fill_size=64:free_fill_byte=190"; }
#endif

void PrintLastActions();

// ---- the last actions -----------------------------------------------------------------------

namespace {

ActionLog* Printed = nullptr;

void Write(const char* text) { [[maybe_unused]] ssize_t n = write(STDERR_FILENO, text, strlen(text)); }

// A process that stops acting for this long is stuck.
constexpr auto Stuck = std::chrono::seconds(60);

#if !defined(__SANITIZE_ADDRESS__)
void OnFatalSignal(int signal)
{
    PrintLastActions();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

} // namespace

// Called as the process dies: only writes, from fixed buffers.
void PrintLastActions()
{
    ActionLog* log = Printed;
    if (!log) return;
    Write("\n==== The last actions before the end (");
    Write(log->FHeading);
    Write(") ====\n");
    const uint64_t count = log->FCount;
    for (uint64_t i = count > ActionLog::Kept ? count - ActionLog::Kept : 0; i < count; ++i) {
        Write(log->FLines[i % ActionLog::Kept]);
        Write("\n");
    }
}

ActionLog::ActionLog()
{
    Printed = this;
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(PrintLastActions);
#else
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) std::signal(s, OnFatalSignal);
#endif
    FWatchdog = std::thread([this] {
        uint64_t seen = FCount;
        auto since = std::chrono::steady_clock::now();
        while (!FStop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (FCount != seen) {
                seen = FCount;
                since = std::chrono::steady_clock::now();
            } else if (seen > 0 && std::chrono::steady_clock::now() - since > Stuck) {
                Write("\n==== No action for a minute: the program is stuck ====");
                PrintLastActions();
                std::abort();
            }
        }
    });
}

ActionLog::~ActionLog()
{
    FStop = true;
    FWatchdog.join();
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(nullptr);
#else
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) std::signal(s, SIG_DFL);
#endif
    Printed = nullptr;
}

void ActionLog::SetHeading(const std::string& heading) { snprintf(FHeading, Width, "%s", heading.c_str()); }

void ActionLog::Note(const std::string& action)
{
    const uint64_t n = FCount;
    snprintf(FLines[n % Kept], Width, "#%llu %s", static_cast<unsigned long long>(n + 1), action.c_str());
    FCount = n + 1;
}

std::string ActionLog::Last() const
{
    std::string out = std::string(FHeading) + "; the last actions:\n";
    const uint64_t count = FCount;
    for (uint64_t i = count > Kept ? count - Kept : 0; i < count; ++i) out += std::string(FLines[i % Kept]) + "\n";
    return out;
}

// ---- the program ----------------------------------------------------------------------------

ProgramAtHand::ProgramAtHand(Instrument instrument)
{
    const fs::path home = FTemp / "home", config = FTemp / "config", bin = FTemp / "bin", work = FTemp / "work";
    for (const fs::path& p : {home, config, bin, work / "data", work / "syx"}) fs::create_directories(p);
    // Links the About window opens go nowhere.
    WriteText(bin / "xdg-open", "#!/bin/sh\nexit 0\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    for (auto [name, value] : {std::pair<std::string, std::string>{"HOME", home.string()},
                               {"XDG_CONFIG_HOME", config.string()},
                               {"PATH", bin.string() + ":" + (path ? path : "/usr/bin:/bin")}}) {
        const char* old = std::getenv(name.c_str());
        FSavedEnvironment.emplace_back(name, old ? old : "");
        setenv(name.c_str(), value.c_str(), 1);
    }
    FSavedFolder = fs::current_path();
    fs::current_path(work);
    // The instrument is chosen: the program starts connected to it.
    fs::path settings = platform::SettingsFolder() / platform::ProgramFile().filename();
    fs::create_directories(settings.parent_path());
    WriteText(settings.replace_extension(".INI"), "[MIDISetting]\nMIDIIN=FS1R\nMIDIOUT=FS1R\n");
    FInstrumentPort->SetOnReceive([this, instrument](const std::vector<uint8_t>& message) {
        if (instrument == Instrument::Silent || message.empty() || message[0] != 0xF0) return;
        const std::vector<uint8_t> answer = FInstrument.Receive(message);
        if (!answer.empty()) FInstrumentPort->Play(answer);
    });
}

ProgramAtHand::~ProgramAtHand()
{
    fs::current_path(FSavedFolder);
    for (const auto& [name, value] : FSavedEnvironment)
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
}

int ProgramAtHand::Run(const std::function<bool(QWidget*)>& act)
{
    FAct = act;
    FDone = false;
    int starts = 0, startsWithoutTurn = 0;
    while (!FDone) {
        ++starts;
        const int generation = ++FGeneration;
        const uint64_t turns = FTurns;
        QTimer::singleShot(0, [this, generation] { Turn(generation); });
        EXPECT_EQ(RunQuillmarven(FMidi, QM_PROGRAM_DIR), 0);
        // What the ended program left to Qt goes before the next start.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        startsWithoutTurn = FTurns == turns ? startsWithoutTurn + 1 : 0;
        if (startsWithoutTurn == 3) {
            ADD_FAILURE() << "The program ended three times before a person could act.\n" << Log.Last();
            break;
        }
    }
    return starts;
}

void ProgramAtHand::Turn(int generation)
{
    // The program ended: a new run brings new turns.
    if (generation != FGeneration || FDone || Application->Terminated()) return;
    QWidget* top = person::TopWindow();
    // A turn under way still acts on this window (its events run the event loop): later.
    if (!FActingOn.empty() && FActingOn.back() == top) {
        QTimer::singleShot(5, [this, generation] { Turn(generation); });
        return;
    }
    // The next turn comes also when this one opens a box, inside the box's own loop.
    QTimer::singleShot(0, [this, generation] { Turn(generation); });
    ConfineFileDialogs();
    HurryTransfers();
    ++FTurns;
    FActingOn.push_back(top);
    const bool more = FAct(top);
    FActingOn.pop_back();
    if (!more && !FDone) {
        FDone = true;
        Application->Terminate();
    }
}

TMainForm* ProgramAtHand::Main() const { return dynamic_cast<TMainForm*>(Application->MainForm()); }

std::string ProgramAtHand::Describe(const QWidget* w) const
{
    std::string out = w->metaObject()->className();
    if (TControl* c = Backend.ControlFor(w); c && !c->Name.empty())
        out += (Backend.WidgetFor(c) == w ? " " : " in ") + c->Name;
    QString title = w->window()->windowTitle();
    if (auto* menu = qobject_cast<QMenu*>(w->window()); menu && title.isEmpty()) title = "menu " + menu->title();
    out += " of \"" + (title.isEmpty() ? QString(w->window()->metaObject()->className()) : title).toStdString() + "\"";
    return out;
}

std::string ProgramAtHand::Describe(QWidget* window, QPoint at, const std::string& what) const
{
    QWidget* under = window->childAt(at);
    return what + " at " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " on " +
           Describe(under ? under : window);
}

void ProgramAtHand::GiveUp(const QPointer<QWidget>& window)
{
    if (!window || !window->isVisible()) return;
    if (window->windowType() == Qt::Popup) {
        window->close();
    } else if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();
    } else if (auto* form = dynamic_cast<TForm*>(Backend.ControlFor(window))) {
        // As a person does, with the window's close button; one that stays is cancelled.
        window->close();
        if (form->Visible() && form->Modal()) form->SetModalResult(mrCancel);
    } else {
        window->close();
    }
}

void ProgramAtHand::HurryTransfers()
{
    constexpr unsigned HurriedMs = 10;
    if (TMainForm* main = Main())
        for (TTimer* t :
             {main->Pfm_Timer, main->Vc_Timer, main->Sys_Timer, main->AllSendTimer, main->AllRcvTimer, main->FSEQTimer})
            if (t->Interval() > HurriedMs) t->SetInterval(HurriedMs);
}

void ProgramAtHand::ConfineFileDialogs()
{
    const QString folder = QString::fromStdString(Folder().string());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog || !dialog->isVisible()) continue;
        if (!dialog->testOption(QFileDialog::ReadOnly)) {
            dialog->setOption(QFileDialog::ReadOnly);
            dialog->setSidebarUrls({QUrl::fromLocalFile(folder)});
        }
        const QString shown = dialog->directory().absolutePath();
        if (shown != folder && !shown.startsWith(folder + "/")) dialog->setDirectory(folder + "/work");
    }
}
