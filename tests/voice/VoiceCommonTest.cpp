// The voice common part: the value-pair family on real boxes of the page, the name, category and
// LFOs, and the voice common display with the refresh rules.
#include "tests/voice/VoicePageFixture.h"

#include <cstring>

namespace {

std::vector<Bytes> Last(const std::vector<Bytes>& all, size_t n)
{
    return std::vector<Bytes>(all.end() - std::ptrdiff_t(std::min(n, all.size())), all.end());
}

} // namespace

TEST_F(VoicePageTest, UnsignedBoxUndoesBadCharactersAndClearsToZero)
{
    TEdit* box = page->Vc_LFO1SpeedEdit;
    ASSERT_TRUE(box->UserSetsText("7"));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x11, 7)});
    EXPECT_EQ(Common().LFO1Speed, 7);

    // "7a": the letter is undone from the slider, the caret stays after the old text, nothing goes out.
    box->UserSelects(1);
    ASSERT_TRUE(box->UserTypes("a"));
    EXPECT_EQ(box->Text(), "7");
    EXPECT_EQ(box->SelStart(), 1);
    EXPECT_TRUE(TakeSent().empty());

    ASSERT_TRUE(box->UserSetsText(""));
    EXPECT_EQ(box->Text(), "0");
    EXPECT_EQ(box->SelStart(), 0);
    EXPECT_EQ(box->SelLength(), 1);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x11, 0)});
    ASSERT_TRUE(box->UserSetsText(""));
    EXPECT_TRUE(TakeSent().empty());

    // The slider itself stores, shows, sends and marks; the box gets the focus.
    ASSERT_TRUE(page->Vc_LFO1DelayBar->UserScrollsTo(40));
    EXPECT_EQ(page->Vc_LFO1DelayEdit->Text(), "40");
    EXPECT_TRUE(page->Vc_LFO1DelayEdit->Focused());
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x12, 40)});
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
}

TEST_F(VoicePageTest, KeysStepTheSliderAndStopAtItsEnds)
{
    TEdit* box = page->Vc_LFO1FltModDepthEdit;
    ASSERT_TRUE(box->KeyDown(VK_PRIOR));
    ASSERT_TRUE(box->KeyDown(VK_UP));
    EXPECT_EQ(page->Vc_LFO1FltModDepthBar->Position(), 11);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x59, 10), Change(0x40, 0, 0x59, 11)}));
    ASSERT_TRUE(box->KeyDown(VK_NEXT));
    ASSERT_TRUE(box->KeyDown(VK_NEXT));
    ASSERT_TRUE(box->KeyDown(VK_DOWN));
    EXPECT_EQ(page->Vc_LFO1FltModDepthBar->Position(), 0);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x59, 1), Change(0x40, 0, 0x59, 0)}));

    // Note shift steps by 4 on the page keys; a vertical envelope slider runs the other way.
    ASSERT_TRUE(page->Vc_NoteShiftEdit->KeyDown(VK_PRIOR));
    EXPECT_EQ(page->Vc_NoteShiftEdit->Text(), "+4");
    Common().FilterEGTime1 = 99; // at the bottom: time 0
    Refresh();
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterEGTabSheet);
    ASSERT_TRUE(page->Vc_FilterEGTime1Edit->KeyDown(VK_NEXT));
    EXPECT_EQ(page->Vc_FilterEGTime1Bar->Position(), 99); // already at the bottom: nothing moves
    ASSERT_TRUE(page->Vc_FilterEGTime1Edit->KeyDown(VK_PRIOR));
    EXPECT_EQ(page->Vc_FilterEGTime1Edit->Text(), "10");
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x1E, 28), Change(0x40, 0, 0x69, 10)}));
}

