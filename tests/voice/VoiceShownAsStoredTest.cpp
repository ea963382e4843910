// After a receive, a file opened or an initialize, the algorithm box, the part switch, the mute
// buttons and the unvoiced oscillator show what the edit buffer holds, and an edit afterwards
// leaves the editor and the instrument alike.
#include "tests/support/VoicePageFixture.h"

namespace {

// Payload positions of a voice dump: the common block, then operator k's block.
constexpr std::size_t OperatorAt(int k) { return 0x70 + 0x3E * std::size_t(k); }

class VoiceShownAsStoredTest : public VoicePageTest {
protected:
    VoiceShownAsStoredTest() : VoicePageTest(Ports::Instrument) {}
    void SetUp() override
    {
        VoicePageTest::SetUp();
        Answers = nullptr;
    }
    // The algorithm box, its up-down and its picture show algorithm `a`.
    void ExpectAlgorithm(int a)
    {
        EXPECT_EQ(page->Vc_AlgorithmEdit->Text(), std::to_string(a));
        EXPECT_EQ(page->Vc_AlgorithmUpDown->Position(), a);
        EXPECT_EQ(page->Vc_AlgorithmImage->Picture.Bitmap().Data(), form->AlgorithmPictures[size_t(a - 1)]->Data());
    }
    // The unvoiced oscillator shows operator tab t's switch, mode and frequency.
    void ExpectUnvoiced(int t, int fseq, int mode, int coarse, const char* text)
    {
        ShowOperatorTab(t);
        EXPECT_EQ(page->Vc_UOpFseqSw->ItemIndex(), fseq) << t;
        EXPECT_EQ(page->Vc_UOpFreqMode->ItemIndex(), mode) << t;
        EXPECT_EQ(page->Vc_UOpFreqCoarseBar->Position(), coarse) << t;
        EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Text(), text) << t;
    }
};

} // namespace

TEST_F(VoiceShownAsStoredTest, ReceivedVoiceIsShownAndAControlSetEditKeepsBothSidesAlike)
{
    ASSERT_TRUE(page->Vc_OpMute_UOp[5]->UserClicks());
    TakeSent();
    // The instrument's voice: the editor's, but for these bytes.
    auto& dump = instrument.Voices[0];
    const Bytes own = Body(Built(0));
    std::copy(own.begin(), own.end(), dump.begin());
    dump[0x2C] = 40;                 // algorithm 41
    dump[0x2B] = 0x05;               // unvoiced operators 1 and 3 on
    dump[0x40] = 0x53;               // formant set 1: parameter 5, which no button shows, on voiced operator 4
    dump[OperatorAt(1) + 0x24] = 21; // unvoiced operator 2: normal, coarse 21, fine 0
    dump[OperatorAt(1) + 0x25] = 0;
    dump[OperatorAt(2) + 0x24] = 0x20 + 16; // unvoiced operator 3: LinkF0, coarse 16, fine 0
    dump[OperatorAt(2) + 0x25] = 0;
    dump[OperatorAt(5) + 0x05] |= 0x40; // voiced operator 6: fixed, coarse 25 past the table, fine 0
    dump[OperatorAt(5) + 0x01] = 25;
    dump[OperatorAt(5) + 0x02] = 0;

    ASSERT_TRUE(page->Vc_GetDataBtn->UserClicks());
    Advance(4000);
    ASSERT_TRUE(Messages().empty());
    ASSERT_FALSE(form->TransferRunning());
    EXPECT_EQ(Voice(0).VoiceCommon.Algorithm, 41);
    ExpectAlgorithm(41);
    EXPECT_TRUE(page->Vc_OpMute_UOp[5]->Down()); // a receive leaves the mutes
    ExpectUnvoiced(9, 0, 0, 21, "14088");
    ExpectUnvoiced(10, 1, 1, 16, "440.2");
    EXPECT_TRUE(page->Vc_UOpFseqTrkText->Visible());
    ShowOperatorTab(5); // shown at the table's end, stored as it came (the dump below)
    EXPECT_EQ(page->Vc_VOpFreqCoarseBar->Position(), 21);
    EXPECT_EQ(page->Vc_VOpFreqCoarseEdit->Text(), "14088");

    // The set shows its parameter as the last button; choosing an operator sends the byte both
    // controls make, and the record takes it whole.
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FormantTabSheet);
    EXPECT_EQ(page->Vc_Frmt1Parameter->ItemIndex(), 3);
    EXPECT_EQ(page->Vc_Frmt1Operator->ItemIndex(), 3);
    TakeSent();
    ASSERT_TRUE(page->Vc_Frmt1Operator->UserSelects(10));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{{0xF0, 0x43, 0x10, 0x5E, 0x40, 0x00, 0x40, 0x00, 0x3A, 0xF7}}));
    EXPECT_EQ(Voice(0).VoiceCommon.Frmt[0].Operator, 10);
    EXPECT_EQ(Voice(0).VoiceCommon.Frmt[0].Parameter, 3);
    EXPECT_EQ(dump[0x40], 0x3A);
    EXPECT_EQ(Body(Built(0)), Bytes(dump.begin(), dump.end()));
}

