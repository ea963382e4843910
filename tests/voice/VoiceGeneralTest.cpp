// The "General" group and the filter's part switch, driven as a person drives them: the algorithm
// box, its keys and up-down with the picture and the attenuation reset; the part switch with the
// note-reserve messages and their pauses; the operator mutes.
#include "tests/support/VoicePageFixture.h"

#include <initializer_list>

namespace {

const TBitmap& Shown(const TImage* image) { return image->Picture.Bitmap(); }

} // namespace

TEST_F(VoicePageTest, AlgorithmBoxBringsTheTextIntoRangeStoresSendsAndShowsThePicture)
{
    TEdit* box = page->Vc_AlgorithmEdit;
    ASSERT_TRUE(box->UserSetsText("37"));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x2C, 36)});
    EXPECT_EQ(Common().Algorithm, 37);
    EXPECT_EQ(page->Vc_AlgorithmUpDown->Position(), 37);
    EXPECT_EQ(Shown(page->Vc_AlgorithmImage).Data(), form->AlgorithmPictures[36]->Data());

    // "0" becomes "1", "99" becomes "88", selected; the corrected value is stored and sent (the
    // rewrite runs the handler again, so the message goes twice).
    ASSERT_TRUE(box->UserSetsText("0"));
    EXPECT_EQ(box->Text(), "1");
    EXPECT_EQ(box->SelLength(), 1);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x2C, 0x00), Change(0x40, 0, 0x2C, 0x00)}));
    EXPECT_EQ(Common().Algorithm, 1);
    ASSERT_TRUE(box->UserSetsText("99"));
    EXPECT_EQ(box->Text(), "88");
    EXPECT_EQ(box->SelLength(), 2);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x2C, 0x57), Change(0x40, 0, 0x2C, 0x57)}));
    EXPECT_EQ(Shown(page->Vc_AlgorithmImage).Data(), form->AlgorithmPictures[87]->Data());
    for (const char* typed : {"4x", ""}) {
        ASSERT_TRUE(box->UserSetsText(typed));
        EXPECT_EQ(box->Text(), "1") << typed;
    }
    EXPECT_EQ(Common().Algorithm, 1);

    // The keys work on the number; the change handler clamps.
    const struct {
        const char* From;
        uint16_t Key;
        int To;
    } keys[] = {{"7", VK_NEXT, 1},   {"85", VK_PRIOR, 88}, {"1", VK_DOWN, 1},  {"20", VK_UP, 21},
                {"30", VK_NEXT, 20}, {"60", VK_PRIOR, 70}, {"43", VK_DOWN, 42}};
    for (const auto& k : keys) {
        ASSERT_TRUE(box->UserSetsText(k.From));
        TakeSent();
        ASSERT_TRUE(box->KeyDown(k.Key));
        EXPECT_EQ(box->Text(), std::to_string(k.To)) << k.From;
        EXPECT_EQ(Common().Algorithm, k.To) << k.From;
        const auto sent = TakeSent();
        ASSERT_FALSE(sent.empty()) << k.From;
        EXPECT_EQ(sent.back(), Change(0x40, 0, 0x2C, uint8_t(k.To - 1))) << k.From;
    }

    // The up-down steps from what the box shows and gives the box the focus.
    ASSERT_TRUE(box->UserSetsText("50"));
    ASSERT_TRUE(page->Edit(VcPair::Vc_Feedback)->UserFocuses());
    TakeSent();
    ASSERT_TRUE(page->Vc_AlgorithmUpDown->UserClicks(btNext));
    EXPECT_EQ(box->Text(), "51");
    EXPECT_TRUE(box->Focused());
    ASSERT_TRUE(page->Vc_AlgorithmUpDown->UserClicks(btPrev));
    ASSERT_TRUE(page->Vc_AlgorithmUpDown->UserClicks(btPrev));
    EXPECT_EQ(TakeSent(),
              (std::vector<Bytes>{Change(0x40, 0, 0x2C, 50), Change(0x40, 0, 0x2C, 49), Change(0x40, 0, 0x2C, 48)}));
    EXPECT_EQ(Common().Algorithm, 49);
    EXPECT_EQ(Shown(page->Vc_AlgorithmImage).Data(), form->AlgorithmPictures[48]->Data());

    // On another voice tab the box edits that voice.
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(3));
    ASSERT_TRUE(box->UserSetsText("12"));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x43, 0, 0x2C, 11)});
    EXPECT_EQ(Common(3).Algorithm, 12);
    EXPECT_EQ(Common(0).Algorithm, 49);
}

