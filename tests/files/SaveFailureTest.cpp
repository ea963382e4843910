// File > Save over an existing file when the disk takes only part of the new one (here a file-size
// limit of 5,000 bytes): the Write message, the data still marked changed, and the old file
// unchanged byte for byte with nothing left beside it.
#include "tests/files/FormRig.h"
#include "tests/support/FileSizeLimit.h"

namespace {

using SaveFailureTest = FormRig;

TEST_F(SaveFailureTest, WriteFailingPartwayReportsWriteAndLeavesTheOldFileAlone)
{
    // The old file: a save of other data.
    form->ParameterData.PfmCommon.Volume = 11;
    const Bytes old = SaveFileImage();
    const fs::path path = WriteFile("kept.fse", old);
    form->CurrentFileName = path.string();
    form->ParameterData.PfmCommon.Volume = 99;
    form->MarkDataChanged();
    {
        FileSizeLimit limit(5000);
        Click("FileSaveItem");
    }
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "Can't perform one of the following file operations: Write.");
    EXPECT_EQ(Messages()[0].Caption, "File Error");
    EXPECT_EQ(Messages()[0].Buttons, MB_OKCANCEL);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1);

    // With room again the same command writes the new data.
    Messages().clear();
    Click("FileSaveItem");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadBytes(path), SaveFileImage());
    EXPECT_EQ(form->DataChanged, 0);
}

} // namespace