TEST_F(VoiceShownAsStoredTest, OpenedFileIsShownWithItsSwitchAlgorithmAndLinkedFrequency)
{
    TParameterData data = form->ParameterData;
    VoiceRecord& voice = data.VoiceRecords[1];
    voice.VoiceCommon.Algorithm = 77, voice.VoiceCommon.FilterSw = data.PfmParts[1].FilterSw = 1;
    voice.VoicedOperators[4].Form = 7, voice.VoicedOperators[4].FreqMode = 1;
    voice.VoicedOperators[4].FreqCoarse = 16, voice.VoicedOperators[4].FreqFine = 0;
    voice.UnvoicedOperators[4].FreqMode = 2, voice.UnvoicedOperators[4].FreqCoarse = 3;
    voice.UnvoicedOperators[4].FseqSw = 1;
    OpenFile(WriteFile("linked.fse", SaveFileImage(data)));
    Advance(20000); // the file goes to the instrument whole
    ASSERT_TRUE(Messages().empty());
    ASSERT_FALSE(form->TransferRunning());

    ASSERT_EQ(form->FS1R_PageControl->ActivePage(), form->Vc_TabSheet);
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    ExpectAlgorithm(77);
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterTabSheet);
    EXPECT_EQ(page->Vc_FilterPartSw->ItemIndex(), 1);
    ExpectUnvoiced(12, 1, 2, 16, "440.2");
    EXPECT_EQ(page->Vc_UOpFreqCoarseEdit->Left(), 194);
    EXPECT_FALSE(page->Vc_UOpFreqCoarseBar->Enabled());

    // Back to normal: the operator's own coarse value, sent with the mode.
    TakeSent();
    ASSERT_TRUE(page->Vc_UOpFreqMode->UserClicks(0));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{{0xF0, 0x43, 0x10, 0x5E, 0x61, 0x04, 0x24, 0x00, 0x03, 0xF7}}));
    EXPECT_EQ(page->Vc_UOpFreqCoarseBar->Position(), 3);
}

TEST_F(VoiceShownAsStoredTest, InitializedVoiceIsShownWithItsMutesReleased)
{
    Voice(0).VoiceCommon.Algorithm = 50;
    Voice(0).UnvoicedOperators[0].FreqMode = 1;
    form->RefreshVoicePages(0);
    ASSERT_TRUE(page->Vc_OpMute_VOp[3]->UserClicks());
    ASSERT_TRUE(page->Vc_OpMute_UOp[0]->UserClicks());
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(2));
    ASSERT_TRUE(page->Vc_OpMute_VOp[1]->UserClicks());
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(0));

    Click("InitVc1");
    const VoiceRecord& v = Voice(0);
    ExpectAlgorithm(v.VoiceCommon.Algorithm);
    for (TSpeedButton* b : page->Vc_OpMute_VOp) EXPECT_FALSE(b->Down()) << b->Name;
    for (TSpeedButton* b : page->Vc_OpMute_UOp) EXPECT_FALSE(b->Down()) << b->Name;
    // The voice initialized is the one shown: its unvoiced operator in normal mode at 110.0 Hz.
    ExpectUnvoiced(8, v.UnvoicedOperators[0].FseqSw, 0, 14, "110.0");
    EXPECT_TRUE(page->Vc_UOpFreqCoarseBar->Enabled());
    // The other voice keeps its mute.
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(2));
    EXPECT_TRUE(page->Vc_OpMute_VOp[1]->Down());
}

TEST_F(VoiceShownAsStoredTest, ReceivedOrInitializedPerformanceShowsItsFilterSwitchOnTheVoicePage)
{
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterTabSheet);
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    const Bytes own = Body(Built(DumpPerformance));
    std::copy(own.begin(), own.end(), instrument.Performance.begin());
    instrument.Performance[0xC0 + 0x34 + 0x07] = 1; // part 2's filter on
    TakeSent();
    Click("DataRcvPfm");
    Advance(2000);
    ASSERT_TRUE(Messages().empty());
    EXPECT_EQ(page->Vc_FilterPartSw->ItemIndex(), 1);
    EXPECT_EQ(TakeSent().size(), 1u); // the request alone
    Click("InitPfm");                 // the initial performance: every filter off
    EXPECT_EQ(page->Vc_FilterPartSw->ItemIndex(), 0);
}
