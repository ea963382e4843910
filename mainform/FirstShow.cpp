// Start-up and closing of the main window: the first show (refresh, device checks, settings,
// devices matched by name, the command-line file, the first transfer), the MIDI setup command,
// the save question and the closing steps.
#include "mainform/MainForm.h"

#include "mainform/dialogs/MIDISetupform.h"
#include "platform/Folders.h"
#include "voice/VoicePage.h"

#include <algorithm>

namespace {

const std::string NoInputText =
    "MIDI input device is not found! Please install MIDI Interface device and restart Quillmarven!";
const std::string NoOutputText =
    "MIDI output device is not found! Please install MIDI Interface device and restart Quillmarven!";

// The last device of that name (an empty name names none), or -1.
int LastIndexOf(const std::vector<std::string>& names, const std::string& name)
{
    int found = -1;
    if (name.empty()) return found;
    for (int i = 0; i < int(names.size()); ++i)
        if (names[size_t(i)] == name) found = i;
    return found;
}

// The menu bar's titles in their order; a title is put after those before it that exist.
const char* const MenuBarOrder[] = {"File1", "EditE1", "Tools1", "Options1", "Help1"};

} // namespace

TMenuItem* TMainForm::MenuBarTitle(const std::string& name, const std::string& caption)
{
    TMenuItem* bar = MainMenu1->Items();
    for (int i = 0; i < bar->Count(); ++i)
        if (bar->Items(i)->Name == name) return bar->Items(i);
    int at = 0;
    for (const char* earlier : MenuBarOrder) {
        if (earlier == name) break;
        for (int i = 0; i < bar->Count(); ++i)
            if (bar->Items(i)->Name == earlier) at = std::max(at, i + 1);
    }
    TMenuItem* title = NewItem(nullptr, name, caption);
    bar->Insert(at, title);
    return title;
}

void TMainForm::CreateSetupItems()
{
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](TObject* s, TCloseAction& action) { FormClose(s, action); };

    Options1 = MenuBarTitle("Options1", "&Options");
    MIDI_config = NewItem(Options1, "MIDI_config", "&MIDI Interface Setting", ShortCut('M', {ssCtrl}),
                          [this](TObject* s) { MIDI_configClick(s); });
    MIDI_config->Hint = "MIDI Interface Setup";
}

std::filesystem::path TMainForm::SettingsIniFile()
{
    if (SettingsFolder.empty()) {
        std::filesystem::path program = platform::ProgramFile().filename();
        if (program.empty()) program = "quillmarven";
        SettingsFolder = (platform::SettingsFolder() / program).string();
    }
    return std::filesystem::path(SettingsFolder).replace_extension(".INI");
}

void TMainForm::MIDI_configClick(TObject*)
{
    // The dialog gives up the devices: the instrument gets its muted words back first, as at the
    // end, since the editor may never talk to it again. A lift that fails is told, and the dialog
    // opens all the same.
    if (Midi.IsMidiOutOpen()) Application->Dispatch([this] { LiftMutesOnInstrument(); });
    int32_t chosen = DeviceNumber;
    {
        TMIDISetup setup(this, Midi, SettingsIniFile(), &chosen);
        if (!setup.NoDevices) setup.ShowModal();
    }
    DeviceNumber = chosen;
    // The devices chosen: the instrument is muted as the editor shows.
    if (Midi.IsMidiOutOpen()) Application->Dispatch([this] { SendMutesOnInstrument(TMutes::Applied); });
}

void TMainForm::FormShow(TObject*)
{
    // Start-up belongs to the program's main window, once; a window shown on its own (as the
    // page tests do) is just a window.
    if (FirstShowDone || Application->MainForm() != this) return;
    FirstShowDone = true;

    RefreshPerformancePages();
    RefreshVoicePages(ShownVoice());
    OperatorTabMemory.fill(0);

    // A MIDI system that cannot list its devices (a JACK server that is not running or refuses
    // the program) says why, and start-up ends as without devices.
    TMidiDeviceNames devices;
    try {
        devices = ListMidiDevices(Midi);
    } catch (const Exception& e) {
        Application->MessageBox(e.Message, "Quillmarven", MB_OK | MB_ICONERROR);
        return Close();
    }
    const auto& inputs = devices.Inputs;
    const auto& outputs = devices.Outputs;
    if (inputs.empty()) Application->MessageBox(NoInputText, "Quillmarven", MB_OK | MB_ICONINFORMATION);
    if (outputs.empty()) Application->MessageBox(NoOutputText, "Quillmarven", MB_OK | MB_ICONINFORMATION);
    if (inputs.empty() || outputs.empty()) return Close();

    // A settings file that cannot be read is told, and start-up goes on as without one.
    std::string settingsProblem;
    const TMidiSettings settings = ReadMidiSettings(SettingsIniFile(), &settingsProblem);
    if (!settingsProblem.empty()) Application->MessageBox(settingsProblem, "Quillmarven", MB_OK | MB_ICONWARNING);
    // ALSA names carry no client:port numbers here, so they match from one run to the next.
    const int in = LastIndexOf(inputs, settings.MidiIn);
    const int out = LastIndexOf(outputs, settings.MidiOut);
    const int keyboard = LastIndexOf(inputs, settings.MidiKeyboard);
    const bool keyboardMissing = !settings.MidiKeyboard.empty() && keyboard < 0;

    const bool fileGiven = !CommandLine.empty();
    if (fileGiven) {
        if (!LoadCommandLineFile(CommandLine[0])) return Close();
        // Marked at once (a file brought into range is changed): start-up may end below without
        // a first transfer.
        ShowTakenFileData();
    }

    if (in >= 0 && out >= 0 && !keyboardMissing) {
        OpenMidiDevices(Midi, in, out, keyboard);
        DeviceNumber = settings.DeviceID;
    } else {
        MIDI_configClick(this);
        if (!Midi.MidiPortsOpen) return;
    }

    if (fileGiven) {
        DataSendAllClick(this);
    } else {
        // The start-up receive-all leaves the data unchanged (SilentReceiveAll), also when it
        // stops half way; when it fails, the first one that completes later does.
        StartReceiveAll(true);
    }
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose)
{
    // The edit buffer first, then the shape library of the Voice page, which lives in this run
    // only.
    if (!SaveChangesFirst("LQuillmarven", MB_ICONINFORMATION) || !VoicePage->SaveShapesFirst()) CanClose = false;
}

void TMainForm::FormClose(TObject*, TCloseAction&)
{
    // A failed send (a MIDI system that has gone) is told, and the program closes all the same.
    if (Midi.IsMidiOutOpen()) Application->Dispatch([this] { LiftMutesOnInstrument(); });
    Midi.CutKeyboardThru();
    Midi.CloseMidiIn();
    Midi.CloseMidiOut();
    for (auto& picture : AlgorithmPictures) picture.reset();
}
