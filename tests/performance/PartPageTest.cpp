// The part sheet: the part tab and the display of one part, the voice selection (bank and
// program, with the window's voice fetch) and the receive channels. (Every control and enable of
// the four parts after a receive, a load and an initialisation: PartSheetDisplayTest.)
#include "tests/performance/PerformanceFixture.h"

using P = PfmPair;

TEST_F(PerformancePageTest, PartTabRedisplaysAndSendsNothingWhileABoxHasTheFocus)
{
    Part(2).Formant = 80;
    ASSERT_TRUE(Edit(P::Pfm_Part_Formant)->UserFocuses());
    form->SetOperatorEditItemsVisible(true);
    ClickPart(2);
    EXPECT_EQ(Edit(P::Pfm_Part_Formant)->Text(), "+16");
    EXPECT_EQ(Bar(P::Pfm_Part_Formant)->Position(), 80);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->UpdatingDisplay, 0);
    EXPECT_FALSE(form->OPCopy->Visible()); // Op Copy and Op Paste hidden
    // Edits now go to part 3.
    Bar(P::Pfm_Part_Formant)->UserScrollsTo(70);
    EXPECT_EQ(Part(2).Formant, 70);
    EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(0x32, 0x1D, 70)});

    // Coming back from the Voice sheet redisplays the part on the tab.
    Part(2).Detune = 70;
    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(1));
    form->SetOperatorEditItemsVisible(true);
    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(0));
    EXPECT_EQ(Edit(P::Pfm_Part_Detune)->Text(), "+6");
    EXPECT_FALSE(form->OPCopy->Visible());
}

TEST_F(PerformancePageTest, MutedPartShowsZeroInADisabledRowAndKeepsItsVolume)
{
    Part(3).Volume = 99;
    form->PartMute[3] = 1;
    ClickPart(3);
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "0");
    EXPECT_EQ(Bar(P::Pfm_Part_Volume)->Position(), 0);
    EXPECT_FALSE(Edit(P::Pfm_Part_Volume)->Enabled());
    EXPECT_EQ(Part(3).Volume, 99);
    ClickPart(0);
    EXPECT_TRUE(Edit(P::Pfm_Part_Volume)->Enabled());
}

TEST_F(PerformancePageTest, ForeignWordsAreShownWithoutReadingOutsideTheLists)
{
    Part(0).BankNum = 40;
    Part(0).PrgNum = 300;
    Part(0).RcvCh = -3;
    Part(0).InsEffectSw = 7;
    Refresh();
    EXPECT_EQ(page->Pfm_Part_BankNum->ItemIndex(), -1);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());
    EXPECT_EQ(page->Pfm_Part_InsEffectSw->ItemIndex(), 1); // past the end: the last item
    EXPECT_EQ(Part(0).BankNum, 40);                        // the record keeps what it holds
}

// A bank refills the program list and sends the bank and the program; each starts the window's
// fetch of the part's voice. "off" sends the bank alone.
TEST_F(PerformancePageTest, BankChoiceRefillsProgramsSendsBankAndProgramAndFetchesTheVoice)
{
    ASSERT_EQ(form->FindComponent("Pfm_Part_BankNum"), page->Pfm_Part_BankNum);
    auto expectFetch = [&] {
        EXPECT_TRUE(form->Vc_Timer->Enabled());
        EXPECT_EQ(form->ReceiveTarget, 1);
        Advance(4000);
        EXPECT_FALSE(form->TransferRunning());
        Forget();
    };
    Part(1).BankNum = 0;
    Part(1).PrgNum = 5;
    ClickPart(1);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());

    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(3)); // PrB
    EXPECT_EQ(TakeSent(), (std::vector<Message>{PartChange(0x31, 0x01, 3), PartChange(0x31, 0x02, 5)}));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 128);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[0], form->VoiceNameTable[0][1]);
    EXPECT_EQ(page->Pfm_Part_PrgNum->ItemIndex(), 5);
    EXPECT_TRUE(page->Pfm_Part_PrgNum->Enabled());
    EXPECT_EQ(Part(1).BankNum, 3);
    EXPECT_EQ(form->DataChanged, 1);
    expectFetch();

    ASSERT_TRUE(page->Pfm_Part_PrgNum->UserSelects(9));
    EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x02, 9)});
    EXPECT_EQ(Part(1).PrgNum, 9);
    expectFetch();

    form->DataChanged = 0;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(0));
    EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x01, 0)});
    EXPECT_FALSE(form->Vc_Timer->Enabled());
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(Part(1).BankNum, 0);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());

    // A program beyond the list (foreign data) comes in as the last one.
    Part(1).PrgNum = 300;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(2));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{PartChange(0x31, 0x01, 2), PartChange(0x31, 0x02, 127)}));
    EXPECT_EQ(Part(1).PrgNum, 127);
}