TEST_F(VoicePageTest, SignedBoxesClampWaitForDigitsAndRestoreOnExit)
{
    TEdit* shift = page->Vc_NoteShiftEdit;
    ASSERT_TRUE(shift->UserSetsText("5"));
    EXPECT_EQ(page->Vc_NoteShiftBar->Position(), 29);
    EXPECT_EQ(shift->Text(), "+5");
    ASSERT_TRUE(shift->UserSetsText("-30"));
    EXPECT_EQ(page->Vc_NoteShiftBar->Position(), 0);
    EXPECT_EQ(shift->Text(), "-24");
    ASSERT_TRUE(shift->UserSetsText("-12"));
    EXPECT_EQ(TakeSent(),
              (std::vector<Bytes>{Change(0x40, 0, 0x1E, 29), Change(0x40, 0, 0x1E, 0), Change(0x40, 0, 0x1E, 12)}));

    // A lone sign waits; leaving the box puts the slider's value back, and nothing is sent.
    ASSERT_TRUE(shift->UserSetsText("+"));
    EXPECT_EQ(shift->Text(), "+");
    ASSERT_TRUE(page->Vc_LFO1SpeedEdit->UserFocuses());
    EXPECT_EQ(shift->Text(), "-12");
    // A sign after a digit is undone, with the restored text selected for the next keys.
    ASSERT_TRUE(shift->UserSetsText("3-"));
    EXPECT_EQ(shift->Text(), "-12");
    EXPECT_EQ(shift->SelStart(), 0);
    EXPECT_EQ(shift->SelLength(), 2);
    // Emptied: the centre, "+0" selected.
    ASSERT_TRUE(shift->UserSetsText(""));
    EXPECT_EQ(shift->Text(), "+0");
    EXPECT_EQ(shift->SelLength(), 2);
    EXPECT_EQ(page->Vc_NoteShiftBar->Position(), 24);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x1E, 24)});

    // A box of +-7 writes the clamped value back.
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterTabSheet);
    ASSERT_TRUE(page->Vc_FilterResoVelSnsEdit->UserSetsText("+9"));
    EXPECT_EQ(page->Vc_FilterResoVelSnsBar->Position(), 14);
    EXPECT_EQ(page->Vc_FilterResoVelSnsEdit->Text(), "+7");

    // Inverted signed (filter EG level): 50 - typed, clamped at both ends; the same value only
    // rewrites the text.
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterEGTabSheet);
    TEdit* level = page->Vc_FilterEGLv1Edit;
    ASSERT_TRUE(level->UserSetsText("+60"));
    EXPECT_EQ(page->Vc_FilterEGLv1Bar->Position(), 0);
    EXPECT_EQ(level->Text(), "+50");
    ASSERT_TRUE(level->UserSetsText("-60"));
    EXPECT_EQ(page->Vc_FilterEGLv1Bar->Position(), 100);
    ASSERT_TRUE(level->UserSetsText("20"));
    EXPECT_EQ(page->Vc_FilterEGLv1Bar->Position(), 30);
    EXPECT_EQ(level->Text(), "+20");
    TakeSent();
    ASSERT_TRUE(level->UserSetsText("20"));
    EXPECT_EQ(level->Text(), "+20");
    EXPECT_TRUE(TakeSent().empty());
    ASSERT_TRUE(level->UserSetsText(""));
    EXPECT_EQ(page->Vc_FilterEGLv1Bar->Position(), 50);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x66, 50)});
}

// The shown value of the signed rows at their ends and centres (position : text).
TEST_F(VoicePageTest, SignedRowsShowTheirValueAroundTheirCentre)
{
    struct Row {
        TScrollBar* TVoicePage::*Bar;
        TEdit* TVoicePage::*Edit;
        int Position;
        const char* Text;
    };
    const Row rows[] = {
        {&TVoicePage::Vc_FilterInputGainBar, &TVoicePage::Vc_FilterInputGainEdit, 0, "-12"},
        {&TVoicePage::Vc_FilterInputGainBar, &TVoicePage::Vc_FilterInputGainEdit, 12, "+0"},
        {&TVoicePage::Vc_FilterInputGainBar, &TVoicePage::Vc_FilterInputGainEdit, 24, "+12"},
        {&TVoicePage::Vc_FilterResonanceBar, &TVoicePage::Vc_FilterResonanceEdit, 116, "+100"},
        {&TVoicePage::Vc_FilterResonanceBar, &TVoicePage::Vc_FilterResonanceEdit, 0, "-16"},
        {&TVoicePage::Vc_FilterFreqScalingBar, &TVoicePage::Vc_FilterFreqScalingEdit, 0, "-64"},
        {&TVoicePage::Vc_FilterFreqScalingBar, &TVoicePage::Vc_FilterFreqScalingEdit, 127, "+63"},
        {&TVoicePage::Vc_FilterResoVelSnsBar, &TVoicePage::Vc_FilterResoVelSnsEdit, 0, "-7"},
        {&TVoicePage::Vc_FilterResoVelSnsBar, &TVoicePage::Vc_FilterResoVelSnsEdit, 14, "+7"},
        {&TVoicePage::Vc_FilterEGDepthVelSnsBar, &TVoicePage::Vc_FilterEGDepthVelSnsEdit, 3, "-4"},
        {&TVoicePage::Vc_NoteShiftBar, &TVoicePage::Vc_NoteShiftEdit, 48, "+24"},
        {&TVoicePage::Vc_NoteShiftBar, &TVoicePage::Vc_NoteShiftEdit, 5, "-19"},
        {&TVoicePage::Vc_Fm3CtlDepthBar, &TVoicePage::Vc_Fm3CtlDepthEdit, 1, "-63"},
        {&TVoicePage::Vc_FilterEGLv2Bar, &TVoicePage::Vc_FilterEGLv2Edit, 0, "+50"},
        {&TVoicePage::Vc_PitchEGLv0Bar, &TVoicePage::Vc_PitchEGLv0Edit, 100, "-50"},
    };
    for (const Row& r : rows) {
        (page->*r.Bar)->SetPosition(r.Position);
        EXPECT_EQ((page->*r.Edit)->Text(), r.Text) << (page->*r.Bar)->Name << " at " << r.Position;
    }
}

