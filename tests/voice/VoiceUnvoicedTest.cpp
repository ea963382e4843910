// The unvoiced operator's oscillator driven as a person drives it: the FSEQ switch, the coarse
// and fine sliders with the frequency text and the coarse box's keys, and the frequency modes,
// which take the sliders out of use or link them to the voiced operator's frequency.
#include "tests/support/VoicePageFixture.h"

#include <initializer_list>

namespace {

class UnvoicedTest : public VoicePageTest {
protected:
    UnvoicedOperator& UOp(int op, int v = 0) { return Voice(v).UnvoicedOperators[size_t(op)]; }
    // The rows a linked mode takes out of use, enabled or not.
    void ExpectFrequencyRows(bool enabled)
    {
        for (TScrollBar* bar : {page->Bar(VcPair::Vc_UOpFreqScaling), page->Bar(VcPair::Vc_OpFrqEGInitLvl),
                                page->Bar(VcPair::Vc_OpFrqEGAtakLvl), page->Bar(VcPair::Vc_OpFrqEGAtakTime),
                                page->Bar(VcPair::Vc_OpFrqEGDecayTime), page->Bar(VcPair::Vc_OpSnsFreqVel),
                                page->Bar(VcPair::Vc_OpSnsFreqBias), page->Bar(VcPair::Vc_OpFreqMod)})
            EXPECT_EQ(bar->Enabled(), enabled) << bar->Name;
        EXPECT_TRUE(page->Bar(VcPair::Vc_OpSnsWidthBias)->Enabled());
    }
};

} // namespace

// (Operator 8's own byte: the control record of tests/pages.)
TEST_F(UnvoicedTest, FseqSwitchSendsTheMaskAndShowsTheTrack)
{
    for (int k = 0; k < 8; ++k) UOp(k).FseqSw = k < 2 ? 1 : 0;
    VOp(2).FseqTrk = 5;
    form->OperatorMute.Unvoiced[0][1] = 1;
    ShowOperatorTab(10);
    EXPECT_FALSE(page->Vc_UOpFseqTrkText->Visible());
    form->DataChanged = 0;

    ASSERT_TRUE(page->Vc_UOpFseqSw->UserClicks(1));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x2B, 0x05)}); // operator 2 muted counts off
    EXPECT_EQ(UOp(2).FseqSw, 1);
    EXPECT_TRUE(page->Vc_UOpFseqTrkText->Visible());
    EXPECT_EQ(page->Vc_UOpFseqTrkText->Caption(), "FseqTrack = 6");
    EXPECT_EQ(form->DataChanged, 1);
    ASSERT_TRUE(page->Vc_UOpFseqSw->UserClicks(0));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x2B, 0x01)});
    EXPECT_FALSE(page->Vc_UOpFseqTrkText->Visible());
}

TEST_F(UnvoicedTest, CoarseAndFineSlidersStoreSendAndWriteTheFrequency)
{
    UOp(1).FreqCoarse = 3;
    UOp(1).FreqFine = 9;
    ShowOperatorTab(9);
    form->DataChanged = 0;

    ASSERT_TRUE(page->Vc_UOpFreqCoarseBar->UserScrollsTo(16));
    ASSERT_TRUE(page->Vc_UOpFreqFineBar->UserScrollsTo(0));
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "440.2");
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x60, 1, 0x24, 16), Change(0x60, 1, 0x25, 0)}));
    EXPECT_EQ(UOp(1).FreqCoarse, 16);
    EXPECT_EQ(UOp(1).FreqFine, 0);
    EXPECT_TRUE(page->Vc_UOpFreqCoarseEdit->Focused());
    EXPECT_EQ(form->DataChanged, 1);
    ASSERT_TRUE(page->Vc_UOpFreqCoarseBar->UserScrollsTo(21));
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "14088");
    ASSERT_TRUE(page->Vc_UOpFreqCoarseBar->UserScrollsTo(0));
    ASSERT_TRUE(page->Vc_UOpFreqFineBar->UserScrollsTo(77));
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "0.000");
    ASSERT_TRUE(page->Vc_UOpFreqCoarseBar->UserScrollsTo(15));
    ASSERT_TRUE(page->Vc_UOpFreqFineBar->UserScrollsTo(1));
    TakeSent();

    // The keys of the coarse box: Page keys step the coarse frequency, arrows the fine one.
    ASSERT_TRUE(page->Vc_UOpFreqCoarseEdit->KeyDown(VK_PRIOR));
    ASSERT_TRUE(page->Vc_UOpFreqCoarseEdit->KeyDown(VK_DOWN));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x60, 1, 0x24, 16), Change(0x60, 1, 0x25, 0)}));
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "440.2");

    // In LinkF0 the coarse slider still shows and sends the operator's own value, beside the mode.
    UOp(1).FreqMode = 1;
    Refresh();
    EXPECT_TRUE(page->Vc_UOpFreqCoarseBar->Enabled());
    ASSERT_TRUE(page->Vc_UOpFreqCoarseBar->UserScrollsTo(14));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 1, 0x24, 0x20 + 14)});
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "110.0");
    // ... while the box, disabled, takes no keys.
    EXPECT_FALSE(page->Vc_UOpFreqCoarseEdit->KeyDown(VK_PRIOR));
}

