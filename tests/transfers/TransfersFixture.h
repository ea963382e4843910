// The main window headless on the in-process MIDI system: the instrument on device "FS1R"
// answering dump requests through the simulated instrument, a master keyboard on "Keys" played
// through to the output, and the virtual keyboard window, all on the virtual clock.
#pragma once

#include "mainform/dialogs/BulkDump.h"
#include "mainform/dialogs/MIDISetupform.h"
#include "tests/support/RecordingMainData.h"
#include "tests/support/WindowRig.h"

#include <algorithm>

// The instrument's block; the memory mode (system position 47) reads as the editor's dump
// builder always writes it, 0.
inline Bytes InstrumentPayload(const SimulatedInstrument& instrument, int32_t kind)
{
    if (kind == DumpPerformance) return Bytes(instrument.Performance.begin(), instrument.Performance.end());
    const auto& voice = instrument.Voices[std::size_t(kind == DumpSystem ? 0 : kind)];
    if (kind != DumpSystem) return Bytes(voice.begin(), voice.end());
    Bytes system(instrument.System.begin(), instrument.System.end());
    system[0x47] = 0;
    return system;
}

// Gives the instrument an edit buffer of its own that differs from the editor's initial one in
// every block.
inline void SeedInstrument(SimulatedInstrument& instrument)
{
    RecordingMainData source;
    source.DeviceNumber = instrument.DeviceNumber;
    source.Instrument = &instrument;
    TParameterData& d = source.ParameterData;
    std::memcpy(d.PfmCommon.Name.data(), "Far Side    ", 12);
    d.PfmCommon.Volume = 101;
    d.PfmParts[0].ReserveNote = 5;
    d.PfmParts[2].Volume = 77;
    for (int v = 0; v < 4; ++v) {
        VoiceRecord& voice = d.VoiceRecords[std::size_t(v)];
        voice.VoiceCommon.Algorithm = 10 + v;
        voice.VoiceCommon.Feedback = v + 1;
        voice.VoicedOperators[1].OutputLvl = 40 + v;
        voice.UnvoicedOperators[3].Transpose = 30 + v;
    }
    d.SystemBlock.MstrTune = 70;
    for (int32_t kind : AllBlocks) source.SendBulkDump(kind, 0);
}

class TransfersTest : public WindowRig {
protected:
    TransfersTest() : WindowRig({.open = Ports::All, .keyboardWindow = true}) {}

    void SeedInstrument() { ::SeedInstrument(instrument); }
    // The program started as a person starts it: the settings name the instrument, with device
    // number `deviceNumber`, and the master keyboard; the first show of a new main window opens
    // them and starts the receive-all.
    void StartUp(int deviceNumber = 0)
    {
        ASSERT_TRUE(WriteMidiSettings(form->SettingsIniFile(), {"FS1R", "FS1R", "Keys", deviceNumber}));
        MakeMainForm().Show();
    }
    void ExpectStored(std::initializer_list<int32_t> kinds)
    {
        for (int32_t kind : kinds)
            EXPECT_EQ(Body(Built(kind)), InstrumentPayload(instrument, kind)) << "block " << kind;
    }
    // The one box a transfer without an answer shows.
    void ExpectCableBox(const char* caption)
    {
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, "Please connect MIDI cable!");
        EXPECT_EQ(Messages()[0].Caption, caption);
        EXPECT_EQ(Messages()[0].Icon | Messages()[0].Buttons, MB_ICONEXCLAMATION | MB_OK);
    }

    // Whether a key played on the master keyboard reaches the instrument now.
    bool ThruPasses()
    {
        KeepSent();
        keys->PlayShort(0x90, 60, 100);
        const auto received = fs1r->Received();
        fs1r->ClearReceived();
        return std::any_of(received.begin(), received.end(),
                           [](const Bytes& m) { return m.size() == 3 && m[0] == 0x90; });
    }
    // The window shown, a person clicks the mute button of part `part` and, on the page of voice
    // `voice`, those of the voiced and unvoiced operators named (0..7): on, or off again.
    void ClickMutes(int part, int voice, std::initializer_list<int> voiced, std::initializer_list<int> unvoiced = {})
    {
        form->OnShow = nullptr;
        form->Show();
        form->FS1R_PageControl->SetActivePage(form->Pfm_TabSheet);
        EXPECT_TRUE(form->PerformancePage->Pfm_PartMuteBtn[std::size_t(part)]->UserClicks());
        ShowVoice(voice);
        for (int k : voiced) EXPECT_TRUE(form->VoicePage->Vc_OpMute_VOp[std::size_t(k)]->UserClicks());
        for (int k : unvoiced) EXPECT_TRUE(form->VoicePage->Vc_OpMute_UOp[std::size_t(k)]->UserClicks());
    }
    bool Locked() { return !form->Enabled() && !keyboard->Enabled(); }
    bool Unlocked() { return form->Enabled() && keyboard->Enabled(); }
    // Windows locked and thru cut, or both free again.
    bool Busy() { return Locked() && !ThruPasses(); }
    bool Free() { return Unlocked() && ThruPasses(); }
};

inline Bytes Request(uint8_t deviceByte, uint8_t ah) { return {0xF0, 0x43, deviceByte, 0x5E, ah, 0x00, 0x00, 0xF7}; }
inline std::vector<Bytes> Requests(uint8_t deviceByte, uint8_t ah) { return {Request(deviceByte, ah)}; }

// Bytes 4..8 of a parameter change, and those of a muted part's volume 0.
inline Bytes Address(const Bytes& m) { return m.size() == 10 ? Bytes(m.begin() + 4, m.begin() + 9) : Bytes{}; }
inline Bytes MutedVolume(int part) { return {uint8_t(0x30 + part), 0x00, 0x0B, 0x00, 0x00}; }
