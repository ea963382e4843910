// The MIDI setup dialog and the settings file, and the first show of the main window.
#include "tests/files/FormRig.h"

#include "platform/IniFile.h"

namespace {

const char* const NoInput =
    "MIDI input device is not found! Please install MIDI Interface device and restart Quillmarven!";
const char* const NoOutput =
    "MIDI output device is not found! Please install MIDI Interface device and restart Quillmarven!";
const char* const WrongFse = "File Error: This file is not Quillmarven's file or broken file";

std::vector<std::string> ItemsOf(const TComboBox* box) { return box->Items.Items(); }

class SetupTest : public FormRig {
protected:
    SetupTest() : FormRig({.build = false}) {}
    // What a person does in the setup dialog; -1 leaves a list as it is. Ends with OK (or Cancel).
    void InDialog(int in, int out, int keyboard, int id, bool ok = true)
    {
        Headless().ModalResponder = [=, this](TForm& f) {
            auto& d = dynamic_cast<TMIDISetup&>(f);
            ++DialogsShown;
            if (in >= 0) d.MIDIIN_Box->UserSelects(in);
            if (out >= 0) d.MIDIOUT_Box->UserSelects(out);
            if (keyboard >= 0) d.MIDI_K_Box->UserSelects(keyboard);
            if (id >= 0) d.Setup_DevID->UserSelects(id);
            if (Before) Before(d);
            (ok ? d.OKBitBtn : d.CancelBitBtn)->UserClicks();
            KeyboardAfterOk = d.MIDI_K_Box->ItemIndex();
            if (d.ModalResult() == mrNone) d.CancelBitBtn->UserClicks(); // a refused OK: give up
        };
    }
    void WriteSettings(const TMidiSettings& s) { ASSERT_TRUE(WriteMidiSettings(SettingsFile(), s)); }
    bool Ended() const { return Application->Terminated(); }

    int DialogsShown = 0;
    int KeyboardAfterOk = -1;
    std::function<void(TMIDISetup&)> Before;
};

} // namespace

TEST_F(SetupTest, DialogListsTheDevicesCancelKeepsAllAndOkOpensTheChoiceAndWritesTheSettings)
{
    midi.AddDevice("Synth", false, true);
    MakeForm().Midi.OpenMidiPorts(0, 0, 1);
    form->DeviceNumber = 5;
    Before = [this](TMIDISetup& d) {
        EXPECT_EQ(ItemsOf(d.MIDIIN_Box), (std::vector<std::string>{"FS1R", "Keys"}));
        EXPECT_EQ(ItemsOf(d.MIDI_K_Box), ItemsOf(d.MIDIIN_Box));
        EXPECT_EQ(ItemsOf(d.MIDIOUT_Box), (std::vector<std::string>{"FS1R", "Synth"}));
        EXPECT_EQ(d.Setup_DevID->Items.Count(), 16);
        EXPECT_EQ(d.Setup_DevID->Text(), "06");
        // Nothing of the program holds a device while the dialog is open.
        EXPECT_FALSE(form->Midi.MidiPortsOpen || form->Midi.KeyboardThruOn);
        EXPECT_EQ(fs1r->OpenInputs() + fs1r->OpenOutputs() + keys->OpenInputs(), 0);
    };
    InDialog(-1, -1, -1, -1, false);
    Click("MIDI_config");
    ASSERT_EQ(DialogsShown, 1);
    EXPECT_EQ(Headless().Modals[0].Caption, "MIDI Interface Setup");
    // Cancel: the device number stays, nothing is written, the devices stay closed.
    EXPECT_EQ(form->DeviceNumber, 5);
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_FALSE(form->Midi.MidiPortsOpen);

    Before = nullptr;
    InDialog(0, 0, 1, 9);
    Click("MIDI_config");
    EXPECT_EQ(Headless().Modals.at(1).Result, mrOk);
    EXPECT_TRUE(form->Midi.MidiPortsOpen && form->Midi.KeyboardThruOn);
    EXPECT_EQ(form->DeviceNumber, 9);
    const TMidiSettings s = ReadMidiSettings(SettingsFile());
    EXPECT_EQ(s.MidiIn, "FS1R");
    EXPECT_EQ(s.MidiOut, "FS1R");
    EXPECT_EQ(s.MidiKeyboard, "Keys");
    EXPECT_EQ(s.DeviceID, 9);
    fs1r->ClearReceived(); // the notes-off of the devices the first dialog closed
    keys->PlayShort(0x90, 60, 100);
    EXPECT_EQ(fs1r->Received(), (std::vector<Bytes>{{0x90, 60, 100}}));

    // A settings file that cannot be written (nor read) is told; the dialog closes all the same.
    fs::remove(SettingsFile());
    fs::create_directory(SettingsFile());
    InDialog(0, 0, -1, 4);
    Click("MIDI_config");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "The settings file \"" + SettingsFile().string() +
                                      "\" is not written, since it could not be read: it is a folder.");
    EXPECT_EQ(Headless().Modals.at(2).Result, mrOk);
    EXPECT_TRUE(form->Midi.MidiPortsOpen);
    EXPECT_EQ(form->DeviceNumber, 4);
    EXPECT_TRUE(fs::is_directory(SettingsFile()));
}