TEST_F(VoicePageTest, AlgorithmChangeResetsEveryAttenuationAndItsEnables)
{
    // Algorithm 2: operators 4..8 sound, operators 1..3 only modulate.
    for (VoicedOperator& o : Voice().VoicedOperators) o.OPAtt = 5;
    Voice(1).VoicedOperators[0].OPAtt = 7;
    Common().Algorithm = 1;
    Refresh();
    EXPECT_TRUE(page->Bar(VcPair::Vc_VOpOPAtt)->Enabled());
    EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), "-7.5");

    ASSERT_TRUE(page->Vc_AlgorithmEdit->UserSetsText("2"));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x2C, 1)}); // no attenuation message
    for (const VoicedOperator& o : Voice().VoicedOperators) EXPECT_EQ(o.OPAtt, 0);
    EXPECT_EQ(Voice(1).VoicedOperators[0].OPAtt, 7);
    EXPECT_EQ(page->Bar(VcPair::Vc_VOpOPAtt)->Position(), 0);
    EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), "-0.0");
    EXPECT_FALSE(page->Bar(VcPair::Vc_VOpOPAtt)->Enabled());
    EXPECT_FALSE(page->Edit(VcPair::Vc_VOpOPAtt)->Enabled());
    EXPECT_FALSE(page->Vc_VOpOPAttText2->Enabled());

    ShowOperatorTab(4);
    EXPECT_TRUE(page->Bar(VcPair::Vc_VOpOPAtt)->Enabled());
    EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), "-0.0");
    // On an unvoiced tab the voiced attenuation row is left as it is.
    ShowOperatorTab(9);
    ASSERT_TRUE(page->Vc_AlgorithmEdit->UserSetsText("1"));
    EXPECT_TRUE(page->Bar(VcPair::Vc_VOpOPAtt)->Enabled());
    EXPECT_EQ(form->UpdatingDisplay, 0);
}

TEST_F(VoicePageTest, AlgorithmChangeMarksTheDataChangedEvenBeforeThePageWasShownUnchanged)
{
    // The data was changed on the performance page first, then saved: the voice page was never
    // shown while the data was unchanged.
    page->VoicePageShown = 0;
    form->DataChanged = 0;
    form->CaptionText = "Quillmarven";
    ASSERT_TRUE(page->Vc_AlgorithmEdit->UserSetsText("5"));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x2C, 4)});
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
}

// The voice page's part switch takes the performance's road (the balancing and its pauses:
// tests/performance/FilterSwitchTest.cpp), keeping both words equal.
TEST_F(VoicePageTest, PartSwitchSendsTheBalancedReservesThenItselfAndKeepsBothWordsEqual)
{
    auto& parts = form->ParameterData.PfmParts;
    const int reserves[4] = {4, 10, 6, 2};
    for (size_t p = 0; p < 4; ++p) {
        parts[p].ReserveNote = reserves[p];
        parts[p].FilterSw = Common(int(p)).FilterSw = 0;
    }
    form->PerformancePage->Pfm_PartTab->SetTabIndex(2);
    const TParameterData before = form->ParameterData;
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterTabSheet);
    TakeSent();
    form->DataChanged = 0;

    // Part 2 on: part 3's 6 notes are cut to the filter-off share of 5; the others fit theirs.
    ASSERT_TRUE(page->Vc_FilterPartSw->UserClicks(1));
    EXPECT_EQ(TakeSent(),
              (std::vector<Bytes>{Change(0x30, 0, 0x00, 4), Change(0x31, 0, 0x00, 10), Change(0x32, 0, 0x00, 5),
                                  Change(0x33, 0, 0x00, 2), Change(0x31, 0, 0x07, 1)}));
    EXPECT_EQ(Application->Headless().Sleeps, (std::vector<unsigned>{25, 25, 25, 25}));
    EXPECT_EQ(parts[1].FilterSw, 1);
    EXPECT_EQ(Common(1).FilterSw, 1);
    EXPECT_EQ(parts[2].ReserveNote, 5);
    EXPECT_EQ(parts[2].ReserveNoteMax, 10); // 16 less parts 1 and 4
    EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteBar->Position(), 5);
    EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteBar->Max(), 10);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->UpdatingDisplay, 0);
    for (size_t v : {0u, 2u, 3u}) EXPECT_TRUE(Same(form->ParameterData.VoiceRecords[v], before.VoiceRecords[v])) << v;
    for (size_t p : {0u, 2u, 3u}) EXPECT_EQ(parts[p].FilterSw, 0) << p;
}

