// After the MIDI setup dialog was cancelled no MIDI device is open. A command whose work is a
// transfer to or from the instrument then says so once, naming the command that chooses the
// devices, and starts no timer and no progress window; the load commands still change the edit
// buffer. Every other command, edit and note changes the edit buffer and sends nothing; the first
// of them after the devices closed says so, the others do not.
#include "tests/transfers/TransfersFixture.h"

#include "performance/PerformancePage.h"

namespace {

class NoDeviceTest : public TransfersTest {
protected:
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->OnShow = nullptr;
        form->Show();
        // Options > MIDI Interface Setting, cancelled: the devices it closed stay closed.
        Click("MIDI_config");
        ASSERT_EQ(Modals().size(), 1u);
        ASSERT_EQ(Modals()[0].Result, mrCancel);
        Modals().clear();
        Application->Headless().Sleeps.clear();
        ASSERT_FALSE(form->Midi.IsMidiOutOpen());
        TakeSent();
    }

    // The command's one box, and nothing started or sent, even a while later.
    void ExpectRefused(const std::string& what)
    {
        SCOPED_TRACE(what);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Caption, "Quillmarven : MIDI setting error");
        const TShownMessage& box = Messages()[0];
        EXPECT_NE(box.Text.find("No MIDI device is open"), std::string::npos) << box.Text;
        EXPECT_NE(box.Text.find("Options > MIDI Interface Setting"), std::string::npos) << box.Text;
        EXPECT_EQ(box.Buttons, MB_OK);
        EXPECT_FALSE(form->TransferRunning());
        EXPECT_EQ(form->DataBulkDump, nullptr);
        EXPECT_TRUE(Unlocked());
        Advance(20000);
        EXPECT_EQ(Messages().size(), 1u);
        EXPECT_TRUE(Modals().empty());
        EXPECT_TRUE(TakeSent().empty());
        Messages().clear();
    }
    void ExpectQuiet(const std::string& what)
    {
        SCOPED_TRACE(what);
        Advance(5000);
        EXPECT_TRUE(Messages().empty());
        EXPECT_FALSE(form->TransferRunning());
        EXPECT_TRUE(TakeSent().empty());
    }
};

TEST_F(NoDeviceTest, TransferCommandsSayNoDeviceIsOpenAndStartNothingAndLoadCommandsLoadFirst)
{
    // A save file of the editor's own kind with a volume of 55, and one of the other editor's.
    TParameterData data = form->ParameterData;
    data.PfmCommon.Volume = 55;
    const fs::path fse = WriteFile("saved.fse", SaveFileImage(data));
    const fs::path fs1 = WriteFile("other.fs1", {0xF0, 0x43, 0x00, 0x5E, 0x10, 0x00, 0x00, 0x01, 0xF7});
    TPerformancePage& page = *form->PerformancePage;
    struct Row {
        std::string what;
        std::function<void()> give;
        int32_t volume; // the performance volume afterwards
    };
    std::vector<Row> rows{
        {"performance Receive button", [&] { page.Pfm_Data_Request_Btn->UserClicks(); }, 77},
        {"performance Transmit button", [&] { page.Pfm_Data_Send_Btn->UserClicks(); }, 77},
        {"File > New", [this] { Click("FileNewItem"); }, 127},
        {"Initialize > ALL", [this] { Click("InitAll"); }, 127},
        {"File > Open", [&] { OpenFile(fse); }, 55},
        // The other editor's file goes to the instrument and back.
        {"File > Open of the other editor's file", [&] { OpenFile(fs1, 2); }, 77},
    };
    for (const char* command : {"DataRcvPfm", "DataRcvVc1", "DataRcvVc2", "DataRcvVc3", "DataRcvVc4", "DataRcvSys",
                                "DataRcvAll", "DataSendPfm", "DataSendVc1", "DataSendVc2", "DataSendVc3", "DataSendVc4",
                                "DataSendSys", "DataSendAll", "StorePfm", "StoreVc1", "StoreVc4"})
        rows.push_back({command, [this, command] { Click(command); }, 77});
    for (const Row& row : rows) {
        form->ParameterData.PfmCommon.Volume = 77;
        row.give();
        EXPECT_EQ(form->ParameterData.PfmCommon.Volume, row.volume) << row.what;
        ExpectRefused(row.what);
        EXPECT_EQ(form->DataChanged, 0) << row.what;
        EXPECT_TRUE(Application->Headless().Sleeps.empty()) << row.what;
    }
    EXPECT_EQ(form->CurrentFileName, fse.string());
}

TEST_F(NoDeviceTest, EditsPastesInitializeAndNotesWorkAndTheFirstSaysItReachesNothing)
{
    TPerformancePage& page = *form->PerformancePage;
    auto& parts = form->ParameterData.PfmParts;

    ASSERT_TRUE(page.Pfm_Name->UserSetsText("Quiet"));
    const auto& name = form->ParameterData.PfmCommon.Name;
    EXPECT_EQ(std::string(name.begin(), name.begin() + 5), "Quiet");
    EXPECT_EQ(form->DataChanged, 1);
    ExpectRefused("name typed");

    // A program change stores the program; the voice fetch that follows needs the instrument.
    ASSERT_TRUE(page.Pfm_PartTab->UserSelects(0));
    ASSERT_TRUE(page.Pfm_Part_PrgNum->UserSelects(9));
    EXPECT_EQ(parts[0].PrgNum, 9);
    EXPECT_FALSE(form->Vc_Timer->Enabled());
    ExpectQuiet("program change");

    // Copy part 1, paste onto part 2, undo.
    parts[0].Formant = 99;
    ASSERT_TRUE(form->UserPressesKey('C', {ssCtrl}));
    ASSERT_TRUE(page.Pfm_PartTab->UserSelects(1));
    ASSERT_TRUE(form->UserPressesKey('V', {ssCtrl}));
    EXPECT_EQ(parts[1].Formant, 99);
    ExpectQuiet("paste");
    ASSERT_TRUE(form->UserPressesKey('Z', {ssCtrl}));
    EXPECT_EQ(parts[1].Formant, 64);
    ExpectQuiet("undo");

    form->ParameterData.VoiceRecords[2].VoiceCommon.Feedback = 5;
    Click("InitVc3");
    EXPECT_EQ(form->ParameterData.VoiceRecords[2].VoiceCommon.Feedback, 0);
    ExpectQuiet("Initialize > Voice3");

    // Devices opened and closed anew: the next note says it again, once.
    form->Midi.OpenMidiPorts(0, 0, -1);
    Click("MIDI_config");
    Modals().clear();
    TakeSent();
    keyboard->Show();
    keyboard->UserPressesKey('Z');
    ExpectRefused("a note of the keyboard window");
    keyboard->UserReleasesKey('Z');
    ExpectQuiet("its release");
}

} // namespace