TEST_F(SetupTest, OkRefusesAnIncompleteConflictingVanishedOrBusyChoice)
{
    MakeForm();
    const std::tuple<std::function<void()>, const char*, int> attempts[] = {
        // what is done, the box, its icon
        {[] {}, "Please select MIDIIN device !", MB_ICONINFORMATION},
        {[this] { InDialog(0, -1, -1, -1); }, "Please select MIDIOUT device !", MB_ICONINFORMATION},
        {[this] { InDialog(0, 0, 0, -1); }, "Please select MIDIKeyboad device different from MIDIIN device !",
         MB_ICONINFORMATION},
        {[this] {
             fs1r->FailOpen("Device or resource busy"); // then gone, below;
             InDialog(0, 0, -1, 3);
         },
         "Device or resource busy", MB_ICONHAND},
        {[this] {
             InDialog(0, 0, -1, -1);
             Before = [this](TMIDISetup&) { midi.RemoveDevice(fs1r); };
         },
         "MIDI device is not found! Please select MIDI device again !", MB_ICONINFORMATION},
    };
    for (const auto& [arrange, text, icon] : attempts) {
        SCOPED_TRACE(text);
        Messages().clear();
        Before = nullptr;
        InDialog(-1, -1, -1, -1);
        arrange();
        Click("MIDI_config");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, text);
        EXPECT_EQ(Messages()[0].Icon, icon);
        EXPECT_EQ(Headless().Modals.back().Result, mrCancel); // stayed open until Cancel
        EXPECT_EQ(KeyboardAfterOk, -1);
        EXPECT_FALSE(form->Midi.MidiPortsOpen);
        EXPECT_EQ(form->DeviceNumber, 0);
        EXPECT_FALSE(fs::exists(SettingsFile()));
    }
}

TEST_F(SetupTest, SettingsReadDefaultsAndOnlyDeviceNumbersZeroToFifteen)
{
    MakeForm();
    EXPECT_EQ(ReadMidiSettings(SettingsFile()).MidiIn, "");
    for (const auto& [text, id] :
         std::vector<std::pair<std::string, int>>{{"15", 15}, {"16", 0}, {"-1", 0}, {"x", 0}}) {
        WriteText(SettingsFile(), "[MIDISetting]\nMIDIIN=A\nDeviceID=" + text + "\n");
        EXPECT_EQ(ReadMidiSettings(SettingsFile()).DeviceID, id) << text;
    }
    EXPECT_EQ(SettingsFile().filename().extension(), ".INI");
}

// A settings file the program could not read (here one larger than it reads) is never replaced:
// OK in the setup dialog leaves it byte for byte and says why in a box naming it; the devices
// chosen open all the same. One under the limit keeps every line it does not own, bytes that are
// no text among them.
TEST_F(SetupTest, OkNeverReplacesASettingsFileItCouldNotReadAndKeepsTheLinesItDoesNotOwn)
{
    MakeForm();
    const std::string ours = "[MIDISetting]\nMIDIIN=Gone\nDeviceID=7\n";
    const std::string others = "[Other]\n; by hand\nName=\xFF\xFE" + std::string(1, '\0') + "x\n";
    for (const std::size_t padding : {30000u, 70000u}) {
        SCOPED_TRACE(padding);
        Messages().clear();
        const std::string theirs = others + std::string(padding, ';') + "\n";
        WriteText(SettingsFile(), ours + theirs);
        InDialog(0, 0, -1, 2);
        Click("MIDI_config");
        EXPECT_TRUE(form->Midi.MidiPortsOpen);
        EXPECT_EQ(form->DeviceNumber, 2);
        const std::string now = ReadText(SettingsFile());
        if (padding < platform::IniFile::MaxSize) {
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(now, "[MIDISetting]\nMIDIIN=FS1R\nDeviceID=2\nMIDIOUT=FS1R\nMIDIKeyboard=\n" + theirs);
            continue;
        }
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, "The settings file \"" + SettingsFile().string() +
                                          "\" is not written, since it could not be read: it is larger than "
                                          "65536 bytes.");
        EXPECT_EQ(Messages()[0].Caption, "Quillmarven");
        EXPECT_EQ(Messages()[0].Icon, MB_ICONWARNING);
        EXPECT_TRUE(now == ours + theirs) << "the file was replaced: it holds " << now.size() << " bytes";
    }
}

TEST_F(SetupTest, SettingsChosenInTheDialogOpenTheDevicesByNameAtTheNextStart)
{
    const DevicePtr twin = midi.AddDevice("FS1R", false, true); // same name: start-up takes the later one
    InDialog(0, 0, 1, 4);
    MakeMainForm().Show();
    EXPECT_EQ(fs1r->OpenOutputs(), 1); // the dialog takes the first
    EXPECT_TRUE(form->AllRcvTimer->Enabled());
    EXPECT_EQ(form->Caption(), "Quillmarven");
    form.reset();
    Headless().Reset();

    MakeMainForm().Show();
    EXPECT_TRUE(Headless().Modals.empty());
    EXPECT_TRUE(form->Midi.MidiPortsOpen && form->Midi.KeyboardThruOn);
    EXPECT_EQ(twin->OpenOutputs(), 1);
    EXPECT_EQ(fs1r->OpenOutputs(), 0);
    EXPECT_EQ(form->DeviceNumber, 4);
    EXPECT_TRUE(form->AllRcvTimer->Enabled());
    EXPECT_FALSE(Ended());
}

