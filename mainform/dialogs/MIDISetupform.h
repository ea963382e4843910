// The MIDI setup dialog and the settings file it writes: the input from the instrument, the
// output to it, an optional master keyboard played through to the output, and the instrument's
// device number. Devices are remembered by name, never by position.
#pragma once

#include "ui/UI.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TMidiTransport;

// The section "MIDISetting" of the settings file.
struct TMidiSettings {
    std::string MidiIn;       // "MIDIIN"
    std::string MidiOut;      // "MIDIOUT"
    std::string MidiKeyboard; // "MIDIKeyboard"; empty = no keyboard
    int32_t DeviceID = 0;     // "DeviceID", 0..15
};

// A missing file or key reads as empty; a "DeviceID" that is not 0..15 reads as 0. A file that
// is there but is not read (not a regular file, or too large) reads as missing, and `problem`
// (when given) then says so, naming the file.
TMidiSettings ReadMidiSettings(const std::filesystem::path& file, std::string* problem = nullptr);
// Writes the four keys, keeping whatever else the file holds. False when it cannot be written;
// a file that is there but cannot be read is left as it is, and `problem` (when given) then says
// why, naming the file; otherwise `cause` (when given) says what the write met.
bool WriteMidiSettings(const std::filesystem::path& file, const TMidiSettings& settings,
                       std::string* problem = nullptr, std::string* cause = nullptr);

// The opening sequence of start-up and of the dialog (keyboard -1: none). A device that cannot
// be opened raises the form library's exception with the MIDI system's text, so the exception
// display shows that text.
void OpenMidiDevices(TMidiTransport& midi, int in, int out, int keyboard);

// The names of the MIDI inputs and outputs, or the form library's exception with the MIDI
// system's text when it cannot say (a JACK server that is not running or refuses the program).
struct TMidiDeviceNames {
    std::vector<std::string> Inputs, Outputs;
};
TMidiDeviceNames ListMidiDevices(const TMidiTransport& midi);

class TMIDISetup : public TForm {
public:
    // Closes the program's MIDI devices (they stay closed until OK opens the chosen ones) and
    // fills the lists. The device-ID list starts on *deviceNumber, which OK alone changes.
    TMIDISetup(TComponent* AOwner, TMidiTransport& midi, std::filesystem::path settingsFile, int32_t* deviceNumber);

    TLabel* Setup_ReadMeText = nullptr;
    TLabel* Setup_MIDIINText = nullptr;
    TComboBox* MIDIIN_Box = nullptr;
    TLabel* Setup_MIDIOUTText = nullptr;
    TComboBox* MIDIOUT_Box = nullptr;
    TLabel* Setup_MIDIKeyboadText = nullptr;
    TComboBox* MIDI_K_Box = nullptr;
    TLabel* Setup_DevIDText = nullptr;
    TComboBox* Setup_DevID = nullptr;
    TBitBtn* OKBitBtn = nullptr;
    TBitBtn* CancelBitBtn = nullptr;

    // Set when the system has no MIDI input or no output, or cannot list them: the boxes saying
    // so were shown and the dialog is not to be shown; it ends as if cancelled.
    bool NoDevices = false;

    void FormCreate(TObject* Sender);
    // Checks the choice, opens the devices, writes the settings file and closes with mrOk; any
    // problem is told in a box and the dialog stays open.
    void OKBitBtnClick(TObject* Sender);
    void CancelBitBtnClick(TObject* Sender);

private:
    void CreateControls();

    TMidiTransport& FMidi;
    std::filesystem::path FSettingsFile;
    int32_t* FDeviceNumber;
};
