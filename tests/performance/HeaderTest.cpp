// The header of the performance sheet (name, pan, returns, part mutes, the refresh of the whole
// sheet) and the storing road of the value pairs: typing and the keys of each row's steps. (Every
// slider's address and bytes: tests/pages/SliderMessagesTest.cpp.)
#include "tests/performance/PerformanceFixture.h"

#include <stdexcept>

using P = PfmPair;

TEST_F(PerformancePageTest, TypingDigitsMovesSliderAndEachStepStoresSendsAndMarks)
{
    TEdit* edit = Edit(P::Pfm_Volume);
    ASSERT_TRUE(edit->UserSetsText(""));
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(edit->SelLength(), 1); // the next key replaces it
    TakeSent();
    form->DataChanged = 0;

    ASSERT_TRUE(edit->UserTypes("1"));
    EXPECT_EQ(Bar(P::Pfm_Volume)->Position(), 1);
    ASSERT_TRUE(edit->UserTypes("20"));
    EXPECT_EQ(Bar(P::Pfm_Volume)->Position(), 120);
    EXPECT_EQ(form->ParameterData.PfmCommon.Volume, 120);
    EXPECT_EQ(edit->Text(), "120");
    EXPECT_EQ(TakeSent(),
              (std::vector<Message>{ParameterChange(0x10, 0, 0x10, 0, 1), ParameterChange(0x10, 0, 0x10, 0, 12),
                                    ParameterChange(0x10, 0, 0x10, 0, 120)}));
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->CaptionText, "Quillmarven (Changed)");
}

// Page and arrow keys step a row by its own steps. (The reserve's steps, the part rows' and the
// stops at the ends: FilterSwitchTest and PartPageTest.)
TEST_F(PerformancePageTest, KeyStepsFollowTheRow)
{
    const auto stepOf = [&](P id, uint16_t key) {
        const int before = Bar(id)->Position();
        Edit(id)->KeyDown(key);
        return Bar(id)->Position() - before;
    };
    EXPECT_EQ(stepOf(P::Pfm_Noteshift, VK_PRIOR), 4);
    EXPECT_EQ(stepOf(P::Pfm_Noteshift, VK_NEXT), -4);
    EXPECT_EQ(stepOf(P::Pfm_ReverbRtn, VK_NEXT), -10);
    EXPECT_EQ(stepOf(P::Pfm_ReverbRtn, VK_UP), 1);
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    EXPECT_EQ(stepOf(P::Pfm_Fseq_SpeedVel, VK_PRIOR), 1);
    ASSERT_TRUE(Edit(P::Pfm_Fseq_SpeedVel)->UserSetsText("9")); // beyond its top: the box shows the top
    EXPECT_EQ(Bar(P::Pfm_Fseq_SpeedVel)->Position(), 7);
    EXPECT_EQ(Edit(P::Pfm_Fseq_SpeedVel)->Text(), "7");
}

// Twelve positions padded with blanks; a full twelve-character name puts its NUL in the spare
// word, never past it. (Characters outside 7 bits: NameBytesTest.)
TEST_F(PerformancePageTest, NameSendsAllTwelvePositionsPaddedWithSpacesThenMarks)
{
    form->DeviceNumber = 3;
    ASSERT_TRUE(page->Pfm_Name->UserSetsText("AB"));
    const std::vector<Message> sent = TakeSent();
    ASSERT_EQ(sent.size(), 12u);
    for (uint8_t i = 0; i < 12; ++i)
        EXPECT_EQ(sent[i], ParameterChange(0x10, 0, i, 0, i == 0 ? 0x41 : i == 1 ? 0x42 : 0x20, 3)) << int(i);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(form->ParameterData.PfmCommon.Name.data())), "AB");

    form->ParameterData.PfmCommon.NameSpare[0] = 'X';
    form->ParameterData.PfmCommon.Category = 7;
    ASSERT_TRUE(page->Pfm_Name->UserSetsText("ABCDEFGHIJKL"));
    EXPECT_EQ(form->ParameterData.PfmCommon.NameSpare[0], 0);
    EXPECT_EQ(form->ParameterData.PfmCommon.Category, 7);
}