TEST_F(VoicePageTest, CappedBoxesAndTheInvertedTimeBox)
{
    ASSERT_TRUE(page->Vc_LFO2SpeedEdit->UserSetsText("200"));
    EXPECT_EQ(page->Vc_LFO2SpeedBar->Position(), 127);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x19, 0x7F)});

    ASSERT_TRUE(page->Vc_FeedbackEdit->UserSetsText("9"));
    EXPECT_EQ(page->Vc_FeedbackBar->Position(), 7);
    EXPECT_EQ(page->Vc_FeedbackEdit->Text(), "7");
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x40, 0, 0x3D, 7)});

    // A time box shows 99 minus the slider and sends what it shows.
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterEGTabSheet);
    ASSERT_TRUE(page->Vc_FilterEGTime2Edit->UserSetsText("5"));
    EXPECT_EQ(page->Vc_FilterEGTime2Bar->Position(), 94);
    EXPECT_EQ(Common().FilterEGTime2, 94);
    ASSERT_TRUE(page->Vc_FilterEGTime2Edit->UserSetsText(""));
    EXPECT_EQ(page->Vc_FilterEGTime2Bar->Position(), 99);
    EXPECT_EQ(page->Vc_FilterEGTime2Edit->Text(), "0");
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x40, 0, 0x6A, 5), Change(0x40, 0, 0x6A, 0)}));
}

TEST_F(VoicePageTest, NameSendsTenMessagesPerChangeAndKeepsWhatWasTyped)
{
    form->DeviceNumber = 5;
    ASSERT_TRUE(page->Vc_Name->UserSetsText(""));
    auto sent = TakeSent();
    ASSERT_EQ(sent.size(), 10u);
    for (uint8_t k = 0; k < 10; ++k) EXPECT_EQ(sent[k], Change(0x40, 0, k, 0x20, 5));
    EXPECT_EQ(Common().Name[0], 0);

    ASSERT_TRUE(page->Vc_Name->UserTypes("Bass1"));
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 50u);
    const char* expected = "Bass1";
    const auto fifth = Last(sent, 10);
    for (uint8_t k = 0; k < 10; ++k)
        EXPECT_EQ(fifth[k], Change(0x40, 0, k, k < 5 ? uint8_t(expected[k]) : 0x20, 5)) << int(k);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Common().Name.data())), "Bass1");

    // A letter beyond 7 bits goes out as a blank but stays in the record and comes back.
    ASSERT_TRUE(page->Vc_Name->UserSetsText("Caf\xC3\xA9"));
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[3], Change(0x40, 0, 3, 0x20, 5));
    EXPECT_EQ(Common().Name[3], 0xE9);
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(0));
    EXPECT_EQ(page->Vc_Name->Text(), "Caf\xC3\xA9");
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(VoicePageTest, ListsAndButtonsStoreTheIndexForTheShownVoice)
{
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(2));
    ASSERT_TRUE(page->Vc_Category->UserSelects(22));
    ASSERT_TRUE(page->Vc_LFO2Phase->UserClicks(3));
    ASSERT_TRUE(page->Vc_LFO1Waveform->UserSelects(5));
    EXPECT_EQ(TakeSent(),
              (std::vector<Bytes>{Change(0x42, 0, 0x0E, 22), Change(0x42, 0, 0x1C, 3), Change(0x42, 0, 0x10, 5)}));
    EXPECT_EQ(Common(2).Category, 22);
    EXPECT_EQ(Common(2).LFO2Phase, 3);
    EXPECT_EQ(Common(0).Category, 0);

    // A control set sends its destination byte from both of its controls.
    Common(2).Frmt[3].Parameter = 2;
    Refresh();
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FormantTabSheet);
    ASSERT_TRUE(page->Vc_Frmt4Operator->UserSelects(10));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x42, 0, 0x43, 0x2A)});
    EXPECT_EQ(Common(2).Frmt[3].Operator, 10);
    // The Tab key walks the set as laid out, its depth slider included, whose keys then send.
    ASSERT_TRUE(form->UserPressesKey(VK_TAB));
    ASSERT_TRUE(form->UserPressesKey(VK_TAB));
    EXPECT_EQ(form->ActiveControl(), page->Vc_Frmt4CtlDepthBar);
    ASSERT_TRUE(form->UserPressesKey(VK_RIGHT));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x42, 0, 0x48, 65)});
}

