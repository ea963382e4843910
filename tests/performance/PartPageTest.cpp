// The part page: the part tab and the display of one part. (Every control and enable of the four
// parts after a receive, a load and an initialisation: PartSheetDisplayTest.)
#include "tests/performance/PerformanceFixture.h"

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "platform/MidiInProcess.h"

using P = PfmPair;

TEST_F(PerformancePageTest, PartTabRedisplaysAndSendsNothingWhileABoxHasTheFocus)
{
    Part(2).Formant = 80;
    ASSERT_TRUE(Edit(P::Pfm_Part_Formant)->UserFocuses());
    operatorItems.clear();
    ShowPart(2);
    EXPECT_EQ(Edit(P::Pfm_Part_Formant)->Text(), "+16");
    EXPECT_EQ(Bar(P::Pfm_Part_Formant)->Position(), 80);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(data.DataChanged, 0);
    EXPECT_EQ(data.UpdatingDisplay, 0);
    EXPECT_EQ(operatorItems, std::vector<bool>{false}); // Op Copy and Op Paste hidden
    // Edits now go to part 3.
    Bar(P::Pfm_Part_Formant)->UserScrollsTo(70);
    EXPECT_EQ(Part(2).Formant, 70);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x32, 0, 0x1D, 0, 70)});

    // Showing the sheet redisplays the part on the tab.
    Part(2).Detune = 70;
    sheet->OnShow(sheet);
    EXPECT_EQ(Edit(P::Pfm_Part_Detune)->Text(), "+6");
    EXPECT_EQ(operatorItems, (std::vector<bool>{false, false}));
}

TEST_F(PerformancePageTest, MutedPartShowsZeroInADisabledRowAndKeepsItsVolume)
{
    Part(3).Volume = 99;
    data.PartMute[3] = 1;
    ShowPart(3);
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "0");
    EXPECT_EQ(Bar(P::Pfm_Part_Volume)->Position(), 0);
    EXPECT_FALSE(Edit(P::Pfm_Part_Volume)->Enabled());
    EXPECT_EQ(Part(3).Volume, 99);
    ShowPart(0);
    EXPECT_TRUE(Edit(P::Pfm_Part_Volume)->Enabled());
}

TEST_F(PerformancePageTest, ForeignWordsAreShownWithoutReadingOutsideTheLists)
{
    Part(0).BankNum = 40;
    Part(0).PrgNum = 300;
    Part(0).RcvCh = -3;
    Part(0).ReserveNoteMax = -1;
    Part(0).InsEffectSw = 7;
    Refresh();
    EXPECT_EQ(page->Pfm_Part_BankNum->ItemIndex(), -1);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());
    EXPECT_EQ(page->Pfm_Part_ReserveNoteBar->Max(), 0);
    EXPECT_EQ(page->Pfm_Part_InsEffectSw->ItemIndex(), 1); // past the end: the last item
    EXPECT_EQ(Part(0).BankNum, 40);                        // the record keeps what it holds
}

// The page inside the real main window: the window's names point at the page's controls and a
// program change starts the window's voice fetch.
TEST(PerformanceInMainWindow, PageIsWiredIntoTheWindow)
{
    Application->SetBackend(nullptr);
    Application->Headless().Reset();
    InstallPictureDecoders();
    platform::InProcessMidi midi;
    auto device = midi.AddDevice("FS1R");
    TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
    ASSERT_TRUE(form.PerformancePage);
    TPerformancePage& page = *form.PerformancePage;
    EXPECT_EQ(form.FindComponent("Pfm_Part_NoteLimitLow"), page.Pfm_Part_NoteLimitLow);
    EXPECT_EQ(form.FindComponent("Pfm_Effect_Para18Edit"), page.Pair(PfmPair::Pfm_Effect_Para18).Edit);
    EXPECT_EQ(page.Pfm_Part_NoteLimitLow->Items.Count(), 128);

    form.OnShow = nullptr; // no start-up transfer
    form.Show();
    form.Midi.OpenMidiPorts(0, 0, -1); // the voice fetch needs the instrument
    form.RefreshPerformancePages();
    EXPECT_EQ(form.UpdatingDisplay, 0);
    ASSERT_TRUE(page.Pfm_PartTab->UserSelects(1));
    ASSERT_TRUE(page.Pfm_Part_BankNum->UserSelects(3)); // PrB
    EXPECT_TRUE(form.Vc_Timer->Enabled());
    EXPECT_EQ(form.ReceiveTarget, 1);
    EXPECT_EQ(form.DataChanged, 1);
    form.Hide();
}
