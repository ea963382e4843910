// The voiced operator: its display (texts, slider maxima, enables, mutes) and its oscillator's
// handlers with their packed bytes, frequency texts and cascades. (The shared operator rows'
// addresses on voiced and unvoiced tabs: tests/pages/SliderMessagesTest.cpp.)
#include "tests/support/VoicePageFixture.h"

#include <cstring>

namespace {

struct TFrequencyCase {
    int Mode, Coarse, Fine;
    const char* Text;
};

} // namespace

TEST_F(VoicePageTest, FrequencyTextFollowsModeCoarseAndFine)
{
    const TFrequencyCase cases[] = {
        {0, 0, 0, "0.500"},  {0, 0, 99, "0.995"}, {0, 1, 0, "1.000"},   {0, 9, 10, "9.900"}, {0, 9, 11, "9.990"},
        {0, 9, 12, "10.08"}, {0, 10, 0, "10.00"}, {0, 31, 99, "61.69"}, {1, 0, 77, "0.000"},
    };
    for (const auto& c : cases) {
        VOp(0).FreqMode = c.Mode;
        VOp(0).FreqCoarse = c.Coarse;
        VOp(0).FreqFine = c.Fine;
        Refresh();
        EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), c.Text) << c.Coarse << " " << c.Fine;
    }
    VOp(0).FreqCoarse = 16;
    VOp(0).FreqFine = 0;
    Refresh();
    EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), form->FixedFreqText[0][15]);

    // The coarse box's keys: Page keys step the coarse frequency, arrows the fine one.
    ASSERT_TRUE(page->Vc_VOpFreqCoarseEdit->KeyDown(VK_UP));
    ASSERT_TRUE(page->Vc_VOpFreqCoarseEdit->KeyDown(VK_NEXT));
    EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), form->FixedFreqText[1][14]);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x60, 0, 0x02, 1), Change(0x60, 0, 0x01, 15)}));
    EXPECT_EQ(VOp(0).FreqFine, 1);
    EXPECT_EQ(VOp(0).FreqCoarse, 15);
}

TEST_F(VoicePageTest, FrequencyModeResetsTheFrequencyInOrder)
{
    ShowOperatorTab(2);
    VOp(2).FreqCoarse = 3;
    VOp(2).FreqFine = 50;
    VOp(2).Form = 1;
    VOp(2).FseqTrk = 0;
    VOp(2).Skirt = 0;
    Refresh();
    ASSERT_TRUE(page->Vc_VOpFreqMode->UserClicks(1));
    EXPECT_EQ(TakeSent(),
              (std::vector<Bytes>{Change(0x60, 2, 0x02, 0), Change(0x60, 2, 0x01, 16), Change(0x60, 2, 0x05, 0x40)}));
    EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), "440.2");
    EXPECT_EQ(page->Vc_VOpFreqCoarseBar->Max(), 21);
    EXPECT_EQ(page->Vc_VOpFreqFineBar->Max(), 127);
    EXPECT_EQ(VOp(2).FreqCoarseMax, 21);
    EXPECT_EQ(VOp(2).FreqFineMax, 127);
    EXPECT_TRUE(page->Bar(VcPair::Vc_OpFreqMod)->Enabled());
    EXPECT_FALSE(page->Bar(VcPair::Vc_OpPitchMod)->Enabled());

    ASSERT_TRUE(page->Vc_VOpFreqMode->UserClicks(0));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x60, 2, 0x01, 1), Change(0x60, 2, 0x05, 0x00)}));
    EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), "1.000");
    EXPECT_EQ(VOp(2).FreqCoarseMax, 31);
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpFreqScaling)->Enabled());
}

TEST_F(VoicePageTest, FixedFrequencyFromAFileKeepsItsFineValue)
{
    // The stored maxima say ratio (as an older file may), the mode says fixed.
    VOp(0).FreqMode = 1;
    VOp(0).FreqCoarseMax = 31;
    VOp(0).FreqFineMax = 99;
    VOp(0).FreqCoarse = 21;
    VOp(0).FreqFine = 120;
    Refresh();
    EXPECT_EQ(page->Vc_VOpFreqFineBar->Position(), 120);
    EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), form->FixedFreqText[120][20]);
    EXPECT_EQ(VOp(0).FreqFineMax, 99); // the words stay as loaded
    EXPECT_TRUE(TakeSent().empty());
}

