// The main window headless on the in-process MIDI system: the instrument on device "FS1R"
// (answering dump requests through the simulated instrument), a master keyboard on "Keyboard"
// played through to the output, and the virtual keyboard window, all on the virtual clock.
#pragma once

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "mainform/dialogs/BulkDump.h"
#include "mainform/keyboard/midikey.h"
#include "platform/MidiInProcess.h"
#include "tests/support/MenuItems.h"
#include "tests/support/RecordingMainData.h"
#include "tests/support/SimulatedInstrument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <memory>

using Bytes = std::vector<uint8_t>;

// A block of the editor's buffer as the instrument would hold it (the payload of its dump).
inline Bytes EditorPayload(TMainForm& form, int32_t kind)
{
    auto payload = [](const auto& dump) { return Bytes(dump.begin() + 9, dump.end() - 2); };
    if (kind == DumpPerformance) return form.BuildPerformanceDump(kind, 0), payload(form.PerformanceDumpBuffer);
    if (kind == DumpSystem) return form.BuildSystemDump(), payload(form.SystemDumpBuffer);
    return form.BuildVoiceDump(kind, 0), payload(form.VoiceDumpBuffer);
}

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
    for (int kind : {DumpPerformance, 0, 1, 2, 3, DumpSystem}) source.SendBulkDump(kind, 0);
}

class TransfersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetBackend(nullptr);
        Application->Headless().Reset();
        InstallPictureDecoders();
        form = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
        keys = std::make_unique<TV_MIDIKeyboard>(nullptr, *form);
        form->Midi.OpenMidiPorts(0, 0, 1);
        fs1r->SetOnReceive([this](const Bytes& message) {
            if (message.empty() || message[0] != 0xF0) return;
            if (Answers && !Answers(message)) return;
            const Bytes answer = instrument.Receive(message);
            if (!answer.empty()) fs1r->Play(answer);
        });
    }

    void TearDown() override
    {
        keys.reset();
        form.reset();
    }

    void SetDeviceNumber(int n)
    {
        form->DeviceNumber = n;
        instrument.DeviceNumber = n;
    }

    void SeedInstrument() { ::SeedInstrument(instrument); }

    void KeepSent()
    {
        for (auto& m : fs1r->Received())
            if (!m.empty() && m[0] == 0xF0) sent.push_back(m);
        fs1r->ClearReceived();
    }

    Bytes EditorPayload(int32_t kind) { return ::EditorPayload(*form, kind); }
    Bytes InstrumentPayload(int32_t kind) const { return ::InstrumentPayload(instrument, kind); }
    void ExpectStored(std::initializer_list<int32_t> kinds)
    {
        for (int32_t kind : kinds) EXPECT_EQ(EditorPayload(kind), InstrumentPayload(kind)) << "block " << kind;
    }
    // The one box a transfer without an answer shows.
    void ExpectCableBox(const char* caption)
    {
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, "Please connect MIDI cable!");
        EXPECT_EQ(Messages()[0].Caption, caption);
        EXPECT_EQ(Messages()[0].Icon | Messages()[0].Buttons, MB_ICONEXCLAMATION | MB_OK);
    }

    // The system-exclusive messages the instrument got since the last call.
    std::vector<Bytes> TakeSent()
    {
        KeepSent();
        return std::exchange(sent, {});
    }

    void Advance(uint64_t ms) { Application->Headless().AdvanceMs(ms); }
    // A menu command, as a person picks it.
    void Click(const std::string& name)
    {
        TMenuItem* item = FindMenuItem(form->MainMenu1->Items(), name);
        ASSERT_NE(item, nullptr) << name;
        item->Click();
    }
    std::vector<TShownMessage>& Messages() { return Application->Headless().Messages; }
    std::vector<TShownModal>& Modals() { return Application->Headless().Modals; }

    // Whether a key played on the master keyboard reaches the instrument now.
    bool ThruPasses()
    {
        KeepSent();
        keyboard->PlayShort(0x90, 60, 100);
        const auto received = fs1r->Received();
        fs1r->ClearReceived();
        return std::any_of(received.begin(), received.end(), [](const Bytes& m) { return m.size() == 3 && m[0] == 0x90; });
    }
    bool Locked() { return !form->Enabled() && !keys->Enabled(); }
    bool Unlocked() { return form->Enabled() && keys->Enabled(); }
    // Windows locked and thru cut, or both free again.
    bool Busy() { return Locked() && !ThruPasses(); }
    bool Free() { return Unlocked() && ThruPasses(); }

    platform::InProcessMidi midi;
    std::shared_ptr<platform::InProcessMidi::Device> fs1r = midi.AddDevice("FS1R");
    std::shared_ptr<platform::InProcessMidi::Device> keyboard = midi.AddDevice("Keyboard", true, false);
    SimulatedInstrument instrument;
    // When set, the instrument hears only the requests it approves.
    std::function<bool(const Bytes&)> Answers;
    std::vector<Bytes> sent;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TV_MIDIKeyboard> keys;
};

inline Bytes Request(uint8_t deviceByte, uint8_t ah) { return {0xF0, 0x43, deviceByte, 0x5E, ah, 0x00, 0x00, 0xF7}; }
inline std::vector<Bytes> Requests(uint8_t deviceByte, uint8_t ah) { return {Request(deviceByte, ah)}; }

// Bytes 4..8 of a parameter change, and those of a muted part's volume 0.
inline Bytes Address(const Bytes& m) { return m.size() == 10 ? Bytes(m.begin() + 4, m.begin() + 9) : Bytes{}; }
inline Bytes MutedVolume(int part) { return {uint8_t(0x30 + part), 0x00, 0x0B, 0x00, 0x00}; }

