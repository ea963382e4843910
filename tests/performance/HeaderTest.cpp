// The header of the performance sheet: name, pan, returns, part mutes, and
// the refresh of the whole sheet.
#include "tests/performance/PerformanceFixture.h"

#include <stdexcept>

using P = PfmPair;

TEST_F(PerformancePageTest, NameSendsAllTwelvePositionsPaddedWithSpacesThenMarks)
{
    data.DeviceNumber = 3;
    ASSERT_TRUE(page->Pfm_Name->UserSetsText("AB"));
    const std::vector<Message> sent = Sent();
    ASSERT_EQ(sent.size(), 12u);
    for (uint8_t i = 0; i < 12; ++i)
        EXPECT_EQ(sent[i], ParameterChange(0x10, 0, i, 0, i == 0 ? 0x41 : i == 1 ? 0x42 : 0x20, 3)) << int(i);
    EXPECT_EQ(data.DataChanged, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.ParameterData.PfmCommon.Name.data())), "AB");
}

// Characters outside 7 bits: NameBytesTest. A full twelve-character name puts its NUL in the
// spare word, never past it.
TEST_F(PerformancePageTest, FullTwelveCharacterNameEndsInTheSpareWord)
{
    const int32_t category = data.ParameterData.PfmCommon.Category;
    ASSERT_TRUE(page->Pfm_Name->UserSetsText("ABCDEFGHIJKL"));
    EXPECT_EQ(data.ParameterData.PfmCommon.NameSpare[0], 0);
    EXPECT_EQ(data.ParameterData.PfmCommon.Category, category);
}

TEST_F(PerformancePageTest, PanSliderAndListShowOneValue)
{
    page->Pfm_PanBar->UserScrollsTo(30);
    page->Pfm_PanBar->UserScrollsTo(64);
    EXPECT_EQ(page->Pfm_Pan->Text(), " C");
    EXPECT_TRUE(page->Pfm_Pan->Focused());
    ASSERT_TRUE(page->Pfm_Pan->UserSelects(0)); // "L63"
    EXPECT_EQ(page->Pfm_PanBar->Position(), 1);
    EXPECT_EQ(data.ParameterData.PfmCommon.Pan, 1);
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x10, 0, 0x11, 0, 30), ParameterChange(0x10, 0, 0x11, 0, 64),
                                    ParameterChange(0x10, 0, 0x11, 0, 1)}));
}

TEST_F(PerformancePageTest, ReturnLevelsAlsoWriteTheRoutingLabels)
{
    Bar(P::Pfm_ReverbRtn)->UserScrollsTo(90);
    Bar(P::Pfm_VariationRtn)->UserScrollsTo(12);
    EXPECT_EQ(page->Pfm_Effect_ImageRevRtn->Caption(), "90");
    EXPECT_EQ(page->Pfm_Effect_ImageVarRtn->Caption(), "12");
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x10, 1, 0x2A, 0, 90), ParameterChange(0x10, 1, 0x2D, 0, 12)}));
}

TEST_F(PerformancePageTest, MuteOfTheShownPartSilencesItWithoutTouchingTheData)
{
    Part(1).Volume = 100;
    ShowPart(1);
    Sent();
    ASSERT_TRUE(page->Pfm_PartMuteBtn[1]->UserClicks());
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x0B, 0, 0)});
    EXPECT_EQ(data.PartMute[1], 1);
    EXPECT_EQ(Part(1).Volume, 100);
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "0");
    EXPECT_FALSE(Bar(P::Pfm_Part_Volume)->Enabled());
    EXPECT_FALSE(page->Pair(P::Pfm_Part_Volume).Text->Enabled());
    EXPECT_EQ(data.DataChanged, 0);
    EXPECT_EQ(data.UpdatingDisplay, 0);

    ASSERT_TRUE(page->Pfm_PartMuteBtn[1]->UserClicks());
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x0B, 0, 100)});
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "100");
    EXPECT_TRUE(Edit(P::Pfm_Part_Volume)->Enabled());
    EXPECT_EQ(data.DataChanged, 0);
}

TEST_F(PerformancePageTest, MuteOfAnotherPartSendsButLeavesThePartPageAlone)
{
    Part(0).Volume = 90;
    Part(3).Volume = 70;
    Refresh();
    ASSERT_TRUE(page->Pfm_PartMuteBtn[3]->UserClicks());
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x33, 0, 0x0B, 0, 0)});
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "90");
    EXPECT_TRUE(Bar(P::Pfm_Part_Volume)->Enabled());
    // The header's display keeps the buttons with the mutes.
    Refresh();
    EXPECT_TRUE(page->Pfm_PartMuteBtn[3]->Down());
}

TEST_F(PerformancePageTest, RefreshLoadsEveryBoxLikeItsSliderAndSendsNothing)
{
    auto& c = data.ParameterData.PfmCommon;
    c.Volume = 77, c.NoteShift = 20, c.Pan = 100, c.ControlChannel = 17;
    Part(0).EGDecayTime = 60;
    Part(0).LFO2FltMod = 3;
    Part(0).PBRange = 200; // foreign: beyond the slider
    data.DataChanged = 0;
    page->RefreshPerformancePages();
    EXPECT_TRUE(data.Sent.empty());
    EXPECT_EQ(data.DataChanged, 0);
    EXPECT_EQ(data.UpdatingDisplay, 0);
    EXPECT_EQ(Edit(P::Pfm_Volume)->Text(), "77");
    EXPECT_EQ(Edit(P::Pfm_Noteshift)->Text(), "-4");
    EXPECT_EQ(page->Pfm_Pan->Text(), "R36");
    EXPECT_EQ(page->Pfm_Ch->Text(), "off");
    EXPECT_EQ(Edit(P::Pfm_Part_EGDecayTime)->Text(), "-4");
    EXPECT_EQ(Edit(P::Pfm_Part_PBRange)->Text(), "+24"); // the clamped slider's text
    EXPECT_EQ(Part(0).PBRange, 200);
    for (int i = 0; i < PfmPairCount; ++i) {
        const auto id = static_cast<P>(i);
        const PfmPairDescriptor& d = PfmPairOf(id);
        if (d.Record == PfmRecord::Part && d.PairForm.Form == TValueForm::Signed) {
            EXPECT_EQ(Edit(id)->Text(), FormatValue(d.PairForm.Form, d.PairForm.Centre, Bar(id)->Position()))
                << d.PairForm.Name;
        }
    }
}

TEST_F(PerformancePageTest, AFailingDisplayStillEndsWithTheHandlersListening)
{
    page->Services.UpdateNoteReserveLimits = [] { throw std::runtime_error("picture missing"); };
    EXPECT_THROW(page->RefreshPerformancePages(), std::runtime_error);
    EXPECT_EQ(data.UpdatingDisplay, 0);
    Bar(P::Pfm_Volume)->UserScrollsTo(5);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x10, 0, 5)});
}
