// The main window and the keyboard window built headless, with the MIDI output open on an
// in-process device that records every message the program sends.
#pragma once

#include "tests/support/WindowRig.h"

using Msgs = std::vector<Bytes>;

class KeyboardWindowTest : public WindowRig {
protected:
    KeyboardWindowTest() : WindowRig({.open = Ports::Output, .keyboardWindow = true}) {}

    void ShowKeyboard()
    {
        keyboard->Show();
        TakeAllSent(); // activation changes may have reset the controllers
    }
};

// Sound off, controllers reset and notes off on `channel` (0 .. 15), between `before` and `after`.
inline Msgs ResetOn(int channel, Msgs before = {}, const Msgs& after = {})
{
    const auto status = std::uint8_t(0xB0 | channel);
    before.insert(before.end(), {{status, 120, 0}, {status, 121, 0}, {status, 123, 0}});
    before.insert(before.end(), after.begin(), after.end());
    return before;
}