// Off, a reserve the new limit lowers changes in the data only: the voice page sends no reserve.
TEST_F(VoicePageTest, PartSwitchOffLowersAReserveInTheDataOnly)
{
    // Parts 1 and 2 filter on, 3 and 4 off, eight notes each: part 2 off joins parts 3 and 4,
    // which already hold the sixteen notes of their group.
    auto& parts = form->ParameterData.PfmParts;
    for (size_t p = 0; p < 4; ++p) {
        parts[p].ReserveNote = 8;
        parts[p].FilterSw = Common(int(p)).FilterSw = p < 2 ? 1 : 0;
    }
    form->PerformancePage->Pfm_PartTab->SetTabIndex(1);
    form->UpdateNoteReserveLimits();
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterTabSheet);
    EXPECT_EQ(page->Vc_FilterPartSw->ItemIndex(), 1);
    TakeSent();
    ASSERT_TRUE(page->Vc_FilterPartSw->UserClicks(0));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x31, 0, 0x07, 0)});
    EXPECT_EQ(parts[1].ReserveNote, 0);
    EXPECT_EQ(parts[1].ReserveNoteMax, 0);
    EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteBar->Position(), 0);
    EXPECT_EQ(parts[0].ReserveNote, 8);
}

// (What each mute button sends on the loaded voices: the control record of tests/pages.)
TEST_F(VoicePageTest, MuteSendsTheSwitchMaskAndLevelShowsThemOffAndStoresNothing)
{
    // Voiced operators 1..8 with their switches on, off, on, on, off, off, on, on.
    const int switches[8] = {1, 0, 1, 1, 0, 0, 1, 1};
    for (size_t k = 0; k < 8; ++k) {
        VOp(int(k)).FseqSw = switches[k];
        VOp(int(k)).OutputLvl = 60 + int(k);
    }
    Voice().UnvoicedOperators[1].FseqSw = 1;
    ShowOperatorTab(2);
    const VoiceRecord before = Voice();
    form->DataChanged = 0;
    form->CaptionText = "Quillmarven";
    TakeSent();

    auto expectShown = [&](bool muted) {
        EXPECT_EQ(page->Vc_VOpFseqSw->ItemIndex(), muted ? 0 : 1);
        EXPECT_EQ(page->Edit(VcPair::Vc_VOpOutputLvl)->Text(), muted ? "0" : "62");
        for (TControl* c : std::initializer_list<TControl*>{page->Vc_VOpFseqSw, page->Bar(VcPair::Vc_VOpOutputLvl),
                                                            page->Bar(VcPair::Vc_VOpFseqTrk)})
            EXPECT_EQ(c->Enabled(), !muted) << c->Name;
    };
    ASSERT_TRUE(page->Vc_OpMute_VOp[2]->UserClicks());
    EXPECT_TRUE(page->Vc_OpMute_VOp[2]->Down());
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x29, 0x49), Change(0x60, 2, 0x16, 0)}));
    EXPECT_EQ(form->OperatorMute.Voiced[0][2], 1);
    expectShown(true);
    // Shown again, the muted operator looks the same.
    ShowOperatorTab(3);
    ShowOperatorTab(2);
    expectShown(true);
    ASSERT_TRUE(page->Vc_OpMute_VOp[2]->UserClicks());
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x29, 0x4D), Change(0x60, 2, 0x16, 62)}));
    expectShown(false);
    // A mute off the screen leaves the page alone.
    ASSERT_TRUE(page->Vc_OpMute_VOp[7]->UserClicks());
    expectShown(false);

    // An unvoiced operator's mute hides its track label.
    ShowOperatorTab(9);
    EXPECT_TRUE(page->Vc_UOpFseqTrkText->Visible());
    ASSERT_TRUE(page->Vc_OpMute_UOp[1]->UserClicks());
    EXPECT_FALSE(page->Vc_UOpFseqTrkText->Visible());
    EXPECT_FALSE(page->Vc_UOpFseqSw->Enabled());
    EXPECT_EQ(page->Edit(VcPair::Vc_UOpOutputLvl)->Text(), "0");

    // The words, the changed flag and the caption stay as they were; the other voice has its own
    // buttons.
    EXPECT_TRUE(Same(Voice(), before));
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->Caption(), "Quillmarven");
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(2));
    EXPECT_FALSE(page->Vc_OpMute_UOp[1]->Down());
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(0));
    EXPECT_TRUE(page->Vc_OpMute_UOp[1]->Down());
    EXPECT_FALSE(page->Vc_UOpFseqSw->Enabled());
}

