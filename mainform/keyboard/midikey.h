// The virtual MIDI keyboard: a second window that plays the instrument without a master keyboard.
// A drawn piano keyboard for the mouse, twelve computer keys for one octave, an octave shift, a
// velocity, two controller rows, a MIDI channel and a controller reset. It sends channel messages
// only, through the main window's MIDI output, and touches no edit data.
//
// Every note is released with the note number and channel it was started with, so changing the
// octave or the channel while a key or the mouse button is held never leaves a note hanging; the
// window releases them all when it loses the activation, hides or closes.
#pragma once

#include "ui/UI.h"

#include <array>
#include <cstdint>
#include <string>

class TV_MIDIKeyboard;

// What the keyboard window needs of the main window: its MIDI output, the names the part page's
// note lists give the notes, and a place to be found while it exists.
class TKeyboardHost {
public:
    virtual void SendNoteOn(int channel, int note, int velocity) = 0;
    virtual void SendControlChange(int channel, int controller, int value) = 0;
    virtual std::string NoteName(int note) const = 0;
    // The window registers itself when it is built and takes itself out when it goes.
    virtual void KeyboardWindowBuilt(TV_MIDIKeyboard* window) = 0;
    virtual void KeyboardWindowGone(TV_MIDIKeyboard* window) = 0;

protected:
    ~TKeyboardHost() = default;
};

class TV_MIDIKeyboard : public TForm {
public:
    // Builds the window hidden and registers it with the main window (`V_MIDIKeyboard`), whose
    // menu commands and transfers reach it there; the destructor takes it back out.
    TV_MIDIKeyboard(TComponent* AOwner, TKeyboardHost& host);
    ~TV_MIDIKeyboard() override;

    // ---- controls ----
    TLabel* OctShift = nullptr;
    TStatusBar* StatusBar = nullptr;
    TLabel* Velocity = nullptr;
    TEdit* VelocityEdit = nullptr;
    TScrollBar* VelocityBar = nullptr;
    TGroupBox* CtrlChngGrp = nullptr;
    TLabel* Value = nullptr;
    TScrollBar* CtrlChngBar = nullptr;
    TEdit* CtrlChngEdit = nullptr;
    TComboBox* CtrlChngNum = nullptr;
    TLabel* ChLabel = nullptr;
    TEdit* ChEdit = nullptr;
    TUpDown* ChUpDown = nullptr;
    TComboBox* CtrlChngNum2 = nullptr;
    TLabel* Value2 = nullptr;
    TScrollBar* CtrlChngBar2 = nullptr;
    TEdit* CtrlChngEdit2 = nullptr;
    TButton* ResetButton = nullptr;
    TComboBox* OctComboBox = nullptr;

    // ---- state ----
    // One flag per computer key, in the order Z S X D C V G B H N J M; 1 while the key is held.
    std::array<uint8_t, 12> PcKeyHeld{};
    // The key (its note before the octave shift) of the last left-button press; NoKey or
    // BelowKeys when the press hit no key.
    int LastMouseKey = NoKey;

    static constexpr int NoKey = 0;
    static constexpr int BelowKeys = 999;

    // The key under (x, y) of the client area, as its note number; black keys win over the white
    // keys beneath them, and of two white keys sharing an edge column the left one wins.
    static int KeyAtPoint(int x, int y);
    // The controller number that item i of a controller list stands for (32 is not listed).
    static int ControllerOfItem(int i);
    // Channel 0..15 and octave shift -3..+3 of the messages sent now.
    int Channel() const;
    int OctaveShift() const;

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void FormPaint(TObject* Sender);
    void FormMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FormMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FormMouseWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    void FormMouseWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void FormKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void VelocityBarChange(TObject* Sender);
    void CtrlChngBarChange(TObject* Sender);
    void CtrlChngBar2Change(TObject* Sender);
    void ResetButtonClick(TObject* Sender);
    void ChUpDownClick(TObject* Sender, TUDBtnType Button);
    void OctComboBoxChange(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void FormHide(TObject* Sender);

private:
    // A note this window started: what its release must send.
    struct TSoundingNote {
        int Note = -1; // -1: none
        int Channel = 0;
        bool Sounding = false; // no release sent since it started
    };

    void CreateControls();
    // Sends the control change of controller row 0 or 1.
    void SendControllerRow(int row);
    // Moves a bar by delta, held within its range (a changed bar sends through its handler).
    static void StepBar(TScrollBar* bar, int delta);
    void PlayNote(TSoundingNote& slot, int note);
    void ReleaseNote(TSoundingNote& slot);
    // Releases every note the window started, each on its own channel, and forgets the held keys:
    // their key-ups will not reach this window.
    void ReleaseSoundingNotes();

    TKeyboardHost& Main;
    TSoundingNote MouseNote;
    std::array<TSoundingNote, 12> PcKeyNote{};
};
