// The formant-sequence, controller and system sheet: the enables that follow the stored values
// (at a display and at each change), stored values beyond a control's range, the sequence
// selectors that load settings without storing them, and the bytes of the masks, the speeds and
// the controller numbers.
#include "tests/performance/PerformanceFixture.h"

namespace {

using P = PfmPair;

class FseqSheetTest : public PerformancePageTest {
protected:
    void SetUp() override
    {
        PerformancePageTest::SetUp();
        form->SilentReceiveAll = 0; // as after the start-up receive
        page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    }
    PfmFseq& Fseq() { return form->ParameterData.PfmFseq; }
    PfmControlSet& Set(int k) { return form->ParameterData.PfmControlSets[std::size_t(k)]; }
    SystemBlock& System() { return form->ParameterData.SystemBlock; }
    bool Row(P id) { return page->Pair(id).Enabled(); }
    Message Fseq(uint8_t al, uint8_t dh, uint8_t dl) { return ParameterChange(0x10, 0, al, dh, dl); }
    // The memory list, its buttons, the preset list and the bank radio, enabled or not.
    std::vector<bool> MemoryControls()
    {
        return {page->Pfm_Fseq_FseqInt->Enabled(),     page->Pfm_Fseq_FseqIntWrite->Enabled(),
                page->Pfm_Fseq_FseqTestBtn->Enabled(), page->Pfm_Fseq_FseqIntClear->Enabled(),
                page->Pfm_Fseq_FseqPre->Enabled(),     page->Pfm_Fseq_FseqBank->Enabled()};
    }
};

TEST_F(FseqSheetTest, MemoryModeAndBankDecideTheSequenceSelectors)
{
    // Memory mode 0: no internal memories, whatever the stored bank.
    Fseq().FseqBank = 0;
    System().MemoryMode = 0;
    Refresh();
    EXPECT_EQ(page->Pfm_Fseq_FseqBank->ItemIndex(), 0);
    EXPECT_EQ(MemoryControls(), (std::vector<bool>{false, false, false, false, true, false}));
    page->Pfm_PageControl->SetActivePage(page->Pfm_Part_TabSheet);
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    EXPECT_EQ(MemoryControls(), (std::vector<bool>{false, false, false, false, true, false}));
    // A preset chosen there plays from the preset bank: the bank follows, after the number.
    TakeSent();
    ASSERT_TRUE(page->Pfm_Fseq_FseqPre->UserSelects(5));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{Fseq(0x17, 0, 5), Fseq(0x16, 0, 1)}));
    EXPECT_EQ(page->Pfm_Fseq_FseqBank->ItemIndex(), 1);

    Fseq().FseqBank = 0;
    System().MemoryMode = 1;
    Refresh();
    EXPECT_EQ(MemoryControls(), (std::vector<bool>{true, true, true, true, false, true}));
    Fseq().FseqBank = 1;
    Refresh();
    EXPECT_EQ(MemoryControls(), (std::vector<bool>{false, false, false, false, true, true}));

    // The bank radio switches both ways; the number goes out first, then the bank.
    Fseq().FseqInt = 3;
    Fseq().FseqPre = 41;
    Refresh();
    ASSERT_TRUE(page->Pfm_Fseq_FseqBank->UserClicks(0));
    EXPECT_EQ(MemoryControls(), (std::vector<bool>{true, true, true, true, false, true}));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{Fseq(0x17, 0, 3), Fseq(0x16, 0, 0)}));
    ASSERT_TRUE(page->Pfm_Fseq_FseqBank->UserClicks(1));
    EXPECT_EQ(MemoryControls(), (std::vector<bool>{false, false, false, false, true, true}));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{Fseq(0x17, 0, 41), Fseq(0x16, 0, 1)}));
    EXPECT_EQ(form->DataChanged, 1);
}

