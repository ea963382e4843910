// The main window headless as the program's main window, with its settings in a folder of its
// own and the in-process MIDI system: the instrument on "FS1R" and a master keyboard on "Keys".
#pragma once

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "mainform/dialogs/MIDISetupform.h"
#include "platform/MidiInProcess.h"
#include "tests/platform/TempFolder.h"
#include "tests/support/MenuItems.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;
using DevicePtr = std::shared_ptr<platform::InProcessMidi::Device>;

class FormRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetBackend(nullptr);
        Application->Headless().Reset();
        InstallPictureDecoders();
        setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
    }
    void TearDown() override
    {
        form.reset();
        Application->SetMainForm(nullptr);
        Application->Headless().Reset();
    }

    // A main window; `main` makes it the program's main window, whose first show starts up.
    TMainForm& MakeForm(bool main = true)
    {
        form.reset();
        form = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
        if (main) Application->SetMainForm(form.get());
        return *form;
    }
    THeadlessBackend& Headless() { return Application->Headless(); }
    std::vector<TShownMessage>& Messages() { return Headless().Messages; }
    fs::path SettingsFile() const { return form->SettingsIniFile(); }

    TMenuItem* Item(const std::string& name) { return FindMenuItem(form->MainMenu1->Items(), name); }
    void Click(const std::string& name)
    {
        TMenuItem* item = Item(name);
        ASSERT_NE(item, nullptr) << name;
        item->Click();
    }

    // A save file: the header, then the body (default: the editor's current buffer).
    Bytes SaveFileImage(uint32_t version = 100) const
    {
        Bytes image(16 + TParameterData::Size);
        std::memcpy(image.data(), "Quillmarven", 12);
        std::memcpy(image.data() + 12, &version, 4);
        std::memcpy(image.data() + 16, &form->ParameterData, TParameterData::Size);
        return image;
    }
    fs::path WriteFile(const std::string& name, const Bytes& bytes) const
    {
        const fs::path path = temp / name;
        WriteText(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    static Bytes ReadBytes(const fs::path& path)
    {
        const std::string text = ReadText(path);
        return Bytes(text.begin(), text.end());
    }
    // Every byte of the window's edit buffer different from the initial data, spare words
    // included; then the pages are refreshed, so the words they derive (the note-reserve limits)
    // hold what the program itself would hold.
    void Scramble()
    {
        auto* bytes = reinterpret_cast<uint8_t*>(&form->ParameterData);
        for (std::size_t i = 0; i < TParameterData::Size; ++i) bytes[i] = uint8_t(i * 7 + 3);
        form->RefreshPerformancePages();
    }
    static bool SameData(const TParameterData& a, const TParameterData& b)
    {
        return std::memcmp(&a, &b, TParameterData::Size) == 0;
    }

    void AnswerFileDialogs(std::function<std::optional<std::string>(const TFileDialogRequest&)> f)
    {
        Headless().FileResponder = std::move(f);
    }
    void AnswerMessages(int answer)
    {
        Headless().MessageResponder = [answer](const TShownMessage& m) { return m.Buttons == MB_OK ? IDOK : answer; };
    }

    TempFolder temp;
    platform::InProcessMidi midi;
    DevicePtr fs1r = midi.AddDevice("FS1R");
    DevicePtr keys = midi.AddDevice("Keys", true, false);
    std::unique_ptr<TMainForm> form;
};
