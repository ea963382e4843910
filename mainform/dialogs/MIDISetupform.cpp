#include "mainform/dialogs/MIDISetupform.h"

#include "core/pages/FileBoxes.h"
#include "core/transport/MidiTransport.h"
#include "platform/IniFile.h"

#include <algorithm>

namespace {

const std::string Section = "MIDISetting";
const std::string Caption = "Quillmarven";

void Tell(const std::string& text) { Application->MessageBox(text, Caption, MB_OK | MB_ICONINFORMATION); }

// The first device of that name, or -1.
int FirstIndexOf(const std::vector<std::string>& names, const std::string& name)
{
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : int(it - names.begin());
}

} // namespace

TMidiSettings ReadMidiSettings(const std::filesystem::path& file, std::string* problem)
{
    const platform::IniFile ini(file);
    if (problem && !ini.ReadProblem().empty())
        *problem = "The settings file \"" + file.string() + "\" is not read: " + ini.ReadProblem() + ".";
    TMidiSettings s;
    s.MidiIn = ini.ReadString(Section, "MIDIIN");
    s.MidiOut = ini.ReadString(Section, "MIDIOUT");
    s.MidiKeyboard = ini.ReadString(Section, "MIDIKeyboard");
    s.DeviceID = ini.ReadInteger(Section, "DeviceID", 0);
    // Only a hand-edited file holds anything else; no device number outside 0..15 exists.
    if (s.DeviceID < 0 || s.DeviceID > 15) s.DeviceID = 0;
    return s;
}

bool WriteMidiSettings(const std::filesystem::path& file, const TMidiSettings& settings, std::string* problem,
                       std::string* cause)
{
    platform::IniFile ini(file);
    ini.WriteString(Section, "MIDIIN", settings.MidiIn);
    ini.WriteString(Section, "MIDIOUT", settings.MidiOut);
    ini.WriteString(Section, "MIDIKeyboard", settings.MidiKeyboard);
    ini.WriteInteger(Section, "DeviceID", settings.DeviceID);
    if (ini.Save(cause)) return true;
    // A file it could not read is left as it is (the four keys alone would replace every line).
    if (problem && !ini.ReadProblem().empty())
        *problem = "The settings file \"" + file.string() +
                   "\" is not written, since it could not be read: " + ini.ReadProblem() + ".";
    return false;
}

void OpenMidiDevices(TMidiTransport& midi, int in, int out, int keyboard)
{
    try {
        midi.OpenMidiPorts(in, out, keyboard);
    } catch (const EMidiError& e) {
        throw Exception(e.what());
    }
}

TMidiDeviceNames ListMidiDevices(const TMidiTransport& midi)
{
    try {
        return {midi.InputNames(), midi.OutputNames()};
    } catch (const EMidiError& e) {
        throw Exception(e.what());
    }
}

TMIDISetup::TMIDISetup(TComponent* AOwner, TMidiTransport& midi, std::filesystem::path settingsFile,
                       int32_t* deviceNumber)
    : TForm(AOwner), FMidi(midi), FSettingsFile(std::move(settingsFile)), FDeviceNumber(deviceNumber)
{
    CreateControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    DoCreate();
}

void TMIDISetup::CreateControls()
{
    Name = "MIDISetup";
    SetCaption("MIDI Interface Setup");
    BorderStyle = bsDialog;
    BorderIcons = 0;
    Position = poMainFormCenter;
    SetClientSize(382, 141);

    auto label = [this](const char* name, const char* text, int left, int top) {
        auto* l = new TLabel(this);
        l->Name = name;
        l->SetCaption(text);
        l->SetParent(this);
        l->SetBounds(left, top + 3, 76, 16);
        return l;
    };
    auto list = [this](const char* name, int top, int width) {
        auto* box = new TComboBox(this);
        box->Name = name;
        box->Style = csDropDownList;
        box->SetParent(this);
        box->SetBounds(92, top, width, 21);
        return box;
    };

    Setup_ReadMeText = label("Setup_ReadMeText", "Please Select MIDI Interface Device", 0, 4);
    Setup_ReadMeText->AutoSize = false;
    Setup_ReadMeText->Alignment = taCenter;
    Setup_ReadMeText->SetBounds(0, 7, 382, 16);

    Setup_MIDIINText = label("Setup_MIDIINText", "MIDI IN", 12, 30);
    MIDIIN_Box = list("MIDIIN_Box", 30, 190);
    Setup_MIDIOUTText = label("Setup_MIDIOUTText", "MIDI OUT", 12, 57);
    MIDIOUT_Box = list("MIDIOUT_Box", 57, 190);
    Setup_MIDIKeyboadText = label("Setup_MIDIKeyboadText", "MIDIKeyboad", 12, 84);
    MIDI_K_Box = list("MIDI_K_Box", 84, 190);
    Setup_DevIDText = label("Setup_DevIDText", "Device ID", 12, 111);
    Setup_DevID = list("Setup_DevID", 111, 56);
    for (int id = 1; id <= 16; ++id) Setup_DevID->Items.Add((id < 10 ? "0" : "") + std::to_string(id));

    auto button = [this](const char* name, TBitBtnKind kind, int top, void (TMIDISetup::*handler)(TObject*)) {
        auto* b = new TBitBtn(this);
        b->Name = name;
        b->SetParent(this);
        b->SetKind(kind);
        // The handlers decide whether the dialog closes.
        b->ModalResult = mrNone;
        b->SetBounds(296, top, 75, 25);
        b->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        return b;
    };
    OKBitBtn = button("OKBitBtn", bkOK, 30, &TMIDISetup::OKBitBtnClick);
    CancelBitBtn = button("CancelBitBtn", bkCancel, 64, &TMIDISetup::CancelBitBtnClick);
}