TEST_F(FseqSheetTest, ModeAndSpeedSelectDecideThePlayingRows)
{
    const P fseqRows[] = {P::Pfm_Fseq_StartDelay, P::Pfm_Fseq_LoopStart, P::Pfm_Fseq_LoopEnd};
    auto playing = [&] {
        bool any = page->Pfm_Fseq_KeyOnTrig->Enabled() || page->Pfm_Fseq_SpeedGrp->Enabled() ||
                   page->Pfm_Fseq_SpeedSelect->Enabled() || page->Pfm_Fseq_LoopMode->Enabled() ||
                   page->Pfm_Fseq_Speedmidi->Enabled() || Row(P::Pfm_Fseq_Speed) || Row(P::Pfm_Fseq_SpeedVel);
        for (P id : fseqRows) any = any || Row(id);
        return any;
    };
    auto alwaysOn = [&] {
        return page->Pfm_Fseq_Part->Enabled() && page->Pfm_Fseq_Pitch->Enabled() && Row(P::Pfm_Fseq_LevelVel) &&
               Row(P::Pfm_Fseq_StartOffset);
    };
    // Stored scratch, or a mode below it that selects no button: nothing of the playing rows.
    for (int32_t mode : {1, 0}) {
        Fseq().Mode = mode;
        Refresh();
        EXPECT_EQ(page->Pfm_Fseq_Mode->ItemIndex(), mode - 1);
        EXPECT_FALSE(playing()) << mode;
        EXPECT_TRUE(alwaysOn()) << mode;
    }
    // A mode above fseq selects fseq; with the midi speed only the ratios and no speed velocity.
    Fseq().Mode = 7;
    Fseq().SpeedSelect = 0;
    Refresh();
    EXPECT_EQ(page->Pfm_Fseq_Mode->ItemIndex(), 1);
    EXPECT_TRUE(page->Pfm_Fseq_Speedmidi->Enabled() && page->Pfm_Fseq_KeyOnTrig->Enabled() && Row(fseqRows[2]));
    EXPECT_FALSE(Row(P::Pfm_Fseq_Speed) || Row(P::Pfm_Fseq_SpeedVel));
    EXPECT_FALSE(page->Pair(P::Pfm_Fseq_Speed).Text->Enabled());

    // The handlers apply the same rules both ways. (What each control sends: the control record.)
    ASSERT_TRUE(page->Pfm_Fseq_Mode->UserClicks(0));
    EXPECT_FALSE(playing());
    EXPECT_TRUE(alwaysOn());
    ASSERT_TRUE(page->Pfm_Fseq_Mode->UserClicks(1));
    EXPECT_EQ(Fseq().Mode, 2);
    EXPECT_TRUE(page->Pfm_Fseq_Speedmidi->Enabled() && Row(P::Pfm_Fseq_LoopEnd));
    EXPECT_FALSE(Row(P::Pfm_Fseq_Speed) || Row(P::Pfm_Fseq_SpeedVel));

    // "%" with the slider at 900 sends 1000 in two bytes; "midi" sends the ratio shown.
    ASSERT_TRUE(page->Pfm_Fseq_Speedmidi->UserClicks(3));
    TakeSent();
    ASSERT_TRUE(page->Pfm_Fseq_SpeedSelect->UserClicks(1));
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x18, 0x07, 0x68)});
    EXPECT_TRUE(Row(P::Pfm_Fseq_Speed) && Row(P::Pfm_Fseq_SpeedVel));
    EXPECT_FALSE(page->Pfm_Fseq_Speedmidi->Enabled());
    EXPECT_TRUE(Edit(P::Pfm_Fseq_Speed)->Focused());
    // Page Up on the read-only speed box: 50.0 % more.
    Edit(P::Pfm_Fseq_Speed)->KeyDown(VK_PRIOR);
    EXPECT_EQ(Edit(P::Pfm_Fseq_Speed)->Text(), "150.0");
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x18, 0x0B, 0x5C)});
    ASSERT_TRUE(page->Pfm_Fseq_SpeedSelect->UserClicks(0));
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x18, 0, 3)});
    EXPECT_FALSE(Row(P::Pfm_Fseq_SpeedVel));
}

TEST_F(FseqSheetTest, StoredValuesBeyondTheControlsShowWhereTheControlsSettle)
{
    Fseq().StartOffset = 400;
    Fseq().StartOffsetMax = 120;
    Fseq().LoopEnd = 90;
    Fseq().LoopEndMax = 120;
    Set(0).Destination = 60;
    Set(0).SourceSw[KN2] = 2;
    Set(0).SourceSw[PB] = 1;
    Set(0).PartSw = {1, 2, 0, 1};
    System().MstrTune = 127;
    form->DataChanged = 0;
    page->RefreshPerformancePages();
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->DataChanged, 0);

    // Above its maximum: the slider stands at the maximum, the box and the word keep 400.
    EXPECT_EQ(Bar(P::Pfm_Fseq_StartOffset)->Position(), 120);
    EXPECT_EQ(Edit(P::Pfm_Fseq_StartOffset)->Text(), "400");
    EXPECT_EQ(Fseq().StartOffset, 400);
    EXPECT_EQ(Bar(P::Pfm_Fseq_LoopEnd)->Max(), 120);
    EXPECT_EQ(Bar(P::Pfm_Fseq_LoopEnd)->Position(), 90);
    // A destination outside the list: none shown, the depth stays, the parts go.
    EXPECT_EQ(page->Pfm_Ctrl_Dest[0]->ItemIndex(), -1);
    EXPECT_TRUE(page->Pair(P::Pfm_Ctrl_Depth1).Enabled());
    EXPECT_FALSE(page->Pfm_Ctrl_ChkPart[0][0]->Enabled());
    // Only a byte of exactly 1 is a checked box.
    EXPECT_FALSE(page->Pfm_Ctrl_ChkSource[0][KN2]->Checked());
    EXPECT_TRUE(page->Pfm_Ctrl_ChkSource[0][PB]->Checked());
    EXPECT_EQ(std::vector<bool>({page->Pfm_Ctrl_ChkPart[0][0]->Checked(), page->Pfm_Ctrl_ChkPart[0][1]->Checked(),
                                 page->Pfm_Ctrl_ChkPart[0][3]->Checked()}),
              std::vector<bool>({true, false, true}));
    EXPECT_EQ(Edit(P::Pfm_SystemMstrTune)->Text(), "+63");
}

