// The main window built headless: construction order, pictures, caption and File > Exit.
#include "tests/support/WindowRig.h"

#include <fstream>

using MainFormTest = WindowRig;

TEST_F(MainFormTest, ConstructionBuildsWindowLoadsPicturesAndInitialData)
{
    EXPECT_EQ(form->Caption(), "Quillmarven");
    EXPECT_EQ(form->CaptionText, "Quillmarven");
    EXPECT_EQ(form->ClientWidth(), 941);
    EXPECT_EQ(form->ClientHeight(), 637);
    EXPECT_EQ(form->BorderStyle, bsSingle);
    EXPECT_FALSE(form->BorderIcons & biMaximize);
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->DeviceNumber, 0);
    EXPECT_EQ(form->SilentReceiveAll, 1);
    EXPECT_TRUE(form->CurrentFileName.empty());

    ASSERT_EQ(form->FS1R_PageControl->PageCount(), 2);
    EXPECT_EQ(form->FS1R_PageControl->Pages(0)->Caption(), "Performance");
    EXPECT_EQ(form->FS1R_PageControl->Pages(1)->Caption(), "Voice");

    for (const auto& picture : form->AlgorithmPictures) {
        ASSERT_TRUE(picture);
        EXPECT_FALSE(picture->Empty());
    }
    // The catalogue is filled before the initial data, which copy from it.
    EXPECT_FALSE(form->VoiceNameTable[0][0].empty());
    EXPECT_EQ(form->ParameterData.PfmParts[0].BankNum, 1);
    EXPECT_EQ(form->ParameterData.PfmParts[1].BankNum, 0);
    EXPECT_EQ(form->ParameterData.PfmEffect.PfmEffectBlocks[0].EffectType, 1);
    EXPECT_EQ(form->ParameterData.PfmEffect.PfmEffectBlocks[0].Para[0], form->EffectTypeTable[1][0].DefaultValue[0]);
}

TEST_F(MainFormTest, MarkDataChangedSetsFlagAndCaptionOnce)
{
    form->MarkDataChanged();
    form->MarkDataChanged();
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->CaptionText, "Quillmarven (Changed)");
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
}

TEST_F(MainFormTest, ExitItemAndAltF4CloseTheWindow)
{
    TMenuItem* exitItem = Item("FileExitItem");
    ASSERT_NE(exitItem, nullptr);
    EXPECT_EQ(exitItem->Caption(), "E&xit");
    EXPECT_EQ(ShortCutToText(exitItem->ShortCut()), "Alt+F4");

    form->Show();
    ASSERT_TRUE(form->Visible());
    EXPECT_TRUE(form->UserPressesKey(VK_F4, {ssAlt}));
    EXPECT_FALSE(form->Visible());

    form->Show();
    exitItem->Click();
    EXPECT_FALSE(form->Visible());
}

TEST_F(MainFormTest, MissingOrBrokenPictureStopsConstructionNamingTheFile)
{
    for (const bool broken : {false, true}) {
        const fs::path dir = ProgramFolderCopy(broken ? "broken" : "missing");
        const fs::path victim = dir / "alg" / "alg_88.jpg";
        if (broken) {
            std::ofstream(victim, std::ios::binary | std::ios::trunc) << "\xFF\xD8\xFF\xE0 not a picture";
        } else {
            fs::remove(victim);
        }
        try {
            TMainForm spoilt(nullptr, midi, dir);
            ADD_FAILURE() << "construction went on without " << victim;
        } catch (const Exception& e) {
            EXPECT_NE(e.Message.find("alg_88.jpg"), std::string::npos) << e.Message;
        }
    }
}

TEST_F(MainFormTest, ReceivedShortMessagesShowInTheCaption)
{
    form->ShowReceivedMidi(0xF8, 0, 0); // timing clock: ignored
    EXPECT_EQ(form->Caption(), "Quillmarven");
    form->ShowReceivedMidi(0x99, 60, 100);
    EXPECT_NE(form->Caption(), "Quillmarven");
    EXPECT_EQ(form->Caption().rfind("Quillmarven", 0), 0u);
}
