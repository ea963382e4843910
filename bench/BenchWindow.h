// The main window as the benchmarks drive it: built as the program builds it, its first show
// skipped (no settings, no start-up transfer), an in-process instrument on its MIDI input and
// output. With a QtBackend installed first (TQtBenchWindow) every control has its Qt view in an
// offscreen window.
#pragma once

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "performance/PerformancePage.h"
#include "platform/Folders.h"
#include "platform/MidiInProcess.h"
#include "ui/qt/QtBackend.h"
#include "voice/VoicePage.h"

#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The control of that name below `root` (sheets of page controls included), or nullptr.
inline TControl* FindControl(const TWinControl& root, const std::string& name)
{
    for (int i = 0; i < root.ControlCount(); ++i) {
        TControl* c = root.Controls(i);
        if (c->Name == name) return c;
        if (auto* w = dynamic_cast<const TWinControl*>(c))
            if (TControl* found = FindControl(*w, name)) return found;
    }
    return nullptr;
}

class TBenchWindow {
public:
    TBenchWindow()
    {
        InstallPictureDecoders();
        Form = std::make_unique<TMainForm>(nullptr, Midi, platform::ProgramFolder());
        Form->Midi.OpenMidiPorts(0, 0, -1); // the instrument as input and output
        Form->OnShow = nullptr;
        Form->Show();
    }
    ~TBenchWindow() { Form->Hide(); }
    TBenchWindow(const TBenchWindow&) = delete;
    TBenchWindow& operator=(const TBenchWindow&) = delete;

    // A control of the window by its given name; throws when there is none of that class.
    template <class T>
    T& Control(const std::string& name) const
    {
        auto* c = dynamic_cast<T*>(FindControl(*Form, name));
        if (!c) throw std::runtime_error("the window has no control " + name);
        return *c;
    }
    void ShowPart(int p)
    {
        Form->FS1R_PageControl->SetActivePage(Form->Pfm_TabSheet);
        Form->PerformancePage->Pfm_PartTab->SetTabIndex(p);
    }
    void ShowVoice(int v)
    {
        Form->FS1R_PageControl->SetActivePage(Form->Vc_TabSheet);
        Form->VoicePage->Vc_VoiceTab->SetTabIndex(v);
        Form->RefreshVoicePages(v);
    }
    // The system-exclusive messages the instrument received since the last call.
    std::vector<Bytes> TakeSysEx()
    {
        std::vector<Bytes> sysex;
        for (auto& m : Instrument->Received())
            if (!m.empty() && m[0] == 0xF0) sysex.push_back(m);
        Instrument->ClearReceived();
        return sysex;
    }
    // Empty when the instrument received exactly the part 1 volume change of the stored volume
    // (F0 43 10 5E 30 00 0B 00 vv F7) since the last TakeSysEx; otherwise what went wrong.
    std::string PartOneVolumeArrived()
    {
        const auto volume = static_cast<std::uint8_t>(Form->ParameterData.PfmParts[0].Volume);
        const Bytes expected = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, volume, 0xF7};
        const std::vector<Bytes> sent = TakeSysEx();
        if (sent.size() != 1) return std::to_string(sent.size()) + " messages instead of one volume change";
        if (sent[0] != expected) return "not the part 1 volume change of the stored volume";
        return {};
    }

    platform::InProcessMidi Midi;
    std::shared_ptr<platform::InProcessMidi::Device> Instrument = Midi.AddDevice("FS1R");
    std::unique_ptr<TMainForm> Form;
};

// One Qt window per process, offscreen, made on first use and never taken down: a QApplication
// is made once, and destroying it at exit would run after Qt's own statics (the input devices
// that mouse events create) are gone.
class TQtBenchWindow {
public:
    static TQtBenchWindow& Shared()
    {
        static TQtBenchWindow* window = new TQtBenchWindow;
        return *window;
    }
    QtBackend& Backend() { return *FBackend; }
    TBenchWindow& Window() { return *FWindow; }
    // The Qt widget that views a control, of the class the view uses for it.
    template <class Q>
    Q& WidgetFor(const TComponent& c)
    {
        auto* w = qobject_cast<Q*>(FBackend->WidgetFor(&c));
        if (!w) throw std::runtime_error("no Qt view of the expected class for " + c.Name);
        return *w;
    }

private:
    TQtBenchWindow()
    {
        // Before any Qt object exists.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        FBackend = std::make_unique<QtBackend>(FArgc, FArgv);
        FWindow = std::make_unique<TBenchWindow>();
        FBackend->ProcessMessages();
    }
    char FArg0[16] = "quillmarven";
    char* FArgv[2] = {FArg0, nullptr};
    int FArgc = 1;
    std::unique_ptr<QtBackend> FBackend;
    std::unique_ptr<TBenchWindow> FWindow;
};
