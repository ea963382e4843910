#pragma once
// The main window and the keyboard window built headless, with the MIDI output open on an
// in-process device that records every message the program sends.

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "mainform/keyboard/midikey.h"
#include "platform/MidiInProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using Msgs = std::vector<Bytes>;

class KeyboardWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetBackend(nullptr);
        Application->Headless().Reset();
        InstallPictureDecoders();
        main = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
        main->Midi.OpenMidiOut(0);
        keyboard = std::make_unique<TV_MIDIKeyboard>(nullptr, *main);
    }
    void TearDown() override
    {
        keyboard.reset();
        main.reset();
    }

    // The messages sent since the last call.
    std::vector<Bytes> Sent()
    {
        auto sent = fs1r->Received();
        fs1r->ClearReceived();
        return sent;
    }
    void ShowKeyboard()
    {
        keyboard->Show();
        Sent(); // activation changes may have reset the controllers
    }

    platform::InProcessMidi midi;
    std::shared_ptr<platform::InProcessMidi::Device> fs1r = midi.AddDevice("FS1R");
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TV_MIDIKeyboard> keyboard;
};

// Sound off, controllers reset and notes off on `channel` (0 .. 15), between `before` and `after`.
inline Msgs ResetOn(int channel, Msgs before = {}, const Msgs& after = {})
{
    const auto status = std::uint8_t(0xB0 | channel);
    before.insert(before.end(), {{status, 120, 0}, {status, 121, 0}, {status, 123, 0}});
    before.insert(before.end(), after.begin(), after.end());
    return before;
}
