// The main window headless with the Voice sheet shown, its output open on the in-process device
// "FS1R": tests drive the page as a person does and read what reached the instrument.
#pragma once

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "platform/MidiInProcess.h"
#include "voice/VoicePage.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using Bytes = std::vector<uint8_t>;

class VoicePageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The parameter change F0 43 1n 5E AH AM AL 00 DL F7 (device number 0 unless given).
    static Bytes Change(uint8_t ah, uint8_t am, uint8_t al, uint8_t dl, uint8_t device = 0);
    // The system-exclusive messages the instrument got since the last call.
    std::vector<Bytes> TakeSent();
    // Loads the page from the edit buffer, as the core does after a load.
    void Refresh();
    // Shows operator tab t of the shown voice, as a person's click on the tab.
    void ShowOperatorTab(int t);
    // Every control below `c`, parents before their children.
    static std::vector<TControl*> ControlsUnder(const TWinControl* c);

    VoiceRecord& Voice(int v = 0) { return form->ParameterData.VoiceRecords[size_t(v)]; }
    VoiceCommon& Common(int v = 0) { return Voice(v).VoiceCommon; }
    VoicedOperator& VOp(int op, int v = 0) { return Voice(v).VoicedOperators[size_t(op)]; }

    platform::InProcessMidi midi;
    std::shared_ptr<platform::InProcessMidi::Device> fs1r = midi.AddDevice("FS1R");
    std::unique_ptr<TMainForm> form;
    TVoicePage* page = nullptr;
};
