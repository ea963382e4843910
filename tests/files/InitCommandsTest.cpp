// Tools > Initialize and File > New: what each command resets and sends, and the save question.
#include "tests/files/FormRig.h"

namespace {

class InitCommandsTest : public FormRig {
protected:
    InitCommandsTest() : FormRig({.build = false, .open = Ports::Instrument}) {}
    void SetUp() override
    {
        FormRig::SetUp();
        reference = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
        reference->RefreshPerformancePages();
    }
    void TearDown() override
    {
        reference.reset();
        FormRig::TearDown();
    }
    // A window whose whole buffer differs from the initial data.
    TParameterData Fresh(bool changed)
    {
        MakeForm();
        fs1r->ClearReceived();
        Scramble();
        form->ParameterData.SystemBlock.MemoryMode = 0; // no initialize touches it
        if (changed) form->MarkDataChanged();
        return form->ParameterData;
    }
    // What the window would send of the whole buffer: the six bulk dumps.
    static Bytes AllDumps(TMainForm& f)
    {
        Bytes all;
        for (int32_t kind : AllBlocks) {
            const Bytes dump = BuiltDump(f, kind);
            all.insert(all.end(), dump.begin(), dump.end());
        }
        return all;
    }
    std::unique_ptr<TMainForm> reference; // the initial data
};

} // namespace

TEST_F(InitCommandsTest, EachBlockCommandResetsAndSendsItsBlockOnlyAndLeavesTheChangeMark)
{
    struct Row {
        const char* item;
        int32_t block;                  // sent as the initial block's bulk dump
        std::size_t keptFrom, keptSize; // a block the command leaves alone
    } rows[] = {
        {"InitPfm", DumpPerformance, offsetof(TParameterData, SystemBlock), sizeof(SystemBlock)},
        {"InitVc1", 0, offsetof(TParameterData, VoiceRecords) + sizeof(VoiceRecord), sizeof(VoiceRecord)},
        {"InitVc2", 1, offsetof(TParameterData, VoiceRecords), sizeof(VoiceRecord)},
        {"InitVc3", 2, offsetof(TParameterData, VoiceRecords) + 3 * sizeof(VoiceRecord), sizeof(VoiceRecord)},
        {"InitVc4", 3, offsetof(TParameterData, VoiceRecords), sizeof(VoiceRecord)},
        {"InitSys", DumpSystem, offsetof(TParameterData, VoiceRecords), 4 * sizeof(VoiceRecord)},
    };
    for (const Row& row : rows) {
        for (const bool changed : {false, true}) {
            SCOPED_TRACE(std::string(row.item) + (changed ? " after an edit" : " on unchanged data"));
            const TParameterData before = Fresh(changed);
            Click(row.item);
            ASSERT_EQ(fs1r->Received().size(), 1u);
            EXPECT_EQ(fs1r->Received()[0], BuiltDump(*reference, row.block));
            const auto* now = reinterpret_cast<const uint8_t*>(&form->ParameterData) + row.keptFrom;
            EXPECT_EQ(std::memcmp(now, reinterpret_cast<const uint8_t*>(&before) + row.keptFrom, row.keptSize), 0);
            EXPECT_FALSE(Same(form->ParameterData, before));
            // One block's initialize asks nothing and leaves the change mark as it was.
            EXPECT_EQ(form->DataChanged, changed ? 1 : 0);
            EXPECT_EQ(form->Caption(), changed ? "Quillmarven (Changed)" : "Quillmarven");
            EXPECT_TRUE(Messages().empty());
            EXPECT_FALSE(form->AllSendTimer->Enabled());
        }
    }
    EXPECT_EQ(Item("Initialize1")->Caption(), "&Initialize");
}

TEST_F(InitCommandsTest, InitializeAllAndNewAskToSaveChangesFirst)
{
    const fs::path saved = temp / "before-new.fse";
    struct Case {
        const char* what;
        bool changed;
        int answer;
        std::optional<std::string> file;
        bool resets;
    } cases[] = {
        {"unchanged: no question", false, IDCANCEL, std::nullopt, true},
        {"Cancel", true, IDCANCEL, std::nullopt, false},
        {"Yes, then Save As cancelled", true, IDYES, std::nullopt, false},
        {"Yes, then the file cannot be written", true, IDYES, temp.Path().string(), false},
        {"Yes, then saved", true, IDYES, saved.string(), true},
        {"No", true, IDNO, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Headless().Reset();
        const TParameterData before = Fresh(c.changed);
        form->CurrentFileName = "kept.fse";
        AnswerMessages(c.answer);
        AnswerFileDialogs([&](const TFileDialogRequest&) { return c.file; });
        form->Show();
        if (c.answer == IDNO)
            Item("InitAll")->Click(); // Tools > Initialize > ALL
        else
            EXPECT_TRUE(form->UserPressesKey('N', {ssCtrl})); // File > New by its shortcut

        if (c.changed) {
            ASSERT_GE(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
            EXPECT_EQ(Messages()[0].Caption, "Quillmarven");
            EXPECT_EQ(Messages()[0].Buttons | Messages()[0].Icon, MB_YESNOCANCEL | MB_ICONQUESTION);
        } else {
            EXPECT_TRUE(Messages().empty());
        }
        if (c.resets)
            EXPECT_EQ(AllDumps(*form), AllDumps(*reference));
        else
            EXPECT_TRUE(Same(form->ParameterData, before));
        EXPECT_EQ(form->AllSendTimer->Enabled(), c.resets);
        EXPECT_EQ(form->DataChanged, c.resets ? 0 : 1);
        EXPECT_EQ(form->Caption(), c.resets ? "Quillmarven" : "Quillmarven (Changed)");
        EXPECT_EQ(form->CurrentFileName, c.changed && c.answer == IDYES && c.file ? *c.file : "kept.fse");
    }
    EXPECT_EQ(ReadBytes(saved).size(), 12996u);
}