void TMIDISetup::FormCreate(TObject*)
{
    // Nothing of the program may hold a device while the choice is made.
    FMidi.CloseMidiIn();
    FMidi.CloseMidiOut();

    MIDIIN_Box->Items.Clear();
    MIDIOUT_Box->Items.Clear();
    MIDI_K_Box->Items.Clear();
    TMidiDeviceNames devices;
    try {
        devices = ListMidiDevices(FMidi);
    } catch (const Exception& e) {
        Tell(e.Message);
        NoDevices = true;
        return;
    }
    const auto& inputs = devices.Inputs;
    const auto& outputs = devices.Outputs;

    if (inputs.empty()) {
        Tell("MIDI input device is not found! Please install MIDI Interface device and restart Quillmarven!");
        NoDevices = true;
    }
    for (const auto& name : inputs) {
        MIDIIN_Box->Items.Add(name);
        MIDI_K_Box->Items.Add(name);
    }
    if (outputs.empty()) {
        Tell("MIDI output device is not found! Please install MIDI Interface device and restart Quillmarven!");
        NoDevices = true;
    }
    // ALSA and JACK know no kinds of output; the MIDI system already leaves out our own ports.
    for (const auto& name : outputs) MIDIOUT_Box->Items.Add(name);

    Setup_DevID->SetItemIndex(std::clamp(*FDeviceNumber, int32_t(0), int32_t(15)));
}

void TMIDISetup::OKBitBtnClick(TObject*)
{
    const auto [inputs, outputs] = ListMidiDevices(FMidi);
    const bool keyboardChosen = MIDI_K_Box->ItemIndex() >= 0;

    if (MIDIIN_Box->ItemIndex() < 0) return Tell("Please select MIDIIN device !");
    if (MIDIOUT_Box->ItemIndex() < 0) return Tell("Please select MIDIOUT device !");
    if (keyboardChosen && MIDI_K_Box->ItemIndex() == MIDIIN_Box->ItemIndex()) {
        Tell("Please select MIDIKeyboad device different from MIDIIN device !");
        MIDI_K_Box->SetItemIndex(-1);
        return;
    }

    // The lists were filled when the dialog opened; a device may have gone since.
    const int in = FirstIndexOf(inputs, MIDIIN_Box->Text());
    const int out = FirstIndexOf(outputs, MIDIOUT_Box->Text());
    const int keyboard = keyboardChosen ? FirstIndexOf(inputs, MIDI_K_Box->Text()) : -1;
    if (in < 0 || out < 0 || (keyboardChosen && keyboard < 0))
        return Tell("MIDI device is not found! Please select MIDI device again !");

    // A device that cannot be opened throws with the MIDI system's text: the dialog stays open
    // and nothing is written.
    OpenMidiDevices(FMidi, in, out, keyboard);

    const int32_t deviceNumber = std::max(0, Setup_DevID->ItemIndex());
    // The devices are open and stay so; a choice that cannot be kept for the next start is told.
    std::string notRead, cause;
    if (!WriteMidiSettings(FSettingsFile,
                           {MIDIIN_Box->Text(), MIDIOUT_Box->Text(),
                            keyboardChosen ? MIDI_K_Box->Text() : std::string(), deviceNumber},
                           &notRead, &cause)) {
        if (notRead.empty())
            ShowFileError(WriteFailedText, cause);
        else
            Application->MessageBox(notRead, ::Caption, MB_OK | MB_ICONWARNING);
    }
    *FDeviceNumber = deviceNumber;
    SetModalResult(mrOk);
}

void TMIDISetup::CancelBitBtnClick(TObject*) { SetModalResult(mrCancel); }
