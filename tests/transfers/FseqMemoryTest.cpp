// The instrument's six internal formant-sequence memories as the formant-sequence page keeps
// them: writing a sequence file into one (and the memories its size fills), testing one in the
// edit buffer, clearing them; the transfer timer's lock on the virtual clock; and every file,
// memory or transfer that is refused with nothing changed and nothing sent.
#include "tests/support/SequenceFile.h"
#include "tests/transfers/TransfersFixture.h"

#include "performance/PerformancePage.h"

namespace {

constexpr const char* Occupied = "Can't overwrite this internal FSEQ data!";
constexpr const char* SizeRefused = "Can't write this internal memory! Please confirm FSEQ data size.";
constexpr const char* Overlap =
    "Can't write this internal memory! Please confirm FSEQ data size or Internal FSEQ data can't overwrite.";
constexpr const char* FileError = "Can't perform one of the following file operations: Open, Seek, Read, Close.";

Bytes Number(uint8_t device, uint8_t n)
{
    return {0xF0, 0x43, uint8_t(0x10 + device), 0x5E, 0x10, 0x00, 0x17, 0, n, 0xF7};
}

class FseqMemoryTest : public TransfersTest {
protected:
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->OnShow = nullptr;
        form->Show();
        form->SilentReceiveAll = 0;
        form->ParameterData.SystemBlock.MemoryMode = 1;
        form->ParameterData.PfmFseq.FseqBank = 0;
        page = form->PerformancePage.get();
        form->RefreshPerformancePages();
        page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
        list = page->Pfm_Fseq_FseqInt;
    }

    // Chooses memory s (1..6) as a person does, forgetting what that sent.
    void Choose(int s)
    {
        ASSERT_TRUE(list->UserSelects(s - 1));
        TakeSent();
        form->DataChanged = 0;
    }
    // The person presses write (or Test) and picks `file` in the dialog.
    void Press(TButton* button, const Bytes& file)
    {
        const fs::path path = WriteFile("seq.syx", file);
        AnswerFileDialogs([path](const TFileDialogRequest&) { return path.string(); });
        Headless().FileDialogs.clear();
        ASSERT_TRUE(button->UserClicks());
    }
    std::vector<std::string> Items() { return list->Items.Items(); }
    // One information box with `text`, and nothing else changed or sent.
    void ExpectRefused(const std::string& text, const std::vector<std::string>& items, const std::string& what)
    {
        SCOPED_TRACE(what);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, text);
        if (text == FileError) {
            EXPECT_EQ(Messages()[0].Caption, "File Error");
        } else {
            EXPECT_EQ(Messages()[0].Caption, "Quillmarven");
            EXPECT_EQ(Messages()[0].Buttons | Messages()[0].Icon, MB_OK | MB_ICONINFORMATION);
        }
        Messages().clear();
        EXPECT_EQ(Items(), items);
        EXPECT_FALSE(form->TransferRunning());
        EXPECT_TRUE(TakeSent().empty());
        EXPECT_EQ(form->DataChanged, 0);
    }

    TPerformancePage* page = nullptr;
    TComboBox* list = nullptr;
    const std::vector<std::string> allFree{"01: Store OK !", "02: Store OK !", "03: Store OK !",
                                           "04: Store OK !", "05: Store OK !", "06: Store OK !"};
};