TEST_F(UnvoicedTest, LinkF0AndBackBringsTheOperatorsOwnFrequency)
{
    UOp(4).FreqCoarse = 16;
    UOp(4).FreqFine = 0;
    ShowOperatorTab(12);
    TakeSent();

    ASSERT_TRUE(page->Vc_UOpFreqMode->UserClicks(1));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 4, 0x24, 0x20 + 16)});
    EXPECT_EQ(UOp(4).FreqMode, 1);
    EXPECT_EQ(UOp(4).SavedFreqCoarse, 16);
    EXPECT_EQ(UOp(4).SavedFreqFine, 0);
    for (TControl* c : std::initializer_list<TControl*>{page->Vc_UOpFreqCoarseBar, page->Vc_UOpFreqFineBar,
                                                        page->Vc_UOpFreqCoarseEdit, page->Vc_UOpFreqCoarseText,
                                                        page->Vc_UOpFreqCoarseText2, page->Vc_UOpFreqFineText})
        EXPECT_FALSE(c->Enabled()) << c->Name;
    ExpectFrequencyRows(false);
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Left(), 191);

    // Normal again brings back the operator's own words, not saved ones another voice left (as a
    // received voice in LinkF0 has).
    UOp(4).SavedFreqCoarse = 3;
    UOp(4).SavedFreqFine = 90;
    ASSERT_TRUE(page->Vc_UOpFreqMode->UserClicks(0));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 4, 0x24, 16)});
    EXPECT_EQ(page->Vc_UOpFreqCoarseBar->Position(), 16);
    EXPECT_EQ(page->Vc_UOpFreqFineBar->Position(), 0);
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "440.2");
    EXPECT_TRUE(page->Vc_UOpFreqCoarseBar->Enabled());
    EXPECT_TRUE(page->Vc_UOpFreqCoarseEdit->Enabled());
    EXPECT_TRUE(page->Vc_UOpFreqCoarseEdit->TabStop());
    ExpectFrequencyRows(true);
    EXPECT_EQ(UOp(4).FreqCoarse, 16);
    EXPECT_EQ(UOp(4).FreqFine, 0);
}

TEST_F(UnvoicedTest, LinkFFShowsTheVoicedFrequencyAsTextAndKeepsTheOperatorsOwn)
{
    VOp(1).Form = 7; // frmt: LinkFF is offered
    VOp(1).FreqMode = 1;
    VOp(1).FreqCoarse = 16;
    VOp(1).FreqFine = 0;
    UOp(1).FreqCoarse = 21;
    UOp(1).FreqFine = 0;
    ShowOperatorTab(9);
    ASSERT_EQ(page->Vc_UOpFreqMode->Items.Count(), 3);
    TakeSent();

    ASSERT_TRUE(page->Vc_UOpFreqMode->UserClicks(2));
    // The mode byte carries the operator's own coarse value, as the dump does, not the one shown.
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 1, 0x24, 0x40 + 21)});
    EXPECT_EQ(BuiltDump(*form, 0)[9 + 0x70 + 0x3E + 0x24], 0x40 + 21);
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "440.2");
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Left(), 194);
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Color, clBtnFace);
    EXPECT_FALSE(page->Vc_UOpFreqCoarseEdit->TabStop());
    EXPECT_TRUE(page->Vc_UOpFreqCoarseEdit->Enabled());
    EXPECT_FALSE(page->Vc_UOpFreqCoarseBar->Enabled());
    EXPECT_FALSE(page->Vc_UOpFreqFineBar->Enabled());
    ExpectFrequencyRows(false);
    EXPECT_EQ(UOp(1).FreqMode, 2);
    EXPECT_EQ(UOp(1).FreqCoarse, 21);
    // The linked frequency is no value of this operator: the box's keys step nothing.
    for (uint16_t key : {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN}) ASSERT_TRUE(page->Vc_UOpFreqCoarseEdit->KeyDown(key));
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(page->Vc_UOpFreqCoarseBar->Position(), 16);
    EXPECT_EQ(page->Vc_UOpFreqFineBar->Position(), 0);

    ASSERT_TRUE(page->Vc_UOpFreqMode->UserClicks(0));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 1, 0x24, 21)});
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), "14088");
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Left(), 191);
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Color, clWindow);
    EXPECT_TRUE(page->Vc_UOpFreqFineBar->Enabled());

    // A stored LinkFF beside another voiced form shows as LinkF0, the only link offered; the
    // coarse slider then sends the stored mode, which only a person's choice changes.
    ASSERT_TRUE(page->Vc_UOpFreqMode->UserClicks(2));
    VOp(1).Form = 0;
    Refresh();
    EXPECT_EQ(page->Vc_UOpFreqMode->ItemIndex(), 1);
    TakeSent();
    ASSERT_TRUE(page->Vc_UOpFreqCoarseBar->UserScrollsTo(14));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 1, 0x24, 0x40 + 14)});
    EXPECT_EQ(UOp(1).FreqMode, 2);
}
