// The voice common part: the value-pair family on real boxes of the page, the name, category and
// LFOs, and the voice common display with the refresh rules.
#include "tests/support/VoicePageFixture.h"

#include <cstring>

// What a value box makes of typed text, kind by kind: where the slider goes and what the box
// shows then; a slider that moves sends one message. (The bytes of each: the slider record of
// tests/pages.)
TEST_F(VoicePageTest, TypedTextMovesTheSliderWithinItsRange)
{
    using P = VcPair;
    TTabSheet* lfo = page->Vc_LFOTabSheet;
    TTabSheet* filter = page->Vc_FilterTabSheet;
    TTabSheet* eg = page->Vc_FilterEGTabSheet;
    const struct {
        TTabSheet* Sheet;
        P Id;
        const char* Typed;
        int Position;
        const char* Shown;
    } steps[] = {
        {lfo, P::Vc_LFO1Speed, "7", 7, "7"},
        {lfo, P::Vc_LFO1Speed, "", 0, "0"},
        {lfo, P::Vc_LFO1Speed, "", 0, "0"},
        {lfo, P::Vc_LFO2Speed, "200", 127, "127"},
        {lfo, P::Vc_Feedback, "9", 7, "7"},
        {eg, P::Vc_FilterEGTime2, "5", 94, "5"},
        {eg, P::Vc_FilterEGTime2, "", 99, "0"},
        {lfo, P::Vc_NoteShift, "5", 29, "+5"},
        {lfo, P::Vc_NoteShift, "-30", 0, "-24"},
        {lfo, P::Vc_NoteShift, "", 24, "+0"},
        {filter, P::Vc_FilterResoVelSns, "+9", 14, "+7"},
        {filter, P::Vc_FilterResoVelSns, "-9", 0, "-7"},
        {eg, P::Vc_FilterEGLv1, "+60", 0, "+50"},
        {eg, P::Vc_FilterEGLv1, "-60", 100, "-50"},
        {eg, P::Vc_FilterEGLv1, "20", 30, "+20"},
        {eg, P::Vc_FilterEGLv1, "20", 30, "+20"},
        {eg, P::Vc_FilterEGLv1, "", 50, "+0"},
    };
    for (const auto& s : steps) {
        page->Vc_CommonPageControl->SetActivePage(s.Sheet);
        TEdit* box = page->Edit(s.Id);
        const int before = page->Bar(s.Id)->Position();
        TakeSent();
        ASSERT_TRUE(box->UserSetsText(s.Typed)) << box->Name << " " << s.Typed;
        EXPECT_EQ(page->Bar(s.Id)->Position(), s.Position) << box->Name << " " << s.Typed;
        EXPECT_EQ(box->Text(), s.Shown) << box->Name << " " << s.Typed;
        EXPECT_EQ(TakeSent().size(), before == s.Position ? 0u : 1u) << box->Name << " " << s.Typed;
    }
    EXPECT_EQ(Common().FilterEGTime2, 99);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
}

TEST_F(VoicePageTest, BadCharactersAreUndoneAndAnEmptyBoxIsSelected)
{
    // "7a": the letter is undone from the slider, the caret stays after the old text, nothing goes out.
    TEdit* box = page->Edit(VcPair::Vc_LFO1Speed);
    ASSERT_TRUE(box->UserSetsText("7"));
    box->UserSelects(1);
    TakeSent();
    ASSERT_TRUE(box->UserTypes("a"));
    EXPECT_EQ(box->Text(), "7");
    EXPECT_EQ(box->SelStart(), 1);
    EXPECT_TRUE(TakeSent().empty());
    ASSERT_TRUE(box->UserSetsText(""));
    EXPECT_EQ(box->SelStart(), 0);
    EXPECT_EQ(box->SelLength(), 1);

    // A signed box: a lone sign waits, and leaving the box puts the slider's value back, sending
    // nothing; a sign after a digit is undone, the restored text selected for the next keys; an
    // emptied box shows the centre selected.
    TEdit* shift = page->Edit(VcPair::Vc_NoteShift);
    ASSERT_TRUE(shift->UserSetsText("-12"));
    TakeSent();
    ASSERT_TRUE(shift->UserSetsText("+"));
    EXPECT_EQ(shift->Text(), "+");
    ASSERT_TRUE(page->Edit(VcPair::Vc_LFO1Speed)->UserFocuses());
    EXPECT_EQ(shift->Text(), "-12");
    ASSERT_TRUE(shift->UserSetsText("3-"));
    EXPECT_EQ(shift->Text(), "-12");
    EXPECT_EQ(shift->SelStart(), 0);
    EXPECT_EQ(shift->SelLength(), 2);
    EXPECT_TRUE(TakeSent().empty());
    ASSERT_TRUE(shift->UserSetsText(""));
    EXPECT_EQ(shift->SelStart(), 0);
    EXPECT_EQ(shift->SelLength(), 2);

    // The slider itself stores, shows, sends and marks; the box gets the focus.
    ASSERT_TRUE(page->Bar(VcPair::Vc_LFO1Delay)->UserScrollsTo(40));
    EXPECT_EQ(page->Edit(VcPair::Vc_LFO1Delay)->Text(), "40");
    EXPECT_TRUE(page->Edit(VcPair::Vc_LFO1Delay)->Focused());
    EXPECT_EQ(Common().LFO1Delay, 40);
    EXPECT_EQ(TakeSent().back(), Change(0x40, 0, 0x12, 40));
}