TEST_F(SetupTest, CommandLineFileIsLoadedAndSentAndSavedBackToItsPath)
{
    MakeForm();
    WriteSettings({"FS1R", "FS1R", "", 0});
    Scramble();
    const TParameterData data = form->ParameterData;
    const fs::path path = WriteFile("start.fse", SaveFileImage());

    MakeMainForm().CommandLine = {path.string(), "ignored"};
    form->Show();
    EXPECT_TRUE(Same(form->ParameterData, data));
    EXPECT_EQ(form->CurrentFileName, path.string());
    EXPECT_TRUE(form->AllSendTimer->Enabled());
    EXPECT_FALSE(form->AllRcvTimer->Enabled());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->Caption(), "Quillmarven");
    fs::remove(path);
    form->FileSaveItemClick(nullptr);
    EXPECT_TRUE(Headless().FileDialogs.empty());
    EXPECT_EQ(ReadBytes(path).size(), 12996u);
}

// Every road of the start: a box for each device missing and the end; the setup dialog for settings
// that name a device that is not there; a command-line file that is no save file ends the program
// with the buffer untouched. Once a start that goes on is over, choosing a sequence is an edit.
TEST_F(SetupTest, EveryStartRoadEndsAsItShouldAndThenChoosingASequenceIsAnEdit)
{
    MakeForm();
    const fs::path file = WriteFile("start.fse", SaveFileImage());
    Bytes image = SaveFileImage();
    image.pop_back();
    const fs::path shortFile = WriteFile("short.fse", image);
    image = SaveFileImage(101);
    std::fill(image.begin() + 16, image.end(), 0x55);
    const fs::path v101 = WriteFile("v101.fse", image);
    using A = SimulatedInstrument::Answer;
    const TMidiSettings ok{"FS1R", "FS1R", "", 0}, goneKeys{"FS1R", "FS1R", "Gone", 1};
    const std::string busy = "Device or resource busy", cable = "Please connect MIDI cable!";
    const struct {
        const char* what;
        std::optional<TMidiSettings> settings;
        std::optional<fs::path> file;
        std::string refusal; // of the instrument's device when opened
        A answer;
        std::vector<std::string> boxes;
        bool dialog, ends;
    } starts[] = {
        {"a file on the command line", ok, file, "", A::Dump, {}, false, false},
        {"no settings: the setup dialog, cancelled", std::nullopt, std::nullopt, "", A::Dump, {}, true, false},
        {"a keyboard that is gone: the dialog, cancelled", goneKeys, std::nullopt, "", A::Dump, {}, true, false},
        {"a device that cannot be opened", ok, std::nullopt, busy, A::Dump, {busy}, false, false},
        {"a receive-all without answer", ok, std::nullopt, "", A::Nothing, {cable}, false, false},
        {"a command-line file one byte short", ok, shortFile, "", A::Dump, {WrongFse}, false, true},
        {"a command-line file of version 101", ok, v101, "", A::Dump, {WrongFse}, false, true},
        {"no MIDI device at all", std::nullopt, std::nullopt, "", A::Dump, {NoInput, NoOutput}, false, true},
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(s.what);
        Headless().Reset();
        fs::remove(SettingsFile());
        if (s.settings) WriteSettings(*s.settings);
        if (s.boxes.size() == 2) {
            midi.RemoveDevice(fs1r);
            midi.RemoveDevice(keys);
        }
        InDialog(-1, -1, -1, -1, false);
        fs1r->FailOpen(s.refusal);
        instrument.AnswerMode = s.answer;
        MakeMainForm();
        if (s.file) form->CommandLine = {s.file->string(), "ignored"};
        const TParameterData before = form->ParameterData;
        form->Show();
        Advance(15000);
        ASSERT_FALSE(form->TransferRunning());
        std::vector<std::string> boxes;
        for (const TShownMessage& m : Messages()) boxes.push_back(m.Text);
        EXPECT_EQ(boxes, s.boxes);
        EXPECT_EQ(DialogsShown, s.dialog ? 1 : 0);
        DialogsShown = 0;
        EXPECT_EQ(Ended(), s.ends);
        EXPECT_EQ(form->DataChanged, 0);
        if (s.ends) {
            EXPECT_TRUE(Same(form->ParameterData, before));
            EXPECT_TRUE(form->CurrentFileName.empty());
            EXPECT_FALSE(form->Midi.MidiPortsOpen);
            continue;
        }
        ShowPart(0);
        form->PerformancePage->Pfm_PageControl->SetActivePage(form->PerformancePage->Pfm_FSEQ_Ctrl_TabSheet);
        ASSERT_TRUE(form->PerformancePage->Pfm_Fseq_FseqPre->UserSelects(3));
        EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    }
}
