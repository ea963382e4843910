#include "tests/support/WindowRig.h"

#include "mainform/Pictures.h"

#include <cstdlib>
#include <cstring>
#include <utility>

Bytes BuiltDump(TMainForm& form, int32_t kind)
{
    auto bytes = [](const auto& buffer) { return Bytes(buffer.begin(), buffer.end()); };
    if (kind == DumpPerformance) return form.BuildPerformanceDump(kind, 0), bytes(form.PerformanceDumpBuffer);
    if (kind == DumpSystem) return form.BuildSystemDump(), bytes(form.SystemDumpBuffer);
    return form.BuildVoiceDump(kind, 0), bytes(form.VoiceDumpBuffer);
}

Bytes SaveFileImage(const TParameterData& d, uint32_t version)
{
    Bytes image(16 + TParameterData::Size);
    std::memcpy(image.data(), "Quillmarven", 12);
    std::memcpy(image.data() + 12, &version, 4);
    std::memcpy(image.data() + 16, &d, TParameterData::Size);
    return image;
}

WindowRig::WindowRig(WindowRigOptions options) : options_(options)
{
    fs1r->SetOnReceive([this](const Bytes& message) {
        if (message.empty() || message[0] != 0xF0) return;
        if (Answers && !Answers(message)) return;
        const Bytes answer = instrument.Receive(message);
        if (!answer.empty()) fs1r->Play(answer);
    });
}

void WindowRig::SetUp()
{
    Application->SetBackend(nullptr);
    Headless().Reset();
    InstallPictureDecoders();
    setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
    if (options_.build) MakeForm();
}

void WindowRig::TearDown()
{
    keyboard.reset();
    form.reset();
    Application->SetMainForm(nullptr);
    Headless().Reset();
}

TMainForm& WindowRig::Make(platform::MidiBackend& backend, bool main)
{
    keyboard.reset();
    form.reset();
    form = std::make_unique<TMainForm>(nullptr, backend, QM_PROGRAM_DIR);
    if (main) Application->SetMainForm(form.get());
    switch (options_.open) {
    case Ports::None: break;
    case Ports::Output: form->Midi.OpenMidiOut(0); break;
    case Ports::Instrument: form->Midi.OpenMidiPorts(0, 0, -1); break;
    case Ports::All: form->Midi.OpenMidiPorts(0, 0, 1); break;
    }
    if (options_.keyboardWindow) keyboard = std::make_unique<TV_MIDIKeyboard>(nullptr, *form);
    if (options_.shown) {
        form->OnShow = nullptr;
        form->Show();
    }
    return *form;
}

void WindowRig::ExpectFileError(const std::string& text)
{
    ASSERT_EQ(Messages().size(), 1u);
    // What the system said of the file may follow the box's own text.
    const std::string& shown = Messages()[0].Text;
    EXPECT_EQ(shown.substr(0, shown.find("\n\n")), text);
    EXPECT_EQ(Messages()[0].Caption, "File Error");
    EXPECT_EQ(Messages()[0].Buttons, MB_OKCANCEL);
    Messages().clear();
}

void WindowRig::Click(const std::string& name)
{
    TMenuItem* item = Item(name);
    ASSERT_NE(item, nullptr) << name;
    item->Click();
}

void WindowRig::ShowPart(int p)
{
    form->FS1R_PageControl->SetActivePage(form->Pfm_TabSheet);
    form->PerformancePage->Pfm_PartTab->SetTabIndex(p);
}

void WindowRig::ShowVoice(int v, int operatorTab)
{
    form->FS1R_PageControl->SetActivePage(form->Vc_TabSheet);
    form->VoicePage->Vc_VoiceTab->SetTabIndex(v);
    form->OperatorTabMemory[std::size_t(v)] = operatorTab;
    form->RefreshVoicePages(v);
    form->SetOperatorEditItemsVisible(true);
}

void WindowRig::KeepSent()
{
    for (auto& m : fs1r->Received()) kept_.push_back(std::move(m));
    fs1r->ClearReceived();
}

std::vector<Bytes> WindowRig::TakeAllSent()
{
    KeepSent();
    return std::exchange(kept_, {});
}

std::vector<Bytes> WindowRig::TakeSent()
{
    std::vector<Bytes> sysex = TakeAllSent();
    std::erase_if(sysex, [](const Bytes& m) { return m.empty() || m[0] != 0xF0; });
    return sysex;
}

fs::path WindowRig::WriteFile(const std::string& name, const Bytes& bytes) const
{
    const fs::path path = temp / name;
    WriteText(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

void WindowRig::OpenFile(const fs::path& path, int filterIndex)
{
    form->OpenDialog->FilterIndex = filterIndex;
    AnswerFileDialogs([path](const TFileDialogRequest&) { return path.string(); });
    Headless().MessageResponder = [](const TShownMessage& m) { return m.Buttons == MB_YESNOCANCEL ? IDNO : IDOK; };
    struct Forget { // also when the open throws
        WindowRig& Rig;
        std::size_t Before;
        ~Forget()
        {
            auto& m = Rig.Messages();
            if (m.size() > Before && m[Before].Buttons == MB_YESNOCANCEL) m.erase(m.begin() + long(Before));
            Rig.Headless().MessageResponder = nullptr;
        }
    } forget{*this, Messages().size()};
    Click("FileOpenItem");
}

fs::path WindowRig::ProgramFolderCopy(const std::string& name) const
{
    const fs::path folder = temp / name;
    fs::create_directories(folder);
    for (const char* pictures : {"alg", "graphics"})
        fs::copy(fs::path(QM_PROGRAM_DIR) / pictures, folder / pictures, fs::copy_options::recursive);
    return folder;
}