TEST_F(PerformancePageTest, PanSliderAndListShowOneValueAndReturnsWriteTheRoutingLabels)
{
    page->Pfm_PanBar->UserScrollsTo(30);
    page->Pfm_PanBar->UserScrollsTo(64);
    EXPECT_EQ(page->Pfm_Pan->Text(), " C");
    EXPECT_TRUE(page->Pfm_Pan->Focused());
    ASSERT_TRUE(page->Pfm_Pan->UserSelects(0)); // "L63"
    EXPECT_EQ(page->Pfm_PanBar->Position(), 1);
    EXPECT_EQ(form->ParameterData.PfmCommon.Pan, 1);
    EXPECT_EQ(TakeSent().size(), 3u); // the bytes: the message records in tests/pages

    // The return levels also write the routing labels.
    Bar(P::Pfm_ReverbRtn)->UserScrollsTo(90);
    Bar(P::Pfm_VariationRtn)->UserScrollsTo(12);
    EXPECT_EQ(page->Pfm_Effect_ImageRevRtn->Caption(), "90");
    EXPECT_EQ(page->Pfm_Effect_ImageVarRtn->Caption(), "12");
}

TEST_F(PerformancePageTest, MuteSilencesThePartOnTheInstrumentOnly)
{
    Part(1).Volume = 100;
    ClickPart(1);
    TakeSent();
    // Another part's mute sends and leaves the shown part alone.
    ASSERT_TRUE(page->Pfm_PartMuteBtn[3]->UserClicks());
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x33, 0, 0x0B, 0, 0)});
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "100");
    EXPECT_TRUE(Bar(P::Pfm_Part_Volume)->Enabled());

    // The shown part's: 0 in a disabled row, the stored volume kept and sent again when unmuted.
    ASSERT_TRUE(page->Pfm_PartMuteBtn[1]->UserClicks());
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0, 0x0B, 0, 0)});
    EXPECT_EQ(form->PartMute[1], 1);
    EXPECT_EQ(Part(1).Volume, 100);
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "0");
    EXPECT_FALSE(Bar(P::Pfm_Part_Volume)->Enabled());
    EXPECT_FALSE(page->Pair(P::Pfm_Part_Volume).Text->Enabled());
    EXPECT_EQ(form->UpdatingDisplay, 0);
    ASSERT_TRUE(page->Pfm_PartMuteBtn[1]->UserClicks());
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0, 0x0B, 0, 100)});
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "100");
    EXPECT_TRUE(Edit(P::Pfm_Part_Volume)->Enabled());
    EXPECT_EQ(form->DataChanged, 0);

    // The header's display shows the mutes as they stand.
    form->PartMute[2] = 1;
    Refresh();
    for (std::size_t p = 0; p < 4; ++p) EXPECT_EQ(page->Pfm_PartMuteBtn[p]->Down(), p >= 2) << p;
}

TEST_F(PerformancePageTest, RefreshLoadsEveryBoxLikeItsSliderAndSendsNothing)
{
    auto& c = form->ParameterData.PfmCommon;
    c.Volume = 77, c.NoteShift = 20, c.Pan = 100, c.ControlChannel = 17;
    Part(0).PBRange = 200; // foreign: beyond the slider
    form->DataChanged = 0;
    page->RefreshPerformancePages();
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->UpdatingDisplay, 0);
    EXPECT_EQ(Edit(P::Pfm_Volume)->Text(), "77");
    EXPECT_EQ(Edit(P::Pfm_Noteshift)->Text(), "-4");
    EXPECT_EQ(page->Pfm_Pan->Text(), "R36");
    EXPECT_EQ(page->Pfm_Ch->Text(), "off");
    EXPECT_EQ(Edit(P::Pfm_Part_PBRange)->Text(), "+24"); // the clamped slider's text
    EXPECT_EQ(Part(0).PBRange, 200);
}

TEST_F(PerformancePageTest, AFailingDisplayStillEndsWithTheHandlersListening)
{
    page->Services.UpdateNoteReserveLimits = [] { throw std::runtime_error("picture missing"); };
    EXPECT_THROW(page->RefreshPerformancePages(), std::runtime_error);
    EXPECT_EQ(form->UpdatingDisplay, 0);
    Bar(P::Pfm_Volume)->UserScrollsTo(5);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0, 0x10, 0, 5)});
}
