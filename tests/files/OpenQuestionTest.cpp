// File > Open replaces the edit buffer, so with unsaved changes it first asks, as File > New does:
// Yes saves them (a cancelled or failed save stops the open), No opens, Cancel stops.
#include "tests/files/FormRig.h"

namespace {

class OpenQuestionTest : public FormRig {
protected:
    OpenQuestionTest() : FormRig({.open = Ports::Instrument}) {}
    void SetUp() override
    {
        FormRig::SetUp();
        // A save file whose performance volume is 55.
        const int32_t volume = form->ParameterData.PfmCommon.Volume;
        form->ParameterData.PfmCommon.Volume = 55;
        file = WriteFile("other.fse", SaveFileImage());
        form->ParameterData.PfmCommon.Volume = volume;
    }

    // An edit, then File > Open of `file`: the question gets `answer`; Save As gets `saveTo`
    // (none: cancelled).
    void EditThenOpen(int answer, std::optional<fs::path> saveTo)
    {
        Messages().clear();
        Headless().FileDialogs.clear();
        form->ParameterData.PfmCommon.Volume = 33;
        form->MarkDataChanged();
        form->OpenDialog->FilterIndex = 1;
        AnswerMessages(answer);
        AnswerFileDialogs([this, saveTo](const TFileDialogRequest& r) -> std::optional<std::string> {
            if (!r.Save) return file.string();
            if (!saveTo) return std::nullopt;
            return saveTo->string();
        });
        Click("FileOpenItem");
    }
    void ExpectAsked()
    {
        ASSERT_GE(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
        EXPECT_EQ(Messages()[0].Caption, "Quillmarven");
        EXPECT_EQ(Messages()[0].Buttons, MB_YESNOCANCEL);
        EXPECT_EQ(Messages()[0].Icon, MB_ICONQUESTION);
    }
    // The edit is still there and nothing was opened.
    void ExpectNotOpened()
    {
        EXPECT_EQ(form->ParameterData.PfmCommon.Volume, 33);
        EXPECT_EQ(form->DataChanged, 1);
        EXPECT_NE(form->CurrentFileName, file.string());
        for (const auto& d : Headless().FileDialogs) EXPECT_TRUE(d.Request.Save);
    }
    void ExpectOpened()
    {
        EXPECT_EQ(form->ParameterData.PfmCommon.Volume, 55);
        EXPECT_EQ(form->CurrentFileName, file.string());
        EXPECT_EQ(form->DataChanged, 0);
    }
    fs::path file;
};

TEST_F(OpenQuestionTest, UnchangedDataOpensWithoutAQuestion)
{
    form->OpenDialog->FilterIndex = 1;
    AnswerFileDialogs([this](const TFileDialogRequest&) { return file.string(); });
    Click("FileOpenItem");
    EXPECT_TRUE(Messages().empty());
    ExpectOpened();
}

TEST_F(OpenQuestionTest, CancelStopsAndNoOpens)
{
    EditThenOpen(IDCANCEL, std::nullopt);
    ExpectAsked();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Headless().FileDialogs.empty());
    ExpectNotOpened();

    EditThenOpen(IDNO, std::nullopt);
    ExpectAsked();
    EXPECT_EQ(Messages().size(), 1u);
    ExpectOpened();
}

TEST_F(OpenQuestionTest, YesSavesFirstAndACancelledOrFailedSaveStopsTheOpen)
{
    // Save As cancelled.
    EditThenOpen(IDYES, std::nullopt);
    ExpectAsked();
    ASSERT_EQ(Headless().FileDialogs.size(), 1u);
    EXPECT_TRUE(Headless().FileDialogs[0].Request.Save);
    ExpectNotOpened();

    // A save that cannot be written (the name is a folder): the Write message, and no open.
    const fs::path folder = temp / "folder.fse";
    fs::create_directory(folder);
    EditThenOpen(IDYES, folder);
    ExpectAsked();
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].Text, "Can't perform one of the following file operations: Write.");
    ExpectNotOpened();

    // Saved: the edit is in the file, then the chosen file is open.
    const fs::path saved = temp / "edited.fse";
    EditThenOpen(IDYES, saved);
    ExpectAsked();
    const Bytes image = ReadBytes(saved);
    ASSERT_EQ(image.size(), 12996u);
    int32_t savedVolume = 0;
    std::memcpy(&savedVolume, image.data() + 16 + offsetof(TParameterData, PfmCommon) + offsetof(PfmCommon, Volume), 4);
    EXPECT_EQ(savedVolume, 33);
    ASSERT_EQ(Headless().FileDialogs.size(), 2u);
    EXPECT_FALSE(Headless().FileDialogs[1].Request.Save);
    ExpectOpened();
}

} // namespace
