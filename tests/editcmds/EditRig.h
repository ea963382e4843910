// The main window headless; what it sends reaches a simulated instrument and is recorded.
#pragma once

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "platform/MidiInProcess.h"
#include "tests/support/MenuItems.h"
#include "tests/support/SimulatedInstrument.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

class EditRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetBackend(nullptr);
        Application->Headless().Reset();
        InstallPictureDecoders();
        form = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
        form->Midi.OpenMidiOut(0);
        fs1r->SetOnReceive([this](const Bytes& message) { instrument.Receive(message); });
        form->OnShow = nullptr; // no first show: no devices, settings or start-up transfer
        form->Show();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        form.reset();
        fs::remove_all(folder);
        Headless().Reset();
    }
    THeadlessBackend& Headless() { return Application->Headless(); }
    void SetDeviceNumber(int n) { form->DeviceNumber = instrument.DeviceNumber = n; }
    void ShowPart(int p)
    {
        form->FS1R_PageControl->SetActivePage(form->Pfm_TabSheet);
        form->Pfm_PartTab->SetTabIndex(p);
    }
    void ShowVoice(int v, int operatorTab = 0)
    {
        form->FS1R_PageControl->SetActivePage(form->Vc_TabSheet);
        form->Vc_VoiceTab->SetTabIndex(v);
        form->OperatorTabMemory[std::size_t(v)] = operatorTab;
        form->RefreshVoicePages(v);
        form->SetOperatorEditItemsVisible(true);
    }
    // The system-exclusive messages sent since the last call.
    std::vector<Bytes> TakeSent()
    {
        std::vector<Bytes> sysex;
        for (auto& m : fs1r->Received())
            if (!m.empty() && m[0] == 0xF0) sysex.push_back(m);
        fs1r->ClearReceived();
        return sysex;
    }
    TMenuItem* Item(const std::string& name) { return FindMenuItem(form->MainMenu1->Items(), name); }
    // The whole dump the editor builds now: the performance, the system, or voice 0 .. 3.
    Bytes Built(int32_t kind)
    {
        if (kind == DumpPerformance) return form->BuildPerformanceDump(kind, 0), Bytes(form->PerformanceDumpBuffer.begin(), form->PerformanceDumpBuffer.end());
        if (kind == DumpSystem) return form->BuildSystemDump(), Bytes(form->SystemDumpBuffer.begin(), form->SystemDumpBuffer.end());
        return form->BuildVoiceDump(kind, 0), Bytes(form->VoiceDumpBuffer.begin(), form->VoiceDumpBuffer.end());
    }
    // Exactly one "File Error" box (OK and Cancel) with `text` was shown; the list is emptied.
    void ExpectFileError(const std::string& text)
    {
        ASSERT_EQ(Headless().Messages.size(), 1u);
        EXPECT_EQ(Headless().Messages[0].Text, text);
        EXPECT_EQ(Headless().Messages[0].Caption, "File Error");
        EXPECT_EQ(Headless().Messages[0].Buttons, MB_OKCANCEL);
        Headless().Messages.clear();
    }
    long FilesInFolder() { return std::distance(fs::directory_iterator(folder), fs::directory_iterator()); }

    platform::InProcessMidi midi;
    std::shared_ptr<platform::InProcessMidi::Device> fs1r = midi.AddDevice("FS1R");
    SimulatedInstrument instrument;
    std::unique_ptr<TMainForm> form;
    const fs::path folder = fs::temp_directory_path() / ("qm-editcmds-" + std::to_string(getpid()));
};

template <class Record>
bool Same(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

// The checksum makes bytes 4 .. length - 2 sum to a multiple of 128.
inline bool ChecksumHolds(const Bytes& dump)
{
    unsigned sum = 0;
    for (std::size_t i = 4; i + 1 < dump.size(); ++i) sum += dump[i];
    return dump.size() > 11 && sum % 128 == 0;
}

// The data of a dump: between its address and its checksum.
inline Bytes Body(const Bytes& dump)
{
    return Bytes(dump.begin() + 9, dump.end() - 2);
}

inline const std::string WriteFailure =
    "Can't perform one of the following file operations: Write. This file is used by other application! ";

inline Bytes ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
