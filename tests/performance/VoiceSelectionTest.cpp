// Bank, program and the receive channels of the part page.
#include "tests/performance/PerformanceFixture.h"

TEST_F(PerformancePageTest, BankChoiceRefillsProgramsSendsBankAndProgramAndFetchesTheVoice)
{
    Part(1).BankNum = 0;
    Part(1).PrgNum = 5;
    ShowPart(1);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());

    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(3)); // PrB
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x31, 0, 0x01, 0, 3), ParameterChange(0x31, 0, 0x02, 0, 5)}));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 128);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[0], data.VoiceNameTable[0][1]);
    EXPECT_EQ(page->Pfm_Part_PrgNum->ItemIndex(), 5);
    EXPECT_TRUE(page->Pfm_Part_PrgNum->Enabled());
    EXPECT_EQ(fetches, std::vector<int>{1});
    EXPECT_EQ(Part(1).BankNum, 3);
    EXPECT_EQ(data.DataChanged, 1);

    ASSERT_TRUE(page->Pfm_Part_PrgNum->UserSelects(9));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x02, 0, 9)});
    EXPECT_EQ(Part(1).PrgNum, 9);
    EXPECT_EQ(fetches, (std::vector<int>{1, 1}));
}

TEST_F(PerformancePageTest, BankOffSendsOnlyTheBankAndFetchesNothing)
{
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(0));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x30, 0, 0x01, 0, 0)});
    EXPECT_TRUE(fetches.empty());
    EXPECT_EQ(data.DataChanged, 1);
    EXPECT_EQ(Part(0).BankNum, 0);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());
}

TEST_F(PerformancePageTest, BankChoiceBringsAForeignProgramIntoTheList)
{
    Part(0).PrgNum = 300;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(2));
    const std::vector<Message> sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], ParameterChange(0x30, 0, 0x02, 0, 127));
    EXPECT_EQ(Part(0).PrgNum, 127);
}

TEST_F(PerformancePageTest, InternalBankFollowsTheMemoryMode)
{
    data.ParameterData.SystemBlock.MemoryMode = 1;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(1));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[64], "065 --:**********");
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[127], "128 --:**********");
    data.ParameterData.SystemBlock.MemoryMode = 0;
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
    ShowPart(1);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(4));
    EXPECT_EQ(page->Pfm_Part_RcvCh->Text(), "off");
    EXPECT_EQ(Part(1).RcvCh, 17);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x04, 0, 0x7F)});
    EXPECT_FALSE(page->Pfm_Part_RcvChMax->Enabled());

    // Foreign data with more than 16 channels taken: the same, also for "pfm".
    Channels(Part(2), 3);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(16));
    EXPECT_EQ(Part(1).RcvCh, 17);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x04, 0, 0x7F)});
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
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x30, 0, 0x04, 0, 0x10), ParameterChange(0x30, 0, 0x04, 0, 6)}));

    // Part 3 stores its channel as its maximum too, and sends only the channel.
    ShowPart(2);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(9));
    EXPECT_EQ(Part(2).RcvChMax, 9);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x32, 0, 0x04, 0, 9)});
}

TEST_F(PerformancePageTest, MaximumIsCutToTheChannelsLeft)
{
    // Parts 3 and 4 on a channel each, part 2 off, part 1 on channel 05: 14 channels free.
    Channels(Part(0), 4, 4);
    Channels(Part(1), 17);
    Channels(Part(2), 0);
    Channels(Part(3), 1);
    Refresh();
    auto choose = [&](int channel) {
        EXPECT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(channel - 1));
        return page->Pfm_Part_RcvChMax->ItemIndex() + 1;
    };
    EXPECT_EQ(choose(16), 16); // 05..16
    EXPECT_EQ(choose(3), 2);   // 05..16, 01..02
    EXPECT_EQ(choose(1), 1);   // 05..16, 01
    EXPECT_EQ(Part(0).RcvChMax, 0);
    const std::vector<Message> sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1], ParameterChange(0x30, 0, 0x03, 0, 1));

    // Part 2 on 01..10, parts 3 and 4 off, part 1 on channel 03: 6 free.
    Channels(Part(0), 2, 2);
    Channels(Part(1), 0, 9);
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    Refresh();
    EXPECT_EQ(choose(12), 8);
    EXPECT_EQ(choose(2), 3);
}

TEST_F(PerformancePageTest, MaximumWithNoChannelFreeIsThePartsOwnChannel)
{
    Channels(Part(0), 0, 0);  // channel 01
    Channels(Part(1), 0, 15); // foreign: 01..16 as well
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    Refresh();
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(15));
    EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), 0);
    EXPECT_EQ(Part(0).RcvChMax, 0);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x30, 0, 0x03, 0, 0)});
}

TEST_F(PerformancePageTest, MaximumOffAsStoredIsShownKeptAndLeftForAChannel)
{
    Channels(Part(0), 4, 0x7F); // "off", as the instrument or a file gave it: channel 05 alone
    Channels(Part(1), 0);
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    Refresh();
    // Part 2 counts part 1 as one channel: 01..15 are free for it.
    ShowPart(1);
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(15));
    EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), 14);

    ShowPart(0);
    Sent();
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(16));
    EXPECT_EQ(Part(0).RcvChMax, 0x7F);
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(7)); // cut to 05, the one channel left
    EXPECT_EQ(Part(0).RcvChMax, 4);
    EXPECT_EQ(page->Pfm_Part_RcvChMax->Items.Count(), 16);
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x30, 0, 0x03, 0, 0x7F), ParameterChange(0x30, 0, 0x03, 0, 4)}));
}