// (Operator 8's own switch byte and the track's packed byte: the message records of tests/pages.)
TEST_F(VoicePageTest, FseqSwitchSendsTheMaskWithMutedOperatorsOffAndFreesTheTrack)
{
    VOp(0).FseqSw = 1;
    VOp(1).FseqSw = 1;
    form->OperatorMute.Voiced[0][1] = 1;
    ShowOperatorTab(2);
    ASSERT_TRUE(page->Vc_VOpFseqSw->UserClicks(1));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x29, 0x05)});
    EXPECT_EQ(VOp(2).FseqSw, 1);

    // The track box shows 1..8 over a slider of 0..7.
    TEdit* track = page->Edit(VcPair::Vc_VOpFseqTrk);
    ASSERT_TRUE(track->UserSetsText("9"));
    EXPECT_EQ(track->Text(), "8");
    EXPECT_EQ(VOp(2).FseqTrk, 7);
    ASSERT_TRUE(track->UserSetsText(""));
    EXPECT_EQ(track->Text(), "1");
    EXPECT_EQ(track->SelLength(), 1);
    ASSERT_TRUE(track->UserSetsText("x"));
    EXPECT_EQ(track->Text(), "1");
    EXPECT_EQ(VOp(2).FseqTrk, 0);
    ASSERT_TRUE(page->Vc_VOpFseqSw->UserClicks(0));
    EXPECT_FALSE(track->Enabled());
}

TEST_F(VoicePageTest, FormSwitchesRowsAndCarriesBandwidthAndResonance)
{
    VOp(0).Form = 7;
    VOp(0).FreqMode = 1;
    VOp(0).FreqCoarse = 5;
    VOp(0).FreqFine = 9;
    VOp(0).BandWidth = 40;
    VOp(0).Resonance = 10;
    VOp(0).SnsWidthBias = 2;
    VOp(0).FseqTrk = 0;
    VOp(0).Skirt = 0;
    Refresh();
    EXPECT_FALSE(page->Vc_VOpFreqMode->Enabled());
    EXPECT_TRUE(page->Bar(VcPair::Vc_VOpBandWidth)->Enabled());
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpResonance)->Enabled());
    EXPECT_EQ(page->Vc_UOpFreqMode->Items.Count(), 3);

    // frmt to res1: the form byte, the frequency reset by the mode change, then resonance takes
    // the bandwidth value.
    ASSERT_TRUE(page->Vc_VOpForm->UserSelects(5));
    EXPECT_EQ(TakeSent(),
              (std::vector<Bytes>{Change(0x60, 0, 0x04, 5 + 2 * 8), Change(0x60, 0, 0x02, 0), Change(0x60, 0, 0x01, 1),
                                  Change(0x60, 0, 0x05, 0x00), Change(0x60, 0, 0x06, 40)}));
    EXPECT_EQ(VOp(0).Resonance, 40);
    EXPECT_EQ(VOp(0).FreqMode, 0);
    EXPECT_TRUE(page->Bar(VcPair::Vc_VOpResonance)->Enabled());
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpBandWidth)->Enabled());
    EXPECT_FALSE(page->Bar(VcPair::Vc_OpSnsWidthBias)->Enabled());
    EXPECT_TRUE(page->Vc_VOpKeySync->Enabled());
    EXPECT_EQ(page->Vc_UOpFreqMode->Items.Count(), 2);
    EXPECT_TRUE(page->Vc_VOpForm->Focused());

    // res1 to sine in ratio mode: only the form byte; sine takes the skirt away.
    ASSERT_TRUE(page->Vc_VOpForm->UserSelects(0));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 0, 0x04, 0 + 2 * 8)});
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpSkirt)->Enabled());
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpResonance)->Enabled());

    // Back to frmt: fixed mode, bandwidth takes the resonance value, "LinkFF" offered again.
    ASSERT_TRUE(page->Vc_VOpForm->UserSelects(7));
    EXPECT_EQ(VOp(0).BandWidth, 40);
    EXPECT_EQ(page->Vc_VOpFreqMode->ItemIndex(), 1);
    EXPECT_FALSE(page->Vc_VOpFreqMode->Enabled());
    EXPECT_TRUE(page->Bar(VcPair::Vc_VOpSkirt)->Enabled());
    EXPECT_EQ(page->Vc_UOpFreqMode->Items.Count(), 3);
}