// Note shift steps by 4 on the page keys; a vertical envelope slider runs the other way and
// stops at its end. (Keys 10/1 and the top end: tests/performance/PairTest.cpp.)
TEST_F(VoicePageTest, KeysStepTheSliderByTheRowsStepAndStopAtItsEnds)
{
    ASSERT_TRUE(page->Edit(VcPair::Vc_NoteShift)->KeyDown(VK_PRIOR));
    EXPECT_EQ(page->Edit(VcPair::Vc_NoteShift)->Text(), "+4");
    Common().FilterEGTime1 = 99; // at the bottom: time 0
    Refresh();
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterEGTabSheet);
    ASSERT_TRUE(page->Edit(VcPair::Vc_FilterEGTime1)->KeyDown(VK_NEXT));
    EXPECT_EQ(page->Bar(VcPair::Vc_FilterEGTime1)->Position(), 99); // already at the bottom: nothing moves
    ASSERT_TRUE(page->Edit(VcPair::Vc_FilterEGTime1)->KeyDown(VK_PRIOR));
    EXPECT_EQ(page->Edit(VcPair::Vc_FilterEGTime1)->Text(), "10");
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x1E, 28), Change(0x40, 0, 0x69, 10)}));
}

// The shown value of the signed and inverted rows at their ends and centres (position : text).
TEST_F(VoicePageTest, SignedRowsShowTheirValueAroundTheirCentre)
{
    struct Row {
        VcPair Id;
        int Position;
        const char* Text;
    };
    using P = VcPair;
    const Row common[] = {
        {P::Vc_FilterInputGain, 0, "-12"},     {P::Vc_FilterInputGain, 12, "+0"}, {P::Vc_FilterInputGain, 24, "+12"},
        {P::Vc_FilterResonance, 116, "+100"},  {P::Vc_FilterResonance, 0, "-16"}, {P::Vc_FilterFreqScaling, 0, "-64"},
        {P::Vc_FilterFreqScaling, 127, "+63"}, {P::Vc_FilterResoVelSns, 0, "-7"}, {P::Vc_FilterResoVelSns, 14, "+7"},
        {P::Vc_FilterEGDepthVelSns, 3, "-4"},  {P::Vc_NoteShift, 48, "+24"},      {P::Vc_NoteShift, 5, "-19"},
        {P::Vc_NoteShift, 0, "-24"},           {P::Vc_Fm3CtlDepth, 1, "-63"},     {P::Vc_FilterEGLv2, 0, "+50"},
        {P::Vc_FilterEGLv1, 50, "+0"},         {P::Vc_PitchEGLv0, 100, "-50"},    {P::Vc_PitchEGLv0, 51, "-1"},
        {P::Vc_PitchEGTime1, 99, "0"},
    };
    const Row operators[] = {
        {P::Vc_VOpTranspose, 0, "-24"},     {P::Vc_VOpDetune, 30, "+15"}, {P::Vc_VOpFseqTrk, 7, "8"},
        {P::Vc_OpEGLv1, 0, "99"},           {P::Vc_OpEGTime2, 99, "0"},   {P::Vc_OpFrqEGInitLvl, 0, "-50"},
        {P::Vc_OpFrqEGAtakLvl, 100, "+50"}, {P::Vc_OpSnsAmpVel, 0, "-7"}, {P::Vc_OpSnsWidthBias, 14, "+7"},
        {P::Vc_VOpOPAtt, 2, "-3.0"},
    };
    auto expectShown = [&](const Row& r) {
        page->Bar(r.Id)->SetPosition(r.Position);
        EXPECT_EQ(page->Edit(r.Id)->Text(), r.Text) << page->Bar(r.Id)->Name << " at " << r.Position;
    };
    for (const Row& r : common) expectShown(r);
    for (const Row& r : operators) expectShown(r);
}

// (The bytes of a name: the control record of tests/pages.)
TEST_F(VoicePageTest, NameSendsTenMessagesPerChangeAndKeepsWhatWasTyped)
{
    ASSERT_TRUE(page->Vc_Name->UserTypes("Bass1"));
    EXPECT_EQ(TakeSent().size(), 50u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Common().Name.data())), "Bass1");

    // A letter beyond 7 bits goes out as a blank but stays in the record and comes back; so does
    // the last Latin-1 letter, y diaeresis (0xFF).
    ASSERT_TRUE(page->Vc_Name->UserSetsText("Caf\xC3\xA9\xC3\xBF"));
    const auto sent = TakeSent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[3], Change(0x40, 0, 3, 0x20));
    EXPECT_EQ(sent[4], Change(0x40, 0, 4, 0x20));
    EXPECT_EQ(sent[5], Change(0x40, 0, 5, 0x20));
    EXPECT_EQ(Common().Name[3], 0xE9);
    EXPECT_EQ(Common().Name[4], 0xFF);
    EXPECT_EQ(Common().Name[5], 0);
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(0));
    EXPECT_EQ(page->Vc_Name->Text(), "Caf\xC3\xA9\xC3\xBF");
    EXPECT_TRUE(TakeSent().empty());
}

