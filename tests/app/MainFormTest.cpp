// The main window built headless: construction order, pictures, caption, the master keyboard's
// messages in it, and File > Exit. (The caption under a flood: tests/transfers/PacedFloodTest.cpp.)
#include "tests/support/WindowRig.h"

#include <fstream>

using MainFormTest = WindowRig;

class MasterKeyboardTest : public WindowRig {
protected:
    MasterKeyboardTest() : WindowRig({.open = Ports::All}) {}
};

TEST_F(MainFormTest, ConstructionBuildsWindowLoadsPicturesAndInitialData)
{
    EXPECT_EQ(form->Caption(), "Quillmarven");
    EXPECT_EQ(form->ClientWidth(), 941);
    EXPECT_EQ(form->ClientHeight(), 637);
    EXPECT_EQ(form->BorderStyle, bsSingle);
    EXPECT_FALSE(form->BorderIcons & biMaximize);
    EXPECT_EQ(form->DataChanged, 0);
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

// What the master keyboard sends, byte for byte as it sends it (one data byte for a program
// change, channel pressure or song select), goes through to the instrument unchanged and stands in
// the caption after the window's own.
TEST_F(MasterKeyboardTest, EveryMessageIsPlayedThroughAndShownInTheCaption)
{
    const std::string label = std::string(20, ' ') + "Received MIDI Data : CH ";
    const struct {
        Bytes played;
        std::string shown;
    } cases[] = {
        {{0x99, 0x3C, 0x40}, label + "10 NOTE ON 3C 40"},
        {{0xA1, 0x3C, 0x22}, label + "2 POLY AFTER 3C 22"},
        {{0xB0, 0x07, 0x64}, label + "1 CTRL CHANGE 07 64"},
        {{0xC2, 0x05}, label + "3 PROG CHANGE 05 00"},
        {{0xD0, 0x40}, label + "1 CH AFTER TOUCH 40 00"},
        {{0xEF, 0x00, 0x40}, label + "16 PITCH BEND 00 40"},
        {{0xF3, 0x05}, "F3 05 00"},
    };
    form->MarkDataChanged();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        fs1r->ClearReceived();
        keys->Play(c.played);
        Advance(1);
        EXPECT_EQ(fs1r->Received(), std::vector<Bytes>{c.played});
        EXPECT_EQ(form->Caption(), "Quillmarven (Changed)" + c.shown);
    }
}

// (File > Exit in a real window: tests/app/ClosingViewTest.cpp.)
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
}

// (A missing picture: tests/app/EntryTest.cpp.)
TEST_F(MainFormTest, BrokenPictureStopsConstructionNamingTheFile)
{
    // Cut off halfway, as a broken copy leaves it.
    const fs::path picture = ProgramFolderCopy("broken") / "alg" / "alg_88.jpg";
    const Bytes whole = ReadBytes(picture);
    std::ofstream(picture, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(whole.data()), std::streamsize(whole.size() / 2));
    try {
        TMainForm spoilt(nullptr, midi, picture.parent_path().parent_path());
        ADD_FAILURE() << "construction went on without its picture";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("alg_88.jpg"), std::string::npos) << e.Message;
    }
}