TEST_F(VoicePageTest, LeavingFrmtOnAVoicedTabTouchesNoUnvoicedOperator)
{
    VOp(3).Form = 7;
    VOp(3).FreqMode = 1;
    ShowOperatorTab(3);
    // The unvoiced mode radio still shows LinkFF from an unvoiced operator seen before.
    form->UpdatingDisplay = 1;
    page->Vc_UOpFreqMode->SetItemIndex(2);
    form->UpdatingDisplay = 0;
    const VoiceRecord before = Voice();
    const bool scalingEnabled = page->Bar(VcPair::Vc_VOpFreqScaling)->Enabled();

    ASSERT_TRUE(page->Vc_VOpForm->UserSelects(6));
    EXPECT_EQ(page->Vc_UOpFreqMode->ItemIndex(), 1);
    EXPECT_EQ(page->Vc_UOpFreqMode->Items.Count(), 2);
    for (int u = 0; u < 8; ++u)
        EXPECT_EQ(std::memcmp(&Voice().UnvoicedOperators[size_t(u)], &before.UnvoicedOperators[size_t(u)],
                              sizeof(UnvoicedOperator)),
                  0);
    for (const Bytes& m : TakeSent()) {
        EXPECT_EQ(m[4], 0x60);
        EXPECT_EQ(m[5], 3); // voiced operator 4 only
        EXPECT_LT(m[6], 0x23);
    }
    EXPECT_TRUE(scalingEnabled);
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpFreqScaling)->Enabled()); // by the form, as for res2
    EXPECT_TRUE(page->Vc_VOpFreqCoarseBar->Enabled());
    EXPECT_TRUE(page->Vc_VOpFreqFineBar->Enabled());
}

// Attenuation: decibels in a read-only box, sent in the common block at 2D + operator. (The
// packed bytes of the other rows: the slider record of tests/pages.)
TEST_F(VoicePageTest, AttenuationShowsDecibelsAndIsSentInTheCommonBlock)
{
    ShowOperatorTab(4);
    Common().Algorithm = 1;
    for (auto& row : form->AlgorithmOpAttEnable[0]) row = 1;
    Refresh();
    ASSERT_TRUE(page->Edit(VcPair::Vc_VOpOPAtt)->KeyDown(VK_PRIOR));
    EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), "-6.0");
    ASSERT_TRUE(page->Bar(VcPair::Vc_VOpOPAtt)->UserScrollsTo(15));
    EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), "-22.5");
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x31, 4), Change(0x40, 0, 0x31, 15)}));
    EXPECT_EQ(VOp(4).OPAtt, 15);
    ASSERT_TRUE(page->Bar(VcPair::Vc_VOpOPAtt)->UserScrollsTo(1));
    EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), "-1.5");
}

// The texts of the operator rows: with the signed rows of tests/voice/VoiceCommonTest.cpp.
TEST_F(VoicePageTest, SineInRatioModeTakesTheFormantAndFixedRowsOutOfUse)
{
    VoicedOperator& o = VOp(0);
    o.Form = 0, o.FreqMode = 0;
    Refresh();
    for (TScrollBar* off :
         {page->Bar(VcPair::Vc_VOpFseqTrk), page->Bar(VcPair::Vc_VOpTranspose), page->Bar(VcPair::Vc_VOpBandWidth),
          page->Bar(VcPair::Vc_VOpResonance), page->Bar(VcPair::Vc_OpFreqMod), page->Bar(VcPair::Vc_VOpSkirt),
          page->Bar(VcPair::Vc_VOpFreqScaling), page->Bar(VcPair::Vc_OpSnsFreqVel), page->Bar(VcPair::Vc_OpSnsFreqBias),
          page->Bar(VcPair::Vc_OpSnsWidthBias)})
        EXPECT_FALSE(off->Enabled()) << off->Name;
    EXPECT_TRUE(page->Bar(VcPair::Vc_OpPitchMod)->Enabled());
    EXPECT_TRUE(page->Vc_VOpFreqMode->Enabled());
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->DataChanged, 0);
}

// On an unvoiced tab the unvoiced oscillator stands in place of the voiced one; "LinkFF" is
// offered once however often the page is shown.
TEST_F(VoicePageTest, UnvoicedTabShowsItsOwnOscillatorAndOffersLinkFFOnce)
{
    VOp(2).Form = 7;
    ShowOperatorTab(10);
    Refresh();
    Refresh();
    EXPECT_FALSE(page->Vc_VOpOSCGrp->Visible());
    EXPECT_TRUE(page->Vc_UOpOSCGrp->Visible());
    EXPECT_FALSE(page->Bar(VcPair::Vc_OpPitchMod)->Visible());
    EXPECT_EQ(page->Vc_UOpFreqMode->Items.Count(), 3);
    ShowOperatorTab(1);
    EXPECT_TRUE(page->Vc_VOpOSCGrp->Visible());
    EXPECT_TRUE(page->Bar(VcPair::Vc_OpPitchMod)->Visible());
    EXPECT_TRUE(TakeSent().empty());
}