TEST_F(FseqSheetTest, SelectorsLoadTheSequencesSettingsIntoTheControlsAndSendOnlyItsNumber)
{
    System().MemoryMode = 1;
    Fseq().FseqBank = 0;
    Fseq().LoopStart = 7;
    Fseq().SpeedVel = 2;
    Refresh();
    form->FseqIntInfo[2] = FseqMemorySlot{40, 120, 1, 6, 1, 70, 9, 120};
    ASSERT_TRUE(page->Pfm_Fseq_FseqInt->UserSelects(2));
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x17, 0, 2)});
    EXPECT_EQ(Fseq().FseqInt, 2);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(Edit(P::Pfm_Fseq_SpeedVel)->Text(), "6");
    EXPECT_EQ(Edit(P::Pfm_Fseq_LevelVel)->Text(), "+6");
    EXPECT_EQ(page->Pfm_Fseq_Pitch->ItemIndex(), 1);
    EXPECT_EQ(page->Pfm_Fseq_LoopMode->ItemIndex(), 1);
    EXPECT_EQ(Edit(P::Pfm_Fseq_StartDelay)->Text(), "9");
    EXPECT_EQ(Edit(P::Pfm_Fseq_StartOffset)->Text(), "0");
    EXPECT_EQ(Edit(P::Pfm_Fseq_LoopStart)->Text(), "40");
    EXPECT_EQ(Bar(P::Pfm_Fseq_LoopEnd)->Max(), 120);
    // Loaded into the controls only: the words keep their values until the person moves one.
    EXPECT_EQ(Fseq().LoopStart, 7);
    EXPECT_EQ(Fseq().SpeedVel, 2);

    // Preset "12: FemRtm": loop 24..124 round, end step 125; the velocities stay as they are.
    Fseq().FseqBank = 1;
    Refresh();
    const std::string speedVel = Edit(P::Pfm_Fseq_SpeedVel)->Text();
    ASSERT_TRUE(page->Pfm_Fseq_FseqPre->UserSelects(11));
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x17, 0, 11)});
    EXPECT_EQ(Edit(P::Pfm_Fseq_LoopStart)->Text(), "24");
    EXPECT_EQ(Edit(P::Pfm_Fseq_LoopEnd)->Text(), "124");
    EXPECT_EQ(page->Pfm_Fseq_LoopMode->ItemIndex(), 1);
    for (P id : {P::Pfm_Fseq_StartOffset, P::Pfm_Fseq_LoopStart, P::Pfm_Fseq_LoopEnd}) {
        EXPECT_EQ(Bar(id)->Max(), 125);
    }
    EXPECT_EQ(Edit(P::Pfm_Fseq_SpeedVel)->Text(), speedVel);
    EXPECT_EQ(Fseq().LoopStart, 7);

    // A stored number outside the lists selects nothing; the bank click then sends the bank alone.
    Fseq().FseqPre = 95;
    Refresh();
    EXPECT_EQ(page->Pfm_Fseq_FseqPre->ItemIndex(), -1);
    ASSERT_TRUE(page->Pfm_Fseq_FseqBank->UserClicks(0));
    ASSERT_TRUE(page->Pfm_Fseq_FseqBank->UserClicks(1));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{Fseq(0x17, 0, 2), Fseq(0x16, 0, 0), Fseq(0x16, 0, 1)}));
    EXPECT_EQ(Fseq().FseqPre, 95);
}

