// The main window headless, as the suites drive it: over the in-process MIDI system with the
// instrument on device "FS1R" (the simulated instrument hears its system-exclusive messages and
// answers dump requests) and a master keyboard on "Keys"; message boxes, file dialogs and modal
// windows answered by the test; the virtual clock; a folder of its own for files and settings.
#pragma once

#include "mainform/MainForm.h"
#include "mainform/keyboard/midikey.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/platform/TempFolder.h"
#include "tests/support/MenuItems.h"
#include "tests/support/SimulatedInstrument.h"
#include "voice/VoicePage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;
using DevicePtr = std::shared_ptr<platform::InProcessMidi::Device>;

// The six blocks of the edit buffer, in the order whole-buffer transfers take them.
inline constexpr int32_t AllBlocks[] = {DumpPerformance, 0, 1, 2, 3, DumpSystem};

// The whole dump a window builds now of a block: the performance, the system, or voice 0 .. 3.
Bytes BuiltDump(TMainForm& form, int32_t kind);

// The data of a dump: between its address and its checksum.
inline Bytes Body(const Bytes& dump) { return Bytes(dump.begin() + 9, dump.end() - 2); }

template <class Record>
bool Same(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

inline Bytes ReadBytes(const fs::path& path)
{
    const std::string text = ReadText(path);
    return Bytes(text.begin(), text.end());
}

// A save file (.fse) holding `d`: the 16-byte header, then the edit buffer.
Bytes SaveFileImage(const TParameterData& d, uint32_t version = 100);

inline long EntriesIn(const fs::path& folder)
{
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

// What a suite's window has beyond the shared set-up; each window the rig makes gets it.
struct WindowRigOptions {
    enum class Ports {
        None,       // the test opens what it needs
        Output,     // the instrument's output only
        Instrument, // the instrument's input and output
        All,        // those and the master keyboard, played through to the instrument
    };
    bool build = true; // SetUp makes the window; otherwise the test calls MakeForm
    Ports open = Ports::None;
    // Shown without the first show (no devices, settings or start-up transfer).
    bool shown = false;
    // The virtual keyboard window over the main window (built, not shown).
    bool keyboardWindow = false;
};

class WindowRig : public ::testing::Test {
protected:
    using Ports = WindowRigOptions::Ports;

    explicit WindowRig(WindowRigOptions options = {});
    void SetUp() override;
    void TearDown() override;

    // A new window in place of the old one, over the in-process MIDI system or `backend`.
    TMainForm& MakeForm() { return Make(midi, false); }
    TMainForm& MakeForm(platform::MidiBackend& backend) { return Make(backend, false); }
    // A new window as the program's main window, whose first show starts up.
    TMainForm& MakeMainForm() { return Make(midi, true); }
    TMainForm& MakeMainForm(platform::MidiBackend& backend) { return Make(backend, true); }

    // The headless back end: what was shown, and the test's answers to it.
    THeadlessBackend& Headless() { return Application->Headless(); }
    std::vector<TShownMessage>& Messages() { return Headless().Messages; }
    std::vector<TShownModal>& Modals() { return Headless().Modals; }
    void AnswerFileDialogs(std::function<std::optional<std::string>(const TFileDialogRequest&)> answer)
    {
        Headless().FileResponder = std::move(answer);
    }
    // Message boxes with more than OK get `answer`.
    void AnswerMessages(int answer)
    {
        Headless().MessageResponder = [answer](const TShownMessage& m) { return m.Buttons == MB_OK ? IDOK : answer; };
    }
    // Exactly one "File Error" box (OK and Cancel) with `text` was shown; the list is emptied.
    void ExpectFileError(const std::string& text);
    // The virtual clock: fires the timers due in the next `ms` milliseconds, in order.
    void Advance(uint64_t ms) { Headless().AdvanceMs(ms); }

    // A menu item of the main menu by name, and a person picking it.
    TMenuItem* Item(const std::string& name) { return FindMenuItem(form->MainMenu1->Items(), name); }
    void Click(const std::string& name);
    // The page of part `p` (0 .. 3), or of voice `v` with its operator tab `operatorTab`.
    void ShowPart(int p);
    void ShowVoice(int v, int operatorTab = 0);
    void SetDeviceNumber(int n) { form->DeviceNumber = instrument.DeviceNumber = n; }

    // What the program sent to the instrument since the last take: every message, or only the
    // system-exclusive ones. KeepSent puts aside what came so far, for the next take.
    void KeepSent();
    std::vector<Bytes> TakeAllSent();
    std::vector<Bytes> TakeSent();

    Bytes Built(int32_t kind) { return BuiltDump(*form, kind); }
    // A file of the test's folder with those bytes.
    fs::path WriteFile(const std::string& name, const Bytes& bytes) const;
    // File > Open of `path`, read as filter entry `filterIndex` says (1: the save file, 2: the other
    // editor's file). A question about unsaved changes is answered No and not kept among the
    // messages.
    void OpenFile(const fs::path& path, int filterIndex = 1);
    // The program folder's pictures, copied into the test's folder under `name` to be spoilt.
    fs::path ProgramFolderCopy(const std::string& name) const;

    TempFolder temp;
    platform::InProcessMidi midi;
    DevicePtr fs1r = midi.AddDevice("FS1R");
    DevicePtr keys = midi.AddDevice("Keys", true, false);
    SimulatedInstrument instrument;
    // When set, the instrument hears only the requests it approves.
    std::function<bool(const Bytes&)> Answers;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TV_MIDIKeyboard> keyboard;

private:
    TMainForm& Make(platform::MidiBackend& backend, bool main);

    const WindowRigOptions options_;
    std::vector<Bytes> kept_;
};