TEST_F(PerformancePageTest, InternalBankFollowsTheMemoryMode)
{
    form->ParameterData.SystemBlock.MemoryMode = 1;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(1));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[64], "065 --:**********");
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[127], "128 --:**********");
    Advance(4000); // the voice fetch
    form->ParameterData.SystemBlock.MemoryMode = 0;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(1));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[64], "065 --:Internal Voice");
}

namespace {
void Channels(PfmPart& part, int channel, int max = 0)
{
    part.RcvCh = channel;
    part.RcvChMax = max;
}
} // namespace

TEST_F(PerformancePageTest, NoChannelLeftTurnsTheListOff)
{
    Channels(Part(0), 0, 15); // 01..16
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    ClickPart(1);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(4));
    EXPECT_EQ(page->Pfm_Part_RcvCh->Text(), "off");
    EXPECT_EQ(Part(1).RcvCh, 17);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0, 0x04, 0, 0x7F)});
    EXPECT_FALSE(page->Pfm_Part_RcvChMax->Enabled());

    // Foreign data with more than 16 channels taken: the same, also for "pfm".
    Channels(Part(2), 3);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(16));
    EXPECT_EQ(Part(1).RcvCh, 17);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0, 0x04, 0, 0x7F)});
}

TEST_F(PerformancePageTest, PfmAndChannelSwitchTheMaximumList)
{
    Channels(Part(1), 17);
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(16));
    EXPECT_FALSE(page->Pfm_Part_RcvChMax->Enabled());
    EXPECT_FALSE(page->Pfm_Part_RcvChMaxText->Enabled());
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(6));
    EXPECT_TRUE(page->Pfm_Part_RcvChMax->Enabled());
    EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), 6);
    EXPECT_EQ(Part(0).RcvChMax, 6);
    EXPECT_EQ(TakeSent(),
              (std::vector<Message>{ParameterChange(0x30, 0, 0x04, 0, 0x10), ParameterChange(0x30, 0, 0x04, 0, 6)}));

    // Part 3 stores its channel as its maximum too, and sends only the channel.
    ClickPart(2);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(9));
    EXPECT_EQ(Part(2).RcvChMax, 9);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x32, 0, 0x04, 0, 9)});
}

// A maximum chosen for part 1 or 2 is cut to the channels the other parts leave (counted from the
// part's own channel, wrapping past 16); with none left the part keeps its own channel alone.
TEST_F(PerformancePageTest, MaximumIsCutToTheChannelsLeft)
{
    struct Case {
        const char* what;
        std::array<std::pair<int, int>, 4> channels; // each part's channel and maximum (0..15)
        int part, chosen, kept;                      // channels 1..16
    };
    const Case cases[] = {
        {"parts 3 and 4 on one channel each, 05..16 free", {{{4, 4}, {17, 0}, {0, 0}, {1, 0}}}, 0, 16, 16},
        {"wrapping: 05..16, 01..02", {{{4, 4}, {17, 0}, {0, 0}, {1, 0}}}, 0, 3, 2},
        {"wrapping: 05..16, 01", {{{4, 4}, {17, 0}, {0, 0}, {1, 0}}}, 0, 1, 1},
        {"part 2 on 01..10: 03..08 free", {{{2, 2}, {0, 9}, {17, 0}, {17, 0}}}, 0, 12, 8},
        {"below the part's channel", {{{2, 2}, {0, 9}, {17, 0}, {17, 0}}}, 0, 2, 3},
        {"none free (part 2 foreign on 01..16)", {{{0, 0}, {0, 15}, {17, 0}, {17, 0}}}, 0, 16, 1},
        {"a maximum stored \"off\" is one channel", {{{4, 0x7F}, {0, 0}, {17, 0}, {17, 0}}}, 1, 16, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int p = 0; p < 4; ++p)
            Channels(Part(p), c.channels[std::size_t(p)].first, c.channels[std::size_t(p)].second);
        Refresh();
        ClickPart(c.part);
        ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(c.chosen - 1));
        EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), c.kept - 1);
        EXPECT_EQ(Part(c.part).RcvChMax, c.kept - 1);
        EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(uint8_t(0x30 + c.part), 0x03, uint8_t(c.kept - 1))});
    }
}

// "off" as stored (as the instrument or a file gave it) is shown, kept, and left for a channel.
TEST_F(PerformancePageTest, MaximumOffAsStoredIsShownKeptAndLeftForAChannel)
{
    Channels(Part(0), 4, 0x7F);
    Channels(Part(1), 0, 14); // 01..15
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    Refresh();
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(16));
    EXPECT_EQ(Part(0).RcvChMax, 0x7F);
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(7)); // cut to 05, the one channel left
    EXPECT_EQ(Part(0).RcvChMax, 4);
    EXPECT_EQ(page->Pfm_Part_RcvChMax->Items.Count(), 16);
    EXPECT_EQ(TakeSent(), (std::vector<Message>{PartChange(0x30, 0x03, 0x7F), PartChange(0x30, 0x03, 4)}));
}
