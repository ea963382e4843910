// Tools > Initialize and File > New: what each command resets and sends; and the save question of
// every command that drops the edit buffer.
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
    // A main window whose whole buffer differs from the initial data.
    TParameterData Fresh(bool changed)
    {
        MakeMainForm();
        fs1r->ClearReceived();
        Scramble();
        form->ParameterData.SystemBlock.MemoryMode = 0; // no initialize touches it
        // The system dump carries the performance's control channel, which Initialize > System keeps.
        form->ParameterData.PfmCommon.ControlChannel = reference->ParameterData.PfmCommon.ControlChannel;
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

// New, Initialize > ALL, Open and closing the window drop the edit buffer: with unsaved changes
// each asks first. Yes saves them (a cancelled or failed save stops the command), No goes on
// without saving, Cancel stops.
TEST_F(InitCommandsTest, CommandsThatDropTheBufferAskToSaveChangesFirst)
{
    TParameterData loud = reference->ParameterData;
    loud.PfmCommon.Volume = 55;
    const fs::path other = WriteFile("other.fse", ::SaveFileImage(loud)), saved = temp / "saved.fse";
    // Whether the command did its work, leaving the file name `name`.
    // The initial data are no file's: the file name is forgotten.
    const auto initialized = [this](const std::string&) {
        return AllDumps(*form) == AllDumps(*reference) && form->AllSendTimer->Enabled() && form->DataChanged == 0 &&
               form->Caption() == "Quillmarven" && form->CurrentFileName.empty();
    };
    const struct {
        const char* what;
        const char* caption;
        int icon;
        std::function<void()> give;
        std::function<bool(const std::string&)> done;
    } commands[] = {
        {"File > New by its shortcut", "Quillmarven", MB_ICONQUESTION,
         [this] { form->MainMenu1->IsShortCut('N', {ssCtrl}); }, initialized},
        {"Initialize > ALL", "Quillmarven", MB_ICONQUESTION, [this] { Click("InitAll"); }, initialized},
        {"File > Open", "Quillmarven", MB_ICONQUESTION,
         [this] {
             form->OpenDialog->FilterIndex = 1;
             Click("FileOpenItem");
         },
         [&](const std::string&) {
             return Same(form->ParameterData, loud) && form->CurrentFileName == other.string() &&
                    form->DataChanged == 0;
         }},
        {"closing the window", "LQuillmarven", MB_ICONINFORMATION, [this] { form->Close(); },
         [this](const std::string& name) {
             return Application->Terminated() && fs1r->OpenInputs() + fs1r->OpenOutputs() == 0 &&
                    !form->AlgorithmPictures[0] && form->CurrentFileName == name;
         }},
    };
    const struct {
        const char* what;
        bool changed;
        int answer;
        std::optional<fs::path> saveTo; // the answer to Save As (none: cancelled)
        bool goesOn;
    } answers[] = {
        {"unchanged: no question", false, IDCANCEL, std::nullopt, true},
        {"Cancel", true, IDCANCEL, std::nullopt, false},
        {"No", true, IDNO, std::nullopt, true},
        {"Yes, then Save As cancelled", true, IDYES, std::nullopt, false},
        {"Yes, then the file cannot be written", true, IDYES, temp.Path(), false},
        {"Yes, then saved", true, IDYES, saved, true},
    };
    for (const auto& command : commands) {
        for (const auto& a : answers) {
            SCOPED_TRACE(std::string(command.what) + ", " + a.what);
            Headless().Reset();
            fs::remove(saved);
            const TParameterData before = Fresh(a.changed);
            form->CurrentFileName = "kept.fse";
            AnswerMessages(a.answer);
            AnswerFileDialogs([&](const TFileDialogRequest& r) -> std::optional<std::string> {
                if (!r.Save) return other.string();
                if (!a.saveTo) return std::nullopt;
                return a.saveTo->string();
            });
            command.give();

            if (a.changed) {
                ASSERT_GE(Messages().size(), 1u);
                EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
                EXPECT_EQ(Messages()[0].Caption, command.caption);
                EXPECT_EQ(Messages()[0].Buttons | Messages()[0].Icon, MB_YESNOCANCEL | command.icon);
            } else {
                EXPECT_TRUE(Messages().empty());
            }
            const std::string name = a.answer == IDYES && a.saveTo ? a.saveTo->string() : "kept.fse";
            if (a.goesOn) {
                EXPECT_TRUE(command.done(name));
            } else {
                EXPECT_TRUE(Same(form->ParameterData, before));
                EXPECT_EQ(form->DataChanged, 1);
                EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
                EXPECT_EQ(form->CurrentFileName, name);
                EXPECT_FALSE(Application->Terminated() || form->AllSendTimer->Enabled());
                EXPECT_EQ(fs1r->OpenInputs() + fs1r->OpenOutputs(), 2);
                for (const auto& dialog : Headless().FileDialogs) EXPECT_TRUE(dialog.Request.Save);
            }
            if (a.saveTo == saved) {
                EXPECT_EQ(ReadBytes(saved), ::SaveFileImage(before));
            } else if (a.saveTo) {
                EXPECT_EQ(Messages().at(1).Text, "Can't perform one of the following file operations: Write.\n\n"
                                                 "Cannot write \"" + a.saveTo->string() + "\": it is a folder");
            }
        }
    }
}