TEST_F(FseqMemoryTest, WriteIntoMemory3NamesItSendsTheReaddressedFileAndLocksFromTheFirstTickToTheEleventh)
{
    SetDeviceNumber(3);
    Choose(3);
    const Bytes file = SequenceFile(600, 0, "Talk 1 ", 0x05);
    Press(page->Pfm_Fseq_FseqIntWrite, file);
    ASSERT_EQ(Headless().FileDialogs.size(), 1u);
    EXPECT_EQ(Headless().FileDialogs[0].Request.Title, "Select FSEQ File (syx)");
    // The whole file at 61 xx 02 (the device number set in byte 2, not added to the file's own),
    // then the memory chosen again.
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Readdressed(file, 0x03, 0x61, 0x02), Number(3, 2)}));
    EXPECT_EQ(list->Items[2], "03: Talk 1 "); // the name keeps its blank
    EXPECT_EQ(list->ItemIndex(), 2);
    const FseqMemorySlot& slot = form->FseqIntInfo[2];
    EXPECT_EQ(std::vector<int>({slot.LoopStart, slot.LoopEnd, slot.LoopMode, slot.SpeedVel, slot.Pitch, slot.LevelVel,
                                slot.StartDelay, slot.EndStep}),
              std::vector<int>({40, 130, 1, 4, 1, 80, 12, 138}));
    EXPECT_EQ(page->Pair(PfmPair::Pfm_Fseq_LoopEnd).Edit->Text(), "130");
    EXPECT_EQ(page->Pair(PfmPair::Pfm_Fseq_LoopEnd).Bar->Max(), 138);
    EXPECT_EQ(page->Pair(PfmPair::Pfm_Fseq_LevelVel).Edit->Text(), "+16");
    EXPECT_EQ(form->DataChanged, 1);

    // Free until the first tick; no other transfer may start meanwhile.
    Advance(199);
    EXPECT_TRUE(Free());
    Click("DataRcvPfm");
    EXPECT_TRUE(TakeSent().empty());
    Advance(1);
    EXPECT_TRUE(Busy());
    ASSERT_NE(form->DataBulkDump, nullptr);
    EXPECT_EQ(form->DataBulkDump->BulkDumpText->Caption(), "Now Sending FSEQ Data!");
    Advance(1800);
    EXPECT_TRUE(Busy());
    EXPECT_EQ(form->DataBulkDump->BulkDumpProgressBar->Position(), 243);
    Advance(200);
    EXPECT_TRUE(Free());
    EXPECT_EQ(form->DataBulkDump, nullptr);
    EXPECT_FALSE(form->TransferRunning());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FseqMemoryTest, SizeCode2SequenceOfMoreThan16KiBInMemory1FillsMemories2And3)
{
    Choose(1);
    const Bytes file = SequenceFile(20000, 2, "BigVoice");
    Press(page->Pfm_Fseq_FseqIntWrite, file);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Readdressed(file, 0x00, 0x61, 0x00), Number(0, 0)}));
    EXPECT_EQ(Items(), (std::vector<std::string>{"01: BigVoice", "02: *********", "03: *********", "04: Store OK !",
                                                 "05: Store OK !", "06: Store OK !"}));
    // Eleven ticks of 600 ms.
    Advance(599);
    EXPECT_TRUE(Free());
    Advance(1);
    EXPECT_TRUE(Busy());
    Advance(5999);
    EXPECT_TRUE(Busy());
    Advance(1);
    EXPECT_TRUE(Free());

    // A memory the sequence filled takes nothing more: refused before any file is asked for.
    Choose(2);
    Headless().FileDialogs.clear();
    ASSERT_TRUE(page->Pfm_Fseq_FseqIntWrite->UserClicks());
    EXPECT_TRUE(Headless().FileDialogs.empty());
    ExpectRefused(Occupied, Items(), "filled memory 2");
}

TEST_F(FseqMemoryTest, TheLargestSequenceIsTestedAndWrittenAndOneByteMoreIsRefused)
{
    Choose(1);
    const Bytes largest = SequenceFile(FseqFileLargest, 3, "Largest");
    Press(page->Pfm_Fseq_FseqTestBtn, largest);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Readdressed(largest, 0x00, 0x60, 0x00)});
    Advance(8800);
    Press(page->Pfm_Fseq_FseqIntWrite, largest);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Readdressed(largest, 0x00, 0x61, 0x00), Number(0, 0)}));
    EXPECT_EQ(Items(), (std::vector<std::string>{"01: Largest", "02: *********", "03: *********", "04: *********",
                                                 "05: Store OK !", "06: Store OK !"}));
    Advance(8800);
    const std::vector<std::string> items = Items();
    Choose(5);
    for (TButton* button : {page->Pfm_Fseq_FseqTestBtn, page->Pfm_Fseq_FseqIntWrite}) {
        Press(button, SequenceFile(FseqFileLargest + 1, 3, "TooLarge"));
        ExpectRefused(FileError, items, button->Name);
    }
}