TEST_F(VoicePageTest, DisplayShowsTheRecordWithoutSendingOrMarking)
{
    VoiceCommon& c = Common();
    std::memcpy(c.Name.data(), "Pad\0\0\0\0\0\0\0\0\0", 12);
    c.Category = 12, c.LFO1KeySync = 1;
    c.LFO1Speed = 150; // beyond the slider: the box still shows the word
    c.FilterResonance = 0, c.FilterEGLv1 = 50, c.FilterEGLv2 = 0, c.FilterEGLv3 = 100, c.PitchEGTime1 = 99;
    c.PitchEGLv0 = 51, c.Fm[4].CtlDepth = 127, c.NoteShift = 0, c.Feedback = 6;
    form->OperatorMute.Voiced[0][2] = 1, form->OperatorMute.Unvoiced[0][7] = 1;

    Refresh();
    EXPECT_EQ(page->Vc_Name->Text(), "Pad");
    EXPECT_EQ(page->Vc_Category->ItemIndex(), 12);
    EXPECT_EQ(page->Vc_LFO1KeySync->ItemIndex(), 1);
    EXPECT_EQ(page->Vc_LFO1SpeedBar->Position(), 99);
    EXPECT_EQ(page->Vc_LFO1SpeedEdit->Text(), "150");
    EXPECT_EQ(page->Vc_FilterResonanceEdit->Text(), "-16");
    EXPECT_EQ(page->Vc_FilterEGLv1Edit->Text(), "+0");
    EXPECT_EQ(page->Vc_FilterEGLv2Edit->Text(), "+50");
    EXPECT_EQ(page->Vc_FilterEGLv3Edit->Text(), "-50");
    EXPECT_EQ(page->Vc_PitchEGTime1Edit->Text(), "0");
    EXPECT_EQ(page->Vc_PitchEGLv0Edit->Text(), "-1");
    EXPECT_EQ(page->Vc_Fm5CtlDepthEdit->Text(), "+63");
    EXPECT_EQ(page->Vc_NoteShiftEdit->Text(), "-24");
    EXPECT_EQ(page->Vc_FeedbackEdit->Text(), "6");
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
        EXPECT_EQ(page->Vc_VOpOPAttBar->Enabled(), form->AlgorithmOpAttEnable[size_t(a - 1)][0] != 0) << a;
        EXPECT_EQ(page->Vc_VOpOPAttText2->Enabled(), page->Vc_VOpOPAttBar->Enabled());
    }
}

TEST_F(VoicePageTest, PageShowsTheVoiceItsTabNames)
{
    Common(1).Feedback = 5;
    Common(3).Feedback = 2;
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    EXPECT_EQ(page->Vc_FeedbackEdit->Text(), "5");

    // A refresh for another voice (say after it was initialized) keeps showing the voice of the tab,
    // so the next edit changes what is shown.
    form->RefreshVoicePages(3);
    EXPECT_EQ(page->Vc_VoiceTab->TabIndex(), 1);
    EXPECT_EQ(page->Vc_FeedbackEdit->Text(), "5");
    ASSERT_TRUE(page->Vc_FeedbackEdit->UserSetsText("6"));
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