// Each row's "All" button mutes its own row unless all of it is muted, then releases it, whatever
// the other row holds: the unvoiced row is muted while the voiced one is all muted, and released
// while none of the voiced one is; the voiced row is muted while the unvoiced one is all muted.
TEST_F(VoicePageTest, EachRowsAllButtonDecidesByItsOwnRow)
{
    for (int k = 0; k < 8; ++k) {
        Voice().UnvoicedOperators[size_t(k)].FseqSw = 1;
        Voice().UnvoicedOperators[size_t(k)].OutputLvl = 40 + k;
    }
    // What the unvoiced operators 1..8 send, one by one, as they are muted or released in turn:
    // the switch byte of operators 1..7 (a bit each, on while not muted) or of operator 8, then
    // the output level.
    auto unvoicedSends = [](bool muted) {
        std::vector<Bytes> sent;
        for (int k = 0; k < 8; ++k) {
            const int stillOn = muted ? 0x7F & ~((2 << k) - 1) : (2 << k) - 1;
            sent.push_back(k < 7 ? Change(0x40, 0, 0x2B, uint8_t(stillOn)) : Change(0x40, 0, 0x2A, muted ? 0 : 1));
            sent.push_back(Change(0x60, uint8_t(k), 0x2E, uint8_t(muted ? 0 : 40 + k)));
        }
        return sent;
    };
    auto expectRow = [&](const std::array<TSpeedButton*, 8>& row, bool down, const char* what) {
        for (TSpeedButton* b : row) EXPECT_EQ(b->Down(), down) << what << ": " << b->Name;
    };

    ASSERT_TRUE(page->V_OPAllMuteButton->UserClicks());
    expectRow(page->Vc_OpMute_VOp, true, "voiced all muted");
    TakeSent();
    ASSERT_TRUE(page->U_OPAllMuteButton->UserClicks());
    expectRow(page->Vc_OpMute_UOp, true, "unvoiced all muted");
    expectRow(page->Vc_OpMute_VOp, true, "voiced as it was");
    EXPECT_EQ(TakeSent(), unvoicedSends(true));
    for (int k = 0; k < 8; ++k) EXPECT_EQ(form->OperatorMute.Unvoiced[0][size_t(k)], 1) << k;

    ASSERT_TRUE(page->V_OPAllMuteButton->UserClicks());
    expectRow(page->Vc_OpMute_VOp, false, "voiced all released");
    TakeSent();
    ASSERT_TRUE(page->U_OPAllMuteButton->UserClicks());
    expectRow(page->Vc_OpMute_UOp, false, "unvoiced all released");
    EXPECT_EQ(TakeSent(), unvoicedSends(false));

    // The voiced row likewise: muted while the unvoiced one is all muted.
    ASSERT_TRUE(page->U_OPAllMuteButton->UserClicks());
    ASSERT_TRUE(page->V_OPAllMuteButton->UserClicks());
    expectRow(page->Vc_OpMute_VOp, true, "voiced all muted beside the unvoiced");
    for (int k = 0; k < 8; ++k) EXPECT_EQ(form->OperatorMute.Voiced[0][size_t(k)], 1) << k;
}