TEST_F(FseqMemoryTest, SizeAndOverlapRefusalsChangeNoMemory)
{
    Choose(5);
    Press(page->Pfm_Fseq_FseqIntWrite, SequenceFile(20000, 2, "TooLong"));
    ExpectRefused(SizeRefused, allFree, "memory 5 + 2 memories");

    list->Items.SetStrings(2, "03: Held");
    std::vector<std::string> items = Items();
    Choose(2);
    Press(page->Pfm_Fseq_FseqIntWrite, SequenceFile(3000, 1, "Reaches3"));
    ExpectRefused(Overlap, items, "memory 3 holds a sequence");
    // Size codes beyond 3 have no memories to count: 4 is refused as an overlap, 6 by the size.
    Choose(1);
    Press(page->Pfm_Fseq_FseqIntWrite, SequenceFile(3000, 4, "Code4"));
    ExpectRefused(Overlap, items, "size code 4");
    Press(page->Pfm_Fseq_FseqIntWrite, SequenceFile(3000, 6, "Code6"));
    ExpectRefused(SizeRefused, items, "size code 6");
}

// (Files outside their size class: FseqConvertTest, through the same check.)
TEST_F(FseqMemoryTest, DamagedFilesAreRefusedBeforeAnythingChangesOrIsSent)
{
    struct Damage {
        const char* What;
        Bytes File;
    };
    auto spoilt = [](std::size_t at, uint8_t value) {
        Bytes b = SequenceFile(600, 0, "Spoilt");
        b[at] = value;
        return b;
    };
    const Damage damages[] = {
        {"42 bytes", SequenceFile(42, 0, "Short")}, {"no F0", spoilt(0, 0xF1)},
        {"another maker", spoilt(1, 0x41)},         {"a device byte above 0F", spoilt(2, 0x10)},
        {"another model", spoilt(3, 0x5F)},         {"address 62", spoilt(6, 0x62)},
        {"address 61 7F", spoilt(7, 0x7F)},         {"address 60 01", spoilt(7, 0x01)},
        {"no F7 at the end", spoilt(599, 0x7E)},    {"a byte of 80 inside", spoilt(300, 0x80)},
        {"an F7 inside", spoilt(100, 0xF7)},
    };
    Choose(1);
    for (const Damage& d : damages) {
        Press(page->Pfm_Fseq_FseqIntWrite, d.File);
        ExpectRefused(FileError, allFree, std::string("write: ") + d.What);
        Press(page->Pfm_Fseq_FseqTestBtn, d.File);
        ExpectRefused(FileError, allFree, std::string("test: ") + d.What);
    }
    // A file that cannot be read, and a test of a size code whose length nothing tells.
    AnswerFileDialogs([this](const TFileDialogRequest&) { return (temp / "missing.syx").string(); });
    ASSERT_TRUE(page->Pfm_Fseq_FseqIntWrite->UserClicks());
    ExpectRefused(FileError, allFree, "missing file");
    Press(page->Pfm_Fseq_FseqTestBtn, SequenceFile(3000, 4, "Code4"));
    ExpectRefused(FileError, allFree, "test of size code 4");
    // A cancelled dialog does nothing at all.
    AnswerFileDialogs([](const TFileDialogRequest&) { return std::nullopt; });
    ASSERT_TRUE(page->Pfm_Fseq_FseqIntWrite->UserClicks());
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(FseqMemoryTest, AFailedSendShowsTheErrorAndLeavesTheMemoriesAsTheyWere)
{
    fs1r->SetMaxMessageSize(1024);
    Choose(4);
    const FseqMemorySlot before = form->FseqIntInfo[3];
    Press(page->Pfm_Fseq_FseqIntWrite, SequenceFile(2000, 0, "TooBig"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].Text.find("too long"), std::string::npos) << Messages()[0].Text;
    EXPECT_EQ(Messages()[0].Icon, MB_ICONERROR);
    Messages().clear();
    EXPECT_EQ(Items(), allFree);
    EXPECT_TRUE(Same(form->FseqIntInfo[3], before));
    EXPECT_FALSE(form->TransferRunning());
    EXPECT_TRUE(TakeSent().empty());
    Advance(3000);
    EXPECT_TRUE(Free());
}

TEST_F(FseqMemoryTest, NoOpenOutputOrAnotherTransferRefusesWriteAndTest)
{
    // Before the first tick of a write the windows are free, but the transfer runs.
    Choose(1);
    Press(page->Pfm_Fseq_FseqIntWrite, SequenceFile(600, 0, "First"));
    Choose(2);
    Headless().FileDialogs.clear();
    ASSERT_TRUE(page->Pfm_Fseq_FseqIntWrite->UserClicks());
    ASSERT_TRUE(page->Pfm_Fseq_FseqTestBtn->UserClicks());
    EXPECT_TRUE(Headless().FileDialogs.empty());
    EXPECT_TRUE(TakeSent().empty());
    Advance(2200);
    EXPECT_FALSE(form->TransferRunning());
    EXPECT_TRUE(Messages().empty());
    const std::vector<std::string> items = Items();

    form->Midi.CloseMidiOut();
    TakeSent();
    for (TButton* button : {page->Pfm_Fseq_FseqIntWrite, page->Pfm_Fseq_FseqTestBtn}) {
        ASSERT_TRUE(button->UserClicks());
        ASSERT_EQ(Messages().size(), 1u) << button->Name;
        EXPECT_NE(Messages()[0].Text.find("No MIDI device is open"), std::string::npos);
        Messages().clear();
    }
    EXPECT_TRUE(Headless().FileDialogs.empty());
    EXPECT_EQ(Items(), items);
}

TEST_F(FseqMemoryTest, TestPlaysTheFileInTheEditBufferAndKeepsEverythingElse)
{
    Choose(2);
    const std::vector<std::string> items = Items();
    const Bytes file = SequenceFile(5000, 1, "Try Me");
    Press(page->Pfm_Fseq_FseqTestBtn, file);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Readdressed(file, 0x00, 0x60, 0x00)});
    EXPECT_EQ(Items(), items);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(page->Pair(PfmPair::Pfm_Fseq_SpeedVel).Edit->Text(), "4");
    EXPECT_EQ(page->Pfm_Fseq_Pitch->ItemIndex(), 1);
    EXPECT_EQ(page->Pair(PfmPair::Pfm_Fseq_LoopStart).Bar->Max(), 138);
    // Eleven ticks of 400 ms for a size code of 1.
    Advance(399);
    EXPECT_TRUE(Free());
    Advance(1);
    EXPECT_TRUE(Busy());
    Advance(4000);
    EXPECT_TRUE(Free());
}

TEST_F(FseqMemoryTest, ClearChoosesTheFirstMemoryOnlyForAPerformanceThatPlaysAnInternalSequence)
{
    Choose(4);
    list->Items.SetStrings(1, "02: Held");
    ASSERT_TRUE(page->Pfm_Fseq_FseqIntClear->UserClicks());
    EXPECT_EQ(Items(), allFree);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Number(0, 0)});
    ASSERT_EQ(Modals().size(), 1u);
    EXPECT_EQ(Modals()[0].FormName, "FSEQ_InitInfoForm");

    // With a preset sequence chosen, the instrument keeps it: nothing is sent, the list shows
    // the stored memory.
    form->ParameterData.PfmFseq.FseqBank = 1;
    form->ParameterData.PfmFseq.FseqInt = 3;
    form->RefreshPerformancePages();
    ASSERT_TRUE(page->Pfm_Fseq_FseqBank->Enabled());
    form->Pfm_Fseq_FseqIntClearClick(nullptr);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(Modals().size(), 2u);
    EXPECT_EQ(form->ParameterData.PfmFseq.FseqInt, 3);
}

} // namespace