// The Tab key walks a control set as laid out, its depth slider included, whose keys then send.
TEST_F(VoicePageTest, TabKeyWalksAControlSetToItsDepthSlider)
{
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FormantTabSheet);
    ASSERT_TRUE(page->Vc_Frmt4Operator->UserSelects(10));
    TakeSent();
    ASSERT_TRUE(form->UserPressesKey(VK_TAB));
    ASSERT_TRUE(form->UserPressesKey(VK_TAB));
    EXPECT_EQ(form->ActiveControl(), page->Bar(VcPair::Vc_Frmt4CtlDepth));
    ASSERT_TRUE(form->UserPressesKey(VK_RIGHT));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x48, 65)});
}

TEST_F(VoicePageTest, DisplayShowsTheRecordWithoutSendingOrMarking)
{
    VoiceCommon& c = Common();
    std::memcpy(c.Name.data(), "Pad\0\0\0\0\0\0\0\0\0", 12);
    c.Category = 12, c.LFO1KeySync = 1, c.FilterEGLv3 = 100, c.Feedback = 6;
    c.LFO1Speed = 150; // beyond the slider: the box still shows the word
    form->OperatorMute.Voiced[0][2] = 1, form->OperatorMute.Unvoiced[0][7] = 1;

    Refresh();
    EXPECT_EQ(page->Vc_Name->Text(), "Pad");
    EXPECT_EQ(page->Vc_Category->ItemIndex(), 12);
    EXPECT_EQ(page->Vc_LFO1KeySync->ItemIndex(), 1);
    EXPECT_EQ(page->Bar(VcPair::Vc_LFO1Speed)->Position(), 99);
    EXPECT_EQ(page->Edit(VcPair::Vc_LFO1Speed)->Text(), "150");
    EXPECT_EQ(page->Edit(VcPair::Vc_FilterEGLv3)->Text(), "-50");
    EXPECT_EQ(page->Edit(VcPair::Vc_Feedback)->Text(), "6");
    EXPECT_TRUE(page->Vc_OpMute_VOp[2]->Down());
    EXPECT_TRUE(page->Vc_OpMute_UOp[7]->Down());
    EXPECT_FALSE(page->Vc_OpMute_VOp[0]->Down());

    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->UpdatingDisplay, 0);
    EXPECT_EQ(c.LFO1Speed, 150);
}

TEST_F(VoicePageTest, AlgorithmOutsideItsRangeIsShownAsTheNearestOne)
{
    for (int word : {0, -5, 200}) {
        Common().Algorithm = word;
        Refresh();
        const int shown = word > 88 ? 88 : 1;
        EXPECT_EQ(page->Vc_AlgorithmEdit->Text(), std::to_string(shown));
        EXPECT_EQ(page->Vc_AlgorithmUpDown->Position(), shown);
        EXPECT_EQ(page->Vc_AlgorithmImage->Picture.Bitmap().Data(), form->AlgorithmPictures[size_t(shown - 1)]->Data());
        EXPECT_EQ(Common().Algorithm, word); // the refresh stores nothing
    }
    // The attenuation row of the shown voiced operator follows the algorithm's table.
    for (int a = 1; a <= 88; ++a) {
        Common().Algorithm = a;
        Refresh();
        EXPECT_EQ(page->Bar(VcPair::Vc_VOpOPAtt)->Enabled(), form->AlgorithmOpAttEnable[size_t(a - 1)][0] != 0) << a;
        EXPECT_EQ(page->Vc_VOpOPAttText2->Enabled(), page->Bar(VcPair::Vc_VOpOPAtt)->Enabled());
    }
}

TEST_F(VoicePageTest, PageShowsTheVoiceItsTabNames)
{
    Common(1).Feedback = 5;
    Common(3).Feedback = 2;
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    EXPECT_EQ(page->Edit(VcPair::Vc_Feedback)->Text(), "5");

    // A refresh for another voice (say after it was initialized) keeps showing the voice of the tab,
    // so the next edit changes what is shown.
    form->RefreshVoicePages(3);
    EXPECT_EQ(page->Vc_VoiceTab->TabIndex(), 1);
    EXPECT_EQ(page->Edit(VcPair::Vc_Feedback)->Text(), "5");
    ASSERT_TRUE(page->Edit(VcPair::Vc_Feedback)->UserSetsText("6"));
    EXPECT_EQ(Common(1).Feedback, 6);
    EXPECT_EQ(Common(3).Feedback, 2);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x41, 0, 0x3D, 6)});

    // Each voice tab keeps its own operator tab.
    ShowOperatorTab(5);
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(0));
    EXPECT_EQ(page->Vc_OperatorTab->TabIndex(), 0);
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    EXPECT_EQ(page->Vc_OperatorTab->TabIndex(), 5);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->UpdatingDisplay, 0);
}