TEST_F(FseqSheetTest, ControllerSetsSendTheirMasksAndFollowTheirDestination)
{
    for (int k : {0, 3}) {
        Set(k) = PfmControlSet{};
        Set(k).Destination = 20;
        Set(k).Depth = 64;
    }
    Refresh();
    // Each of the fourteen source boxes has a bit of its own (each bit's place: FseqSheetReceiveTest).
    for (TCheckBox* box : page->Pfm_Ctrl_ChkSource[0]) ASSERT_TRUE(box->UserClicks());
    EXPECT_EQ(TakeSent().back(), Fseq(0x30, 0x7F, 0x7F));
    EXPECT_EQ(Set(0).SourceSw, (std::array<uint8_t, 14>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    // Set 4 on parts 1 and 3.
    ASSERT_TRUE(page->Pfm_Ctrl_ChkPart[3][0]->UserClicks());
    ASSERT_TRUE(page->Pfm_Ctrl_ChkPart[3][2]->UserClicks());
    TakeSent();

    // "off": no depth, no parts; the depth and the part switches keep what they hold.
    ASSERT_TRUE(page->Pfm_Ctrl_Dest[3]->UserSelects(0));
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x43, 0, 0)});
    EXPECT_FALSE(page->Pair(P::Pfm_Ctrl_Depth4).Enabled());
    EXPECT_FALSE(page->Pfm_Ctrl_ChkPart[3][0]->Enabled());
    EXPECT_TRUE(page->Pfm_Ctrl_ChkPart[3][0]->Checked());
    EXPECT_EQ(Set(3).PartSw, (std::array<uint8_t, 4>{1, 0, 1, 0}));
    // "Ins->Var" (16) has a depth but no parts; "Volume" (17) .. "LFO2 Speed" (45) have parts.
    const std::pair<int, bool> parts[] = {{16, false}, {17, true}, {45, true}, {46, false}, {47, false}};
    for (const auto& [d, on] : parts) {
        ASSERT_TRUE(page->Pfm_Ctrl_Dest[3]->UserSelects(d));
        EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x43, 0, uint8_t(d))});
        EXPECT_TRUE(page->Pair(P::Pfm_Ctrl_Depth4).Enabled()) << d;
        EXPECT_EQ(page->Pfm_Ctrl_ChkPart[3][3]->Enabled(), on) << d;
    }
    ASSERT_TRUE(Bar(P::Pfm_Ctrl_Depth4)->UserScrollsTo(0));
    EXPECT_EQ(Edit(P::Pfm_Ctrl_Depth4)->Text(), "-64");
    EXPECT_EQ(TakeSent(), std::vector<Message>{Fseq(0x4B, 0, 0)});
}

TEST_F(FseqSheetTest, DefaultAssignsTheFirstControllersAndSendsTheWholeSystemBlockOnce)
{
    auto& lists = page->Pfm_Cntl_Assign;
    ASSERT_TRUE(lists[4]->UserSelects(78));
    TakeSent();
    form->DataChanged = 0;
    ASSERT_TRUE(page->Pfm_Cntl_AssignDefaultBtn->UserClicks());
    // The system block, once (its bytes: the control record in tests/pages).
    EXPECT_EQ(TakeSent().size(), 1u);
    EXPECT_EQ(lists[0]->Text(), "16:Generl1");
    EXPECT_EQ(lists[4]->ItemIndex(), 19);
    EXPECT_EQ(System().ControllerAssign[4], 19);
    EXPECT_EQ(form->DataChanged, 1);
}

TEST_F(FseqSheetTest, ProgramChangeOffDisablesBankSelectWithoutTouchingIt)
{
    System().RcvPgmChange = 0;
    System().RcvBankSelect = 1;
    Refresh();
    EXPECT_FALSE(page->Pfm_SystemRcvBankSelect->Enabled());
    ASSERT_TRUE(page->Pfm_SystemRcvPgmChange->UserClicks(1));
    EXPECT_TRUE(page->Pfm_SystemRcvBankSelect->Enabled());
    ASSERT_TRUE(page->Pfm_SystemRcvPgmChange->UserClicks(0));
    EXPECT_FALSE(page->Pfm_SystemRcvBankSelect->Enabled());
    EXPECT_EQ(TakeSent(),
              (std::vector<Message>{ParameterChange(0x00, 0, 0x13, 0, 1), ParameterChange(0x00, 0, 0x13, 0, 0)}));
    EXPECT_EQ(System().RcvBankSelect, 1);
    EXPECT_EQ(page->Pfm_SystemRcvBankSelect->ItemIndex(), 1);
    // The program mode leaves it alone.
    ASSERT_TRUE(page->Pfm_SystemRcvPgmMode->UserClicks(1));
    EXPECT_FALSE(page->Pfm_SystemRcvBankSelect->Enabled());
}

} // namespace
